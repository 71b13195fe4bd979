#include "formats/property_table.h"

#include "document/grid.h"

#include "graphics/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace orvella {

namespace {

// Rounds toward minus infinity, so that points left of or above zero snap
// to their nearest grid point as the others do.
int64_t floorDiv(int64_t value, int64_t divisor)
{
    const int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// The first of first, first + pitch, first + 2 pitch, ... at or after from.
int64_t firstLineAtOrAfter(int64_t first, int64_t from, int64_t pitch)
{
    if (from <= first)
        return first;
    return first + (from - first + pitch - 1) / pitch * pitch;
}

}  // namespace

const TClassInfo& TGrid::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TGrid, TPersistent>("TGrid", {
        BooleanProperty("LineShape", &TGrid::LineShape, &TGrid::SetLineShape),
        BooleanProperty("Visible", &TGrid::Visible, &TGrid::SetVisible),
        IntegerProperty("Size", &TGrid::Size, &TGrid::SetSize),
        BooleanProperty("Enabled", &TGrid::Enabled, &TGrid::SetEnabled),
    });
    return info;
}

void TGrid::changed()
{
    if (OnChange)
        OnChange();
}

void TGrid::SetLineShape(bool lineShape)
{
    if (lineShape == lineShape_)
        return;
    lineShape_ = lineShape;
    changed();
}

void TGrid::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    changed();
}

void TGrid::SetSize(int32_t size)
{
    if (size == size_)
        return;
    size_ = size;
    changed();
}

void TGrid::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    changed();
}

void TGrid::Assign(const TGrid& source)
{
    if (&source == this)
        return;
    lineShape_ = source.lineShape_;
    visible_ = source.visible_;
    size_ = source.size_;
    enabled_ = source.enabled_;
    changed();
}

TPoint TGrid::SnapOffset(TPoint point) const
{
    if (!enabled_ || size_ <= 0)
        return {kNoSnap, kNoSnap};
    const int64_t pitch = size_;
    const int64_t half = pitch / 2;
    const auto offset = [&](int32_t v) { return int32_t(pitch * floorDiv(int64_t(v) + half, pitch) - v); };
    return {offset(point.x), offset(point.y)};
}

void TGrid::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (!visible_ || size_ <= 0 || rect.IsEmpty())
        return;
    const TPoint origin = canvas.LPtoDP(TPoint{0, 0});
    const TPoint step = canvas.LPtoDP(TPoint{size_, size_});
    if (std::abs(int64_t(step.x) - origin.x) < 2 || std::abs(int64_t(step.y) - origin.y) < 2)
        return;

    // Only the part that can be drawn on is visited.
    const TRect clip = canvas.GetClipBox();
    const int64_t pitch = size_;
    const int64_t xFrom = firstLineAtOrAfter(rect.Left, std::max(rect.Left, clip.Left), pitch);
    const int64_t yFrom = firstLineAtOrAfter(rect.Top, std::max(rect.Top, clip.Top), pitch);
    const int64_t xTo = std::min<int64_t>(rect.Right, int64_t(clip.Right) + 1);
    const int64_t yTo = std::min<int64_t>(rect.Bottom, int64_t(clip.Bottom) + 1);
    if (lineShape_) {
        for (int64_t x = xFrom; x < xTo; x += pitch) {
            canvas.MoveTo(int32_t(x), rect.Top);
            canvas.LineTo(int32_t(x), rect.Bottom);
        }
        for (int64_t y = yFrom; y < yTo; y += pitch) {
            canvas.MoveTo(rect.Left, int32_t(y));
            canvas.LineTo(rect.Right, int32_t(y));
        }
        return;
    }
    const TColor colour = canvas.Pen().Color;
    for (int64_t y = yFrom; y < yTo; y += pitch)
        for (int64_t x = xFrom; x < xTo; x += pitch)
            canvas.SetPixel(int32_t(x), int32_t(y), colour);
}

}  // namespace orvella
