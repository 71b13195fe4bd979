#include "graphics/arc_geometry.h"

#include "graphics/rect_utils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvella {

namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kTwoPi = 2 * kPi;

long double normalizeAngle(long double angle)
{
    while (angle < 0)
        angle += kTwoPi;
    while (angle >= kTwoPi)
        angle -= kTwoPi;
    return angle;
}

TPoint truncatedPoint(const TArc& arc, long double angle, long double radius)
{
    return {arc.cx + Trunc(radius * std::cos(angle)), arc.cy + Trunc(radius * std::sin(angle))};
}

int32_t bandHalfWidth(int32_t penWidth) { return std::max(1, (penWidth + 1) / 2); }

// The parabola through s, m (at t = 1/2) and e.
void parabolaPoint(TPoint s, TPoint m, TPoint e, long double t, long double& x, long double& y)
{
    x = s.x + t * (-3.0L * s.x + 4.0L * m.x - e.x) + 2 * t * t * ((long double)s.x - 2.0L * m.x + e.x);
    y = s.y + t * (-3.0L * s.y + 4.0L * m.y - e.y) + 2 * t * t * ((long double)s.y - 2.0L * m.y + e.y);
}

// The pen of a band outline is one pixel wide; the caller's pen comes back after.
class ThinPen {
public:
    explicit ThinPen(TCanvas& canvas) : canvas_(canvas), width_(canvas.Pen().Width) { canvas.Pen().Width = 0; }
    ~ThinPen() { canvas_.Pen().Width = width_; }
    ThinPen(const ThinPen&) = delete;
    ThinPen& operator=(const ThinPen&) = delete;

private:
    TCanvas& canvas_;
    int32_t width_;
};

bool preferParabola(TPoint s, TPoint m, TPoint e, const TArc& arc)
{
    return std::abs(SignedSagitta(s, m, e)) <= kFlatArcSagitta || arc.Radius > kMaxArcRadius;
}

}  // namespace

TPoint ArcPoint(const TArc& arc, long double angle, long double radius)
{
    return {arc.cx + Round(radius * std::cos(angle)), arc.cy + Round(radius * std::sin(angle))};
}

TCircle CircleThroughPoints(TPoint s, TPoint m, TPoint e)
{
    const long double ux = (long double)m.x - s.x, uy = (long double)m.y - s.y;
    const long double vx = (long double)e.x - s.x, vy = (long double)e.y - s.y;
    const long double cross = ux * vy - uy * vx;
    TCircle circle;
    if (std::fabs(cross) < 0.1L) {
        circle.Center = {int32_t((int64_t(s.x) + m.x + e.x) / 3), int32_t((int64_t(s.y) + m.y + e.y) / 3)};
        const long double dx = (long double)m.x - circle.Center.x, dy = (long double)m.y - circle.Center.y;
        circle.Radius = std::sqrt(dx * dx + dy * dy);
        return circle;
    }
    const long double u2 = ux * ux + uy * uy, v2 = vx * vx + vy * vy;
    const long double x = (vy * u2 - uy * v2) / (2 * cross);
    const long double y = (ux * v2 - vx * u2) / (2 * cross);
    circle.Radius = std::sqrt(x * x + y * y);
    circle.Center = {s.x + Round(x), s.y + Round(y)};
    return circle;
}

TArc ArcFromPoints(TPoint s, TPoint m, TPoint e)
{
    const TCircle circle = CircleThroughPoints(s, m, e);
    TArc arc;
    arc.cx = circle.Center.x;
    arc.cy = circle.Center.y;
    arc.Radius = Round(circle.Radius);
    if (arc.Radius < 1) {
        arc.Radius = 0;
        return arc;
    }
    arc.StartAngle = normalizeAngle(std::atan2((long double)s.y - arc.cy, (long double)s.x - arc.cx));
    arc.EndAngle = normalizeAngle(std::atan2((long double)e.y - arc.cy, (long double)e.x - arc.cx));
    return arc;
}

void ArcEndPoints(const TArc& arc, TPoint& start, TPoint& middle, TPoint& end)
{
    start = ArcPoint(arc, arc.StartAngle, arc.Radius);
    end = ArcPoint(arc, arc.EndAngle, arc.Radius);
    long double mean = (arc.StartAngle + arc.EndAngle) / 2;
    if (arc.StartAngle > arc.EndAngle) {
        mean += kPi;
        if (mean >= kTwoPi)
            mean -= kTwoPi;
    }
    middle = ArcPoint(arc, mean, arc.Radius);
}

