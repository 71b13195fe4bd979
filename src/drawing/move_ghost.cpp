#include "drawing/move_ghost.h"

#include "drawing/action_list.h"
#include "drawing/do_actions.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_geometry.h"
#include "drawing/object_copy.h"
#include "graphics/canvas.h"
#include "graphics/rect_utils.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <cstdlib>

namespace orvella {

namespace {

int32_t truncatedCoordinate(long double value)
{
    if (!std::isfinite(value))
        return 0;
    return int32_t(std::trunc(std::clamp(value, -2147483648.0L, 2147483647.0L)));
}

}  // namespace

TMoveGhost::TMoveGhost(TDrawObject& object) : TUniversalGhost(object, -1, "移動"), modes_(MoveSettings())
{
    drawn_ = modes_;
}

TSimpleMoveGhost::TSimpleMoveGhost(TDrawObject& object) : TMoveGhost(object)
{
    modes_ = TMoveSettings{};
    modes_.CircumRotate = false;
    modes_.CircumPhased = false;
    copies_ = false;
}

TMoveSettings TMoveGhost::ModesFor(TShiftState shift) const
{
    TMoveSettings modes = modes_;
    if (!copies_)
        return modes;
    const TShiftState keys = shift & (ssShift | ssAlt);
    if (keys == ssAlt) {
        modes.CircumMove = false;
        modes.ParallelMove = false;
        modes.RotateMove = false;
        modes.CircumPhased = false;
    } else if (keys == (ssShift | ssAlt)) {
        modes.CircumMove = !modes.CircumMove;
    } else if (keys == ssShift) {
        if (modes.CircumMove)
            modes.CircumPhased = !modes.CircumPhased;
        else
            modes.ParallelMove = !modes.ParallelMove;
    }
    return modes;
}

void TMoveGhost::Move(TPoint offset, TShiftState shift)
{
    const TIntfRef<IDOEncloseBounds> objectBounds = Supports<IDOEncloseBounds>(&Object());
    const TIntfRef<IDOEncloseBounds> cloneBounds = Supports<IDOEncloseBounds>(&Clone());
    if (!objectBounds || !cloneBounds || !Site())
        return;
    const TMoveSettings modes = ModesFor(shift);
    drawn_ = modes;

    const TRect r0 = objectBounds->GetLogicalBounds();
    TRect r = OffsetRect(r0, offset.x, offset.y);
    if (offset.x != 0 || offset.y != 0) {
        const TPoint corners[] = {r.TopLeft(), r.BottomRight(), {r.Left, r.Bottom}, {r.Right, r.Top}};
        const TSnapOffset snap = SnapOffset(corners);
        r = OffsetRect(r, snap.dx.value_or(0), snap.dy.value_or(0));
    }
    const TPoint centre{Site()->LogWidth() / 2, Site()->LogHeight() / 2};
    const TPoint c0 = RectCenter(r0);
    std::optional<int32_t> turn;

    if (modes.CircumMove) {
        const TPoint from = StartPoint();
        const TPoint to{from.x + offset.x, from.y + offset.y};
        const long double moved = AngleBetween(PointAngle(from, centre), PointAngle(to, centre));
        const long double radial = PointDistance(to, centre) - PointDistance(from, centre);
        const long double sideways = PointDistance(to, TurnPoint(to, centre, -moved));
        r = r0;
        if (sideways < std::fabs(radial)) {
            // Along the ray from the centre through the object.
            TPoint ray{c0.x - centre.x, c0.y - centre.y};
            if (ray.x == 0 && ray.y == 0)
                ray = {from.x - centre.x, from.y - centre.y};
            const long double length = std::hypot((long double)ray.x, (long double)ray.y);
            if (length > 0)
                r = OffsetRect(r0, truncatedCoordinate(radial * ray.x / length), truncatedCoordinate(radial * ray.y / length));
        } else {
            const long double before = PointAngle(c0, centre);
            long double after = before + moved;
            if (modes.CircumPhased)
                after = PhaseAngle(after, modes.PhaseStep);
            const long double radius = PointDistance(c0, centre);
            const long double radians = after * std::acos(-1.0L) / 180.0L;
            const TPoint c1{centre.x + truncatedCoordinate(radius * std::cos(radians)),
                            centre.y + truncatedCoordinate(radius * std::sin(radians))};
            r = OffsetRect(r0, c1.x - c0.x, c1.y - c0.y);
            if (modes.CircumRotate)
                turn = RoundHalfAway(after - before);
        }
    } else if (modes.ParallelMove) {
        const int32_t dx = r.Left - r0.Left;
        const int32_t dy = r.Top - r0.Top;
        if (std::abs(int64_t(dx)) > std::abs(int64_t(dy)))
            r = OffsetRect(r0, dx, 0);
        else
            r = OffsetRect(r0, 0, dy);
    }
    const TPoint inside = CentreInsideOffset(RectCenter(r), Limit());
    r = OffsetRect(r, inside.x, inside.y);
    if (!modes.CircumMove && modes.RotateMove)
        turn = RoundHalfAway(AngleBetween(PointAngle(c0, centre), PointAngle(RectCenter(r), centre)));

    const TIntfRef<IDORotate> cloneRotate = Supports<IDORotate>(&Clone());
    const int32_t angle = ObjectAngle(Object());
    if (cloneRotate)
        cloneRotate->SetAngle(angle);
    const TRect now = cloneBounds->GetLogicalBounds();
    cloneBounds->MoveBy(r.Left - now.Left, r.Top - now.Top);
    if (turn && *turn != 0 && cloneRotate)
        cloneRotate->SetAngle(angle + *turn);
}

void TMoveGhost::Draw(TCanvas& canvas)
{
    if (drawn_.CircumMove && Site()) {
        const TIntfRef<IDOEncloseBounds> bounds = Supports<IDOEncloseBounds>(&Clone());
        if (bounds) {
            const TPoint centre{Site()->LogWidth() / 2, Site()->LogHeight() / 2};
            const TPoint object = RectCenter(bounds->GetLogicalBounds());
            const int32_t radius = RoundHalfAway(PointDistance(object, centre));
            const TPenStyle style = canvas.Pen().Style;
            canvas.Pen().Style = TPenStyle::psDash;
            canvas.Ellipse(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius);
            canvas.MoveTo(centre.x, centre.y);
            canvas.LineTo(centre.x + 2 * (object.x - centre.x), centre.y + 2 * (object.y - centre.y));
            canvas.Pen().Style = style;
        }
    }
    TUniversalGhost::Draw(canvas);
}

void TMoveGhost::Apply(TShiftState shift)
{
    const TIntfRef<IDOEncloseBounds> objectBounds = Supports<IDOEncloseBounds>(&Object());
    const TIntfRef<IDOEncloseBounds> cloneBounds = Supports<IDOEncloseBounds>(&Clone());
    if (!objectBounds || !cloneBounds)
        return;
    const TRect before = objectBounds->GetLogicalBounds();
    const TRect after = cloneBounds->GetLogicalBounds();
    const bool moved = before.Left != after.Left || before.Top != after.Top || before.Right != after.Right ||
                       before.Bottom != after.Bottom || ObjectAngle(Object()) != ObjectAngle(Clone());
    if (!moved)
        return;
    TDrawSite* site = Object().Parent();
    if (copies_ && (shift & ssCtrl) && site) {
        // The copy is a new object: unnamed, so that no two objects of the
        // document share a name, and selected in place of the original.
        Object().SetSelected(false);
        std::unique_ptr<TDrawObject> copy = CloneObject(Clone());
        copy->SetName({});
        TDrawObject& placed = site->InsertOwnedObject(std::move(copy));
        site->AddObject(placed);
        placed.SetSelected(true);
        ActionList().Add(std::make_unique<TDOAddAction>(placed, "ドラッグコピー"));
        return;
    }
    TUniversalGhost::Apply(shift);
}

}  // namespace orvella
