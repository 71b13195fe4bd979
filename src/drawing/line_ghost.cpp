#include "drawing/line_ghost.h"

#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_geometry.h"
#include "graphics/arc_geometry.h"
#include "graphics/rect_utils.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace orvella {

namespace {

constexpr long double kFullTurn = 2 * std::numbers::pi_v<long double>;

long double normalizedRadians(long double radians)
{
    radians = std::fmod(radians, kFullTurn);
    return radians < 0 ? radians + kFullTurn : radians;
}

TPoint chordMiddle(TPoint a, TPoint b)
{
    return {int32_t((int64_t(a.x) + b.x) / 2), int32_t((int64_t(a.y) + b.y) / 2)};
}

// Half the length of the figure through s, m and e: along the arc, or half
// the chord when it is straight or too flat or wide to be drawn as an arc.
long double figureHalfLength(TPoint s, TPoint m, TPoint e)
{
    const long double halfChord = PointDistance(s, e) / 2;
    if (SignedSagitta(s, m, e) == 0)
        return halfChord;
    const TArc arc = ArcFromPoints(s, m, e);
    if (arc.Radius < 1 || arc.Radius > kMaxArcRadius)
        return halfChord;
    long double span = normalizedRadians(arc.EndAngle - arc.StartAngle);
    const TPoint centre{arc.cx, arc.cy};
    const long double middle = normalizedRadians(PointAngle(m, centre) * kFullTurn / 360 - arc.StartAngle);
    if (middle > span)
        span = kFullTurn - span;  // the figure runs the other way round
    return arc.Radius * span / 2;
}

}  // namespace

// --- lines ---------------------------------------------------------------------

TLineGhost::TLineGhost(TDrawObject& object, int handleIndex) : TUniversalGhost(object, handleIndex, "移動・サイズ変更")
{
}

void TLineGhost::Move(TPoint offset, TShiftState shift)
{
    const TIntfRef<IDOLine> line = Supports<IDOLine>(&Object());
    const TIntfRef<IDOLine> clone = Supports<IDOLine>(&Clone());
    if (!line || !clone)
        return;
    const bool movesStart = HandleIndex() == 0;
    const TPoint from = movesStart ? line->GetStartPoint() : line->GetEndPoint();
    const TPoint fixed = movesStart ? line->GetEndPoint() : line->GetStartPoint();
    TPoint to{from.x + offset.x, from.y + offset.y};
    if (offset.x != 0 || offset.y != 0)
        to = Snap(to);
    if (shift & ssShift)
        to = ConstrainLineEnd(to, fixed);
    if (movesStart)
        clone->SetStartPoint(to.x, to.y);
    else
        clone->SetEndPoint(to.x, to.y);
}

TLineCreateGhost::TLineCreateGhost(TDrawObject& object) : TLineGhost(object, 1), TCreationGhost(object)
{
    SetCaption({});
}

void TLineCreateGhost::Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift)
{
    TLineGhost::Start(site, bounds, start, shift);
    site.SetAllSelected(false);
    const TPoint p = Snap(start);
    for (TDrawObject* object : {&Object(), &Clone()})
        if (const TIntfRef<IDOLine> line = Supports<IDOLine>(object)) {
            line->SetStartPoint(p.x, p.y);
            line->SetEndPoint(p.x, p.y);
        }
}

void TLineCreateGhost::Apply(TShiftState shift)
{
    TLineGhost::Apply(shift);
    Created();
}

// --- curves ----------------------------------------------------------------------

TCurveGhost::TCurveGhost(TDrawObject& object, int handleIndex)
    : TUniversalGhost(object, handleIndex, "移動・サイズ変更")
{
}

TCurveGhost::~TCurveGhost()
{
    try {
        endEdit();
    } catch (...) {
        qWarning("ending the edit of a curve outline failed");
    }
}

void TCurveGhost::endEdit()
{
    if (!editing_)
        return;
    editing_ = false;
    if (const TIntfRef<IDOCurve> curve = Supports<IDOCurve>(&Clone()))
        curve->EndEdit();
}

void TCurveGhost::Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift)
{
    TUniversalGhost::Start(site, bounds, start, shift);
    if (const TIntfRef<IDOCurve> curve = Supports<IDOCurve>(&Clone()); curve && !editing_) {
        curve->BeginEdit();
        editing_ = true;
    }
}

void TCurveGhost::Apply(TShiftState shift)
{
    endEdit();
    TUniversalGhost::Apply(shift);
}

void TCurveGhost::Move(TPoint offset, TShiftState shift)
{
    switch (HandleIndex()) {
    case kCurveStartHandle: moveEnd(true, offset, shift); break;
    case kCurveEndHandle: moveEnd(false, offset, shift); break;
    case kCurveMiddleHandle: moveMiddle(offset, shift); break;
    default: break;
    }
}

