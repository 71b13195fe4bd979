#include "drawing/ghost_designers.h"

#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_geometry.h"
#include "drawing/ghost_list.h"
#include "drawing/line_ghost.h"
#include "drawing/move_ghost.h"
#include "drawing/rect_ghost.h"
#include "graphics/arc_geometry.h"
#include "graphics/rect_utils.h"

#include <memory>

namespace orvella {

namespace {

constexpr TCursor kHandleCursors[8] = {crSizeNWSE, crSizeWE, crSizeNESW, crSizeNS,
                                       crSizeNS,   crSizeNESW, crSizeWE, crSizeNWSE};

bool isOnSite(const TDrawObject& object)
{
    return object.Parent() != nullptr;
}

void addPivot(TDrawObject& object, int index, TCursor cursor, TPivotKind kind, TPoint at)
{
    TDrawSite& site = *object.Parent();
    site.PlaceHandle(site.AddHandle(object, index, cursor, kind), at);
}

bool addGhost(std::unique_ptr<TGhost> ghost)
{
    GhostList().Add(std::move(ghost));
    return true;
}

}  // namespace

void ShowRectHandles(TDrawObject& object)
{
    const TIntfRef<IDOPosition> position = Supports<IDOPosition>(&object);
    if (!position || !isOnSite(object))
        return;
    const TRect rect{position->GetLeft(), position->GetTop(), position->GetLeft() + position->GetWidth(),
                     position->GetTop() + position->GetHeight()};
    const TIntfRef<IDORotate> rotate = Supports<IDORotate>(&object);
    const int32_t angle = rotate ? rotate->GetAngle() : 0;
    const TPoint centre = RectCenter(rect);
    for (int index = 0; index < 8; ++index) {
        TPoint at = RectHandlePoint(rect, index);
        if (rotate) {
            at = TurnPoint(at, centre, angle);
            if (index == 2 || index == 5) {
                addPivot(object, kRotateHandle, crRotate, TPivotKind::RotatePivot, at);
                continue;
            }
        }
        addPivot(object, index, kHandleCursors[index], TPivotKind::LabelPivot, at);
    }
}

// --- lines ---------------------------------------------------------------------

bool TDOLineGhostDesigner::ShowHandles(TDrawObject& object)
{
    const TIntfRef<IDOLine> line = Supports<IDOLine>(&object);
    if (!line || !isOnSite(object))
        return false;
    addPivot(object, 0, crSizeWE, TPivotKind::LabelPivot, line->GetStartPoint());
    addPivot(object, 1, crSizeWE, TPivotKind::LabelPivot, line->GetEndPoint());
    return true;
}

bool TDOLineGhostDesigner::BeginDrag(TDrawObject& object, int handleIndex)
{
    if (!Supports<IDOLine>(&object) || !isOnSite(object))
        return false;
    switch (handleIndex) {
    case -2: return addGhost(std::make_unique<TLineCreateGhost>(object));
    case -1: return addGhost(std::make_unique<TMoveGhost>(object));
    case 0:
    case 1: return addGhost(std::make_unique<TLineGhost>(object, handleIndex));
    default: return false;
    }
}

// --- rectangles ------------------------------------------------------------------

bool TDORectGhostDesigner::ShowHandles(TDrawObject& object)
{
    if (!Supports<IDOPosition>(&object) || !isOnSite(object))
        return false;
    ShowRectHandles(object);
    return true;
}

bool TDORectGhostDesigner::BeginDrag(TDrawObject& object, int handleIndex)
{
    if (!Supports<IDOPosition>(&object) || !isOnSite(object))
        return false;
    if (handleIndex == -2)
        return addGhost(std::make_unique<TRectCreateGhost>(object));
    if (handleIndex == -1)
        return addGhost(std::make_unique<TMoveGhost>(object));
    if (handleIndex >= 0 && handleIndex <= 7)
        return addGhost(std::make_unique<TRectGhost>(object, handleIndex));
    if (handleIndex == kRotateHandle)
        return addGhost(std::make_unique<TRotateGhost>(object));
    return false;
}

// --- curves ------------------------------------------------------------------------

bool TDOCurveGhostDesigner::ShowHandles(TDrawObject& object)
{
    const TIntfRef<IDOCurve> curve = Supports<IDOCurve>(&object);
    if (!curve || !isOnSite(object))
        return false;
    addPivot(object, kCurveStartHandle, crSizeWE, TPivotKind::LabelPivot, curve->GetStartPoint());
    addPivot(object, kCurveEndHandle, crSizeWE, TPivotKind::LabelPivot, curve->GetEndPoint());
    addPivot(object, kCurveMiddleHandle, crSizeNS, TPivotKind::BulgePivot, curve->GetMiddlePoint());
    return true;
}

bool TDOCurveGhostDesigner::BeginDrag(TDrawObject& object, int handleIndex)
{
    if (!Supports<IDOCurve>(&object) || !isOnSite(object))
        return false;
    switch (handleIndex) {
    case -2: return addGhost(std::make_unique<TCurveCreateGhost>(object));
    case -1: return addGhost(std::make_unique<TMoveGhost>(object));
    case kCurveStartHandle:
    case kCurveEndHandle:
    case kCurveMiddleHandle: return addGhost(std::make_unique<TCurveGhost>(object, handleIndex));
    default: return false;
    }
}

// --- texts -------------------------------------------------------------------------

bool TDOTextGhostDesigner::ShowHandles(TDrawObject& object)
{
    if (!Supports<IDOPosition>(&object) || !isOnSite(object))
        return false;
    const TIntfRef<IDOCurve> curve = Supports<IDOCurve>(&object);
    if (curve && SignedSagitta(curve->GetStartPoint(), curve->GetMiddlePoint(), curve->GetEndPoint()) != 0)
        return false;  // a bulged text: the curve designer shows its points
    ShowRectHandles(object);
    if (curve) {
        const TIntfRef<IDOPosition> position = Supports<IDOPosition>(&object);
        const TRect rect{position->GetLeft(), position->GetTop(), position->GetLeft() + position->GetWidth(),
                         position->GetTop() + position->GetHeight()};
        addPivot(object, kCurveMiddleHandle, crSizeNS, TPivotKind::BulgePivot, RectCenter(rect));
    }
    return true;
}

void RegisterGhostDesigners()
{
    static const auto line = std::make_shared<TDOLineGhostDesigner>();
    static const auto rect = std::make_shared<TDORectGhostDesigner>();
    static const auto curve = std::make_shared<TDOCurveGhostDesigner>();
    static const auto text = std::make_shared<TDOTextGhostDesigner>();
    for (const std::shared_ptr<TDODesigner>& designer :
         std::initializer_list<std::shared_ptr<TDODesigner>>{line, rect, curve, text})
        if (!DesignerList().Contains(*designer))
            DesignerList().Register(designer);
}

}  // namespace orvella
