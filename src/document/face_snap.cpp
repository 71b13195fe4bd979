#include "document/face_snap.h"

#include "document/grid.h"
#include "document/guide.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orvella {

namespace {

// The offset nearer to zero; the grid's when both are as near.
int32_t nearer(int32_t gridOffset, int32_t guideOffset)
{
    return std::llabs(int64_t(guideOffset)) < std::llabs(int64_t(gridOffset)) ? guideOffset : gridOffset;
}

}  // namespace

TPoint FaceSnapOffset(TPoint point, int32_t tolerance, const TGrid* grid, const TGuide* guide, bool altHeld)
{
    if (altHeld)
        return {0, 0};
    const TPoint byGrid = grid ? grid->SnapOffset(point) : TPoint{kNoSnap, kNoSnap};
    const TPoint byGuide = guide ? guide->SnapOffset(point, tolerance) : TPoint{kNoSnap, kNoSnap};
    return {nearer(byGrid.x, byGuide.x), nearer(byGrid.y, byGuide.y)};
}

TSnapOffset AsSnapOffset(TPoint offset)
{
    TSnapOffset snap;
    if (offset.x != kNoSnap)
        snap.dx = offset.x;
    if (offset.y != kNoSnap)
        snap.dy = offset.y;
    return snap;
}

std::string FormatTenthsMm(int32_t value)
{
    // Widened first: the most negative value has no positive counterpart.
    const int64_t magnitude = std::llabs(int64_t(value));
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%lldmm", value < 0 ? "-" : "", static_cast<long long>(magnitude / 10),
                  static_cast<long long>(magnitude % 10));
    return text;
}

int32_t RoundGuidePosition(int32_t value, bool exact)
{
    if (exact)
        return value;
    // Rounded on the magnitude, so that a position left of or above the face
    // rounds the same way as its mirror image inside it.
    const int64_t magnitude = (std::llabs(int64_t(value)) + 5) / 10 * 10;
    int64_t rounded = value < 0 ? -magnitude : magnitude;
    if (rounded > std::numeric_limits<int32_t>::max())
        rounded -= 10;
    if (rounded < std::numeric_limits<int32_t>::min())
        rounded += 10;
    return int32_t(rounded);
}

}  // namespace orvella