TRect ArcBounds(const TArc& arc)
{
    TPoint start, middle, end;
    ArcEndPoints(arc, start, middle, end);
    TRect r = NormalizeRect({start.x, start.y, end.x, end.y});
    auto quadrant = [](long double angle) {
        const int q = int(std::trunc(angle / (kPi / 2)));
        return q < 0 ? 3 : q > 3 ? 0 : q;
    };
    const int first = quadrant(arc.StartAngle);
    const int last = quadrant(arc.EndAngle);
    // Extremes in order of angle: 0 right, pi/2 bottom, pi left, 3pi/2 top.
    bool passes[4] = {false, false, false, false};
    if (first == last) {
        if (arc.StartAngle > arc.EndAngle)
            passes[0] = passes[1] = passes[2] = passes[3] = true;
    } else {
        for (int q = first; q != last; q = (q + 1) % 4)
            passes[(q + 1) % 4] = true;
    }
    if (passes[0]) r.Right = std::max(r.Right, arc.cx + arc.Radius);
    if (passes[1]) r.Bottom = std::max(r.Bottom, arc.cy + arc.Radius);
    if (passes[2]) r.Left = std::min(r.Left, arc.cx - arc.Radius);
    if (passes[3]) r.Top = std::min(r.Top, arc.cy - arc.Radius);
    return r;
}

void DrawArc(TCanvas& canvas, const TArc& arc)
{
    long double start = normalizeAngle(arc.StartAngle);
    const long double end = normalizeAngle(arc.EndAngle);
    if (start > end)
        start -= kTwoPi;
    const long double step = kPi / 90;  // 2 degrees
    const TPoint first = truncatedPoint(arc, start, arc.Radius);
    canvas.MoveTo(first.x, first.y);
    std::vector<TPoint> points;
    for (long double angle = start + step; angle <= end - step; angle += step)
        points.push_back(truncatedPoint(arc, angle, arc.Radius));
    points.push_back(truncatedPoint(arc, end, arc.Radius));
    canvas.PolylineTo(points);
}

void DrawArcBand(TCanvas& canvas, const TArc& arc)
{
    const int32_t penWidth = canvas.Pen().Width;
    const int32_t h = bandHalfWidth(penWidth);
    ThinPen thin(canvas);
    const long double step = kTwoPi / (arc.Radius >= 500 ? 90 : 60);
    long double start = arc.StartAngle;
    const long double end = arc.EndAngle;
    if (start > end)
        start -= kTwoPi;
    const TPoint first = truncatedPoint(arc, start, (long double)arc.Radius - h);
    canvas.MoveTo(first.x, first.y);
    const long double outer = (long double)arc.Radius + h;
    const long double inner = outer - penWidth;
    std::vector<TPoint> points{truncatedPoint(arc, start, outer)};
    for (long double angle = start + step; angle <= end - step; angle += step)
        points.push_back(truncatedPoint(arc, angle, outer));
    points.push_back(truncatedPoint(arc, end, outer));
    points.push_back(truncatedPoint(arc, end, inner));
    for (long double angle = end - step; angle >= start + step; angle -= step)
        points.push_back(truncatedPoint(arc, angle, inner));
    points.push_back(truncatedPoint(arc, start, inner));
    canvas.PolylineTo(points);
}

void DrawParabola(TCanvas& canvas, TPoint s, TPoint m, TPoint e)
{
    canvas.MoveTo(s.x, s.y);
    std::vector<TPoint> points;
    for (int j = 1; j <= 7; ++j) {
        long double x, y;
        parabolaPoint(s, m, e, j / 8.0L, x, y);
        points.push_back({Round(x), Round(y)});
    }
    points.push_back(e);
    canvas.PolylineTo(points);
}

void DrawParabolaBand(TCanvas& canvas, TPoint s, TPoint m, TPoint e)
{
    const int32_t h = bandHalfWidth(canvas.Pen().Width);
    const long double d = h + 0.5L;
    long double xs[9], ys[9];
    xs[0] = s.x;
    ys[0] = s.y;
    for (int j = 1; j <= 7; ++j)
        parabolaPoint(s, m, e, j / 8.0L, xs[j], ys[j]);
    xs[8] = e.x;
    ys[8] = e.y;
    // The two side points of point i seen toward neighbour q.
    auto sides = [&](int i, int q, TPoint& left, TPoint& right) {
        const long double dx = xs[q] - xs[i], dy = ys[q] - ys[i];
        const long double length = std::sqrt(dx * dx + dy * dy);
        if (length <= 0.01L) {
            left = right = {Trunc(xs[i]), Trunc(ys[i])};
            return;
        }
        const long double ox = d / length * dy, oy = d / length * -dx;
        left = {Trunc(xs[i] + ox), Trunc(ys[i] + oy)};
        right = {Trunc(xs[i] - ox), Trunc(ys[i] - oy)};
    };
    TPoint leftSide[9], rightSide[9];
    sides(0, 1, leftSide[0], rightSide[0]);
    for (int i = 1; i <= 7; ++i) {
        TPoint nextLeft, nextRight, previousLeft, previousRight;
        sides(i, i + 1, nextLeft, nextRight);
        // Seen from the previous neighbour the sides swap.
        sides(i, i - 1, previousRight, previousLeft);
        leftSide[i] = {Div(nextLeft.x + previousLeft.x + 1, 2), Div(nextLeft.y + previousLeft.y + 1, 2)};
        rightSide[i] = {Div(nextRight.x + previousRight.x + 1, 2), Div(nextRight.y + previousRight.y + 1, 2)};
    }
    sides(8, 7, rightSide[8], leftSide[8]);
    ThinPen thin(canvas);
    canvas.MoveTo(leftSide[0].x, leftSide[0].y);
    std::vector<TPoint> points{rightSide[0]};
    for (int i = 1; i <= 8; ++i)
        points.push_back(rightSide[i]);
    points.push_back(leftSide[8]);
    for (int i = 7; i >= 0; --i)
        points.push_back(leftSide[i]);
    canvas.PolylineTo(points);
}

