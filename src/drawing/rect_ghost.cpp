#include "drawing/rect_ghost.h"

#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_geometry.h"
#include "graphics/rect_utils.h"
#include "platform/win_math.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace orvella {

namespace {

bool isLeftHandle(int index) { return index >= 0 && index <= 2; }
bool isRightHandle(int index) { return index >= 5 && index <= 7; }
bool isTopHandle(int index) { return index == 0 || index == 3 || index == 5; }
bool isBottomHandle(int index) { return index == 2 || index == 4 || index == 7; }

int32_t clampedCoordinate(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The object's proportions kept inside the dragged target: a side handle sets
// the length along its axis and the other follows about the old centre; a
// corner handle fits the proportions into the target from the opposite corner,
// which stays where it was.
TRect keepProportions(const TRect& object, const TRect& target, TPoint dragged, int index)
{
    const int32_t w = RectWidth(object);
    const int32_t h = RectHeight(object);
    const TPoint centre = RectCenter(object);
    TRect result = target;
    if (index == 1 || index == 6) {
        const int32_t height = MulDiv(RectWidth(target), h, w);
        result.Top = centre.y - height / 2;
        result.Bottom = result.Top + height;
        return result;
    }
    if (index == 3 || index == 4) {
        const int32_t width = MulDiv(RectHeight(target), w, h);
        result.Left = centre.x - width / 2;
        result.Right = result.Left + width;
        return result;
    }
    const TRect fit = FitSize(object, RectWidth(target), RectHeight(target));
    const TPoint anchor{isLeftHandle(index) ? object.Right : object.Left,
                        isTopHandle(index) ? object.Bottom : object.Top};
    const int32_t fw = RectWidth(fit);
    const int32_t fh = RectHeight(fit);
    result.Left = dragged.x >= anchor.x ? anchor.x : anchor.x - fw;
    result.Right = result.Left + fw;
    result.Top = dragged.y >= anchor.y ? anchor.y : anchor.y - fh;
    result.Bottom = result.Top + fh;
    return result;
}

}  // namespace

TPoint RectHandlePoint(const TRect& r, int handleIndex)
{
    const int32_t midX = int32_t((int64_t(r.Left) + r.Right) / 2);
    const int32_t midY = int32_t((int64_t(r.Top) + r.Bottom) / 2);
    switch (handleIndex) {
    case 0: return {r.Left, r.Top};
    case 1: return {r.Left, midY};
    case 2: return {r.Left, r.Bottom};
    case 3: return {midX, r.Top};
    case 4: return {midX, r.Bottom};
    case 5: return {r.Right, r.Top};
    case 6: return {r.Right, midY};
    case 7: return {r.Right, r.Bottom};
    default: return {midX, midY};
    }
}

TRectGhost::TRectGhost(TDrawObject& object, int handleIndex) : TUniversalGhost(object, handleIndex, "サイズ変更")
{
}

void TRectGhost::Move(TPoint offset, TShiftState shift)
{
    const TIntfRef<IDOPosition> position = Supports<IDOPosition>(&Object());
    const TIntfRef<IDOPosition> clonePosition = Supports<IDOPosition>(&Clone());
    const int index = HandleIndex();
    if (!position || !clonePosition || index < 0 || index > 7)
        return;
    const int32_t left = position->GetLeft();
    const int32_t top = position->GetTop();
    const int32_t width = position->GetWidth();
    const int32_t height = position->GetHeight();
    const TRect rect{left, top, clampedCoordinate(int64_t(left) + width), clampedCoordinate(int64_t(top) + height)};
    const TPoint centre = RectCenter(rect);
    const int32_t angle = ObjectAngle(Object());

    const int32_t minimum = (shift & ssCtrl) ? 0 : kMinimumResize;
    bool keepRatio = position->KeepsAspect() != bool(shift & ssShift);
    if (width == 0 || height == 0)
        keepRatio = false;
    int32_t minWidth = minimum;
    int32_t minHeight = minimum;
    if (keepRatio) {
        const int32_t followingHeight = MulDiv(minimum, std::abs(height), std::abs(width));
        if (followingHeight > minimum)
            minHeight = followingHeight;
        else
            minWidth = MulDiv(minimum, std::abs(width), std::abs(height));
    }

    if (offset.x != 0 || offset.y != 0) {
        TPoint handle = RectHandlePoint(rect, index);
        if (angle != 0)
            handle = TurnPoint(handle, centre, angle);
        const TPoint snapped = Snap({handle.x + offset.x, handle.y + offset.y});
        offset = {snapped.x - handle.x, snapped.y - handle.y};
        if (angle != 0)
            offset = TurnPoint(offset, {0, 0}, -angle);
    }

    int64_t l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
    if (isLeftHandle(index))
        l += offset.x;
    if (isRightHandle(index))
        r += offset.x;
    if (isTopHandle(index))
        t += offset.y;
    if (isBottomHandle(index))
        b += offset.y;
    const TPoint dragged{clampedCoordinate(isLeftHandle(index) ? l : r), clampedCoordinate(isTopHandle(index) ? t : b)};
    TRect target = NormalizeRect({clampedCoordinate(l), clampedCoordinate(t), clampedCoordinate(r), clampedCoordinate(b)});
    if (keepRatio)
        target = keepProportions(rect, target, dragged, index);

    if (RectWidth(target) < minWidth) {
        if (isLeftHandle(index))
            target.Left = target.Right - minWidth;
        else if (isRightHandle(index))
            target.Right = target.Left + minWidth;
        else {
            target.Left = int32_t((int64_t(target.Left) + target.Right - minWidth) / 2);
            target.Right = target.Left + minWidth;
        }
    }
    if (RectHeight(target) < minHeight) {
        if (isTopHandle(index))
            target.Top = target.Bottom - minHeight;
        else if (isBottomHandle(index))
            target.Bottom = target.Top + minHeight;
        else {
            target.Top = int32_t((int64_t(target.Top) + target.Bottom - minHeight) / 2);
            target.Bottom = target.Top + minHeight;
        }
    }

    Clone().Assign(Object());
    if (const TIntfRef<IDOAutoSize> autoSize = Supports<IDOAutoSize>(&Clone()))
        autoSize->SetAutoSize(false);
    if (angle != 0) {
        // The rectangle turns about its own centre: moving that centre as
        // the object turns keeps the side opposite the handle in place.
        target = CenterRectAt(target, TurnPoint(RectCenter(target), centre, angle));
    }
    const TPoint inside = CentreInsideOffset(RectCenter(target), Limit());
    target = OffsetRect(target, inside.x, inside.y);
    target_ = target;
    clonePosition->SetLeft(target.Left);
    clonePosition->SetTop(target.Top);
    clonePosition->SetWidth(RectWidth(target));
    clonePosition->SetHeight(RectHeight(target));
}

TRectCreateGhost::TRectCreateGhost(TDrawObject& object) : TRectGhost(object, 7), TCreationGhost(object)
{
    SetCaption({});
}

void TRectCreateGhost::Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift)
{
    TRectGhost::Start(site, bounds, start, shift);
    site.SetAllSelected(false);
    target_ = {start.x, start.y, start.x, start.y};
    if (const TIntfRef<IDOPosition> position = Supports<IDOPosition>(&Object())) {
        position->SetLeft(start.x);
        position->SetTop(start.y);
        position->SetWidth(1);
        position->SetHeight(1);
    }
    Clone().Assign(Object());
}

void TRectCreateGhost::Apply(TShiftState shift)
{
    TRectGhost::Apply(shift);
    Created();
}

TRotateGhost::TRotateGhost(TDrawObject& object) : TUniversalGhost(object, kRotateHandle, "回転") {}

void TRotateGhost::Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift)
{
    TUniversalGhost::Start(site, bounds, start, shift);
    centre_ = RectCenter(Clone().GetLogicalBounds());
}

void TRotateGhost::Move(TPoint offset, TShiftState shift)
{
    const TIntfRef<IDORotate> rotate = Supports<IDORotate>(&Clone());
    if (!rotate)
        return;
    const TPoint from = StartPoint();
    const TPoint to{from.x + offset.x, from.y + offset.y};
    const long double turn = AngleBetween(PointAngle(from, centre_), PointAngle(to, centre_));
    int32_t angle = ObjectAngle(Object()) + RoundHalfAway(turn);
    if (shift & ssShift)
        angle = SnapToEighth(angle);
    rotate->SetAngle(angle);
}

}  // namespace orvella