void TCurveGhost::moveEnd(bool start, TPoint offset, TShiftState shift)
{
    const TIntfRef<IDOCurve> curve = Supports<IDOCurve>(&Object());
    const TIntfRef<IDOCurve> clone = Supports<IDOCurve>(&Clone());
    if (!curve || !clone)
        return;
    const TPoint s = curve->GetStartPoint();
    const TPoint e = curve->GetEndPoint();
    const TPoint m = curve->GetMiddlePoint();
    const TPoint from = start ? s : e;
    TPoint to{from.x + offset.x, from.y + offset.y};
    if (offset.x != 0 || offset.y != 0)
        to = Snap(to);

    if (creating_ && !start) {
        // A new curve is drawn straight from where the press was.
        clone->SetStartPoint(s.x, s.y);
        clone->SetEndPoint(to.x, to.y);
        clone->SetMiddlePoint(chordMiddle(s, to));
        return;
    }
    if (shift & ssShift) {
        // The arc is fitted again through the middle point, which stays.
        clone->SetStartPoint(s.x, s.y);
        clone->SetEndPoint(e.x, e.y);
        clone->SetMiddlePoint(m);
        if (start)
            clone->SetStartPoint(to.x, to.y);
        else
            clone->SetEndPoint(to.x, to.y);
        return;
    }
    // The other end mirrors the move along the chord, so that the figure
    // stretches evenly about its middle point.
    const TPoint moved{to.x - from.x, to.y - from.y};
    const long double chord = std::round(PointAngle(e, s));
    const TPoint along = TurnPoint(moved, {0, 0}, -chord);
    const TPoint mirrored = TurnPoint({-along.x, along.y}, {0, 0}, chord);
    const TPoint other = start ? e : s;
    const TPoint otherTo{other.x + mirrored.x, other.y + mirrored.y};
    const TPoint newStart = start ? to : otherTo;
    const TPoint newEnd = start ? otherTo : to;
    clone->SetStartPoint(newStart.x, newStart.y);
    clone->SetEndPoint(newEnd.x, newEnd.y);
    clone->SetMiddlePoint(m);
}

void TCurveGhost::moveMiddle(TPoint offset, TShiftState shift)
{
    const TIntfRef<IDOCurve> curve = Supports<IDOCurve>(&Object());
    const TIntfRef<IDOCurve> clone = Supports<IDOCurve>(&Clone());
    if (!curve || !clone)
        return;
    const TPoint s = curve->GetStartPoint();
    const TPoint e = curve->GetEndPoint();
    const TPoint m = curve->GetMiddlePoint();
    TPoint p{m.x + offset.x, m.y + offset.y};

    bool circular = MoveSettings().CircumMove;
    const TShiftState keys = shift & (ssShift | ssAlt);
    if (keys == ssAlt)
        circular = false;
    else if (keys == (ssShift | ssAlt))
        circular = !circular;

    if (circular) {
        const TPoint centre = RectCenter(Limit());
        const long double radius = std::max<long double>(PointDistance(p, centre), kMinimumWrapRadius);
        const long double half = figureHalfLength(s, m, e) / radius;
        const long double at = PointAngle(p, centre) * kFullTurn / 360;
        TArc arc;
        arc.cx = centre.x;
        arc.cy = centre.y;
        arc.Radius = RoundHalfAway(radius);
        arc.StartAngle = normalizedRadians(at - half);
        arc.EndAngle = normalizedRadians(at + half);
        TPoint newStart, newMiddle, newEnd;
        ArcEndPoints(arc, newStart, newMiddle, newEnd);
        clone->SetStartPoint(newStart.x, newStart.y);
        clone->SetEndPoint(newEnd.x, newEnd.y);
        clone->SetMiddlePoint(p);
        return;
    }
    if (offset.x != 0 || offset.y != 0)
        p = Snap(p);
    const int32_t side = std::min(RectWidth(Limit()), RectHeight(Limit()));
    const int32_t sagitta = SignedSagitta(s, p, e);
    if (std::abs(int64_t(sagitta)) > side)
        p = BulgeMiddlePoint(s, e, sagitta > 0 ? side : -side);
    clone->SetStartPoint(s.x, s.y);
    clone->SetEndPoint(e.x, e.y);
    clone->SetMiddlePoint(p);
}

TCurveCreateGhost::TCurveCreateGhost(TDrawObject& object) : TCurveGhost(object, kCurveEndHandle), TCreationGhost(object)
{
    creating_ = true;
    SetCaption({});
}

void TCurveCreateGhost::Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift)
{
    site.SetAllSelected(false);
    const TPoint p = Snap(start);
    if (const TIntfRef<IDOCurve> curve = Supports<IDOCurve>(&Object())) {
        curve->SetStartPoint(p.x, p.y);
        curve->SetEndPoint(p.x, p.y);
        curve->SetMiddlePoint(p);
    }
    Clone().Assign(Object());
    TCurveGhost::Start(site, bounds, start, shift);
}

void TCurveCreateGhost::Apply(TShiftState shift)
{
    TCurveGhost::Apply(shift);
    Created();
}

}  // namespace orvella