void DrawArcThrough(TCanvas& canvas, TPoint s, TPoint m, TPoint e)
{
    const TArc arc = ArcFromPoints(s, m, e);
    if (preferParabola(s, m, e, arc))
        DrawParabola(canvas, s, m, e);
    else
        DrawArc(canvas, arc);
}

void DrawArcBandThrough(TCanvas& canvas, TPoint s, TPoint m, TPoint e)
{
    const TArc arc = ArcFromPoints(s, m, e);
    if (preferParabola(s, m, e, arc))
        DrawParabolaBand(canvas, s, m, e);
    else
        DrawArcBand(canvas, arc);
    canvas.CloseFigure();
}

TPoint BulgeMiddlePoint(TPoint s, TPoint e, int32_t bulge)
{
    const long double limited = std::clamp(bulge, -4000, 4000);
    const long double dx = (long double)e.x - s.x, dy = (long double)e.y - s.y;
    const long double length = std::sqrt(dx * dx + dy * dy);
    if (length < 0.1L)
        return s;
    return {Trunc(s.x + dx / 2 + dy * limited / length), Trunc(s.y + dy / 2 - dx * limited / length)};
}

int PointOrientation(TPoint a, TPoint b, TPoint c)
{
    const int64_t p = (int64_t(b.x) - a.x) * (int64_t(c.y) - a.y);
    const int64_t q = (int64_t(b.y) - a.y) * (int64_t(c.x) - a.x);
    return p < q ? 1 : p == q ? 0 : -1;
}

int32_t SignedSagitta(TPoint s, TPoint p, TPoint e)
{
    const int side = PointOrientation(s, e, p);
    if (side == 0)
        return 0;
    const TCircle circle = CircleThroughPoints(s, p, e);
    const long double nx = ((long double)s.x + e.x) / 2, ny = ((long double)s.y + e.y) / 2;
    const long double cx = circle.Center.x - nx, cy = circle.Center.y - ny;
    long double sagitta = circle.Radius - std::sqrt(cx * cx + cy * cy);
    if (sagitta < -1)
        return 0;
    if (PointOrientation(s, e, circle.Center) == side)
        sagitta = 2 * circle.Radius - sagitta;
    if (side < 0)
        sagitta = -sagitta;
    return Trunc(sagitta);
}

TArc ArcOfChord(TPoint p1, TPoint p2, long double bulge)
{
    const long double dx = (long double)p2.x - p1.x, dy = (long double)p2.y - p1.y;
    const long double chord = std::sqrt(dx * dx + dy * dy);
    const long double mx = ((long double)p1.x + p2.x) / 2, my = ((long double)p1.y + p2.y) / 2;
    const long double height = std::fabs(bulge);
    long double radius = chord / 2, cx = mx, cy = my;
    if (height >= 1 && chord >= 0.9L) {
        radius = chord * chord / (8 * height) + height / 2;
        // The perpendicular (-dy, dx) / chord points below a left-to-right
        // chord; a positive bulge rises above it, so the centre lies below.
        const long double side = bulge > 0 ? 1 : -1;
        cx = mx + (radius - height) / chord * -dy * side;
        cy = my + (radius - height) / chord * dx * side;
    }
    TArc arc;
    arc.cx = Trunc(cx);
    arc.cy = Trunc(cy);
    arc.Radius = Trunc(radius);
    long double first = normalizeAngle(std::atan2((long double)p1.y - arc.cy, (long double)p1.x - arc.cx));
    long double second = normalizeAngle(std::atan2((long double)p2.y - arc.cy, (long double)p2.x - arc.cx));
    if (bulge < 0)
        std::swap(first, second);
    arc.StartAngle = first;
    arc.EndAngle = second;
    return arc;
}

}  // namespace orvella
