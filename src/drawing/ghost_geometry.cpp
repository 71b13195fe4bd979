#include "drawing/ghost_geometry.h"

#include "graphics/rect_utils.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace orvella {

namespace {

constexpr long double kDegree = std::numbers::pi_v<long double> / 180.0L;
constexpr int32_t kInsideMargin = 10;

}  // namespace

TPoint TurnPoint(TPoint p, TPoint centre, long double degrees)
{
    const long double s = std::sin(degrees * kDegree);
    const long double c = std::cos(degrees * kDegree);
    const long double dx = (long double)p.x - centre.x;
    const long double dy = (long double)p.y - centre.y;
    return {RoundHalfAway(dx * c - dy * s) + centre.x, RoundHalfAway(dx * s + dy * c) + centre.y};
}

long double PointAngle(TPoint p, TPoint centre)
{
    const long double dx = (long double)p.x - centre.x;
    const long double dy = (long double)p.y - centre.y;
    if (dx == 0 && dy == 0)
        return 0;
    return std::atan2(dy, dx) / kDegree;
}

long double AngleBetween(long double a, long double b)
{
    long double turn = std::fmod(b - a, 360.0L);
    if (turn > 180)
        turn -= 360;
    else if (turn <= -180)
        turn += 360;
    return turn;
}

long double PointDistance(TPoint a, TPoint b)
{
    return std::hypot((long double)a.x - b.x, (long double)a.y - b.y);
}

long double PhaseAngle(long double angle, int32_t step)
{
    if (step <= 0 || !std::isfinite(angle))
        return angle;
    return (long double)RoundHalfAway(angle / step) * step;
}

int32_t SnapToEighth(int32_t degrees)
{
    return degrees >= 0 ? (degrees + 22) / 45 * 45 : (degrees - 22) / 45 * 45;
}

TPoint ConstrainLineEnd(TPoint moved, TPoint fixed)
{
    // Compared as magnitudes: the quotient dy div dx would divide by zero
    // for a vertical line or one of no length.
    const int64_t dx = std::llabs(int64_t(moved.x) - fixed.x);
    const int64_t dy = std::llabs(int64_t(moved.y) - fixed.y);
    if (dy < dx)
        return {moved.x, fixed.y};
    return {fixed.x, moved.y};
}

TPoint CentreInsideOffset(TPoint centre, const TRect& limit)
{
    TPoint offset{0, 0};
    if (centre.x < limit.Left + kInsideMargin)
        offset.x = limit.Left - centre.x + kInsideMargin;
    else if (centre.x > limit.Right - kInsideMargin)
        offset.x = limit.Right - centre.x - kInsideMargin;
    if (centre.y < limit.Top + kInsideMargin)
        offset.y = limit.Top - centre.y + kInsideMargin;
    else if (centre.y > limit.Bottom - kInsideMargin)
        offset.y = limit.Bottom - centre.y - kInsideMargin;
    return offset;
}

}  // namespace orvella
