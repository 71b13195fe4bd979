#include "formats/property_table.h"

#include "ghost_objects.h"

#include "drawing/designer.h"
#include "drawing/draw_site.h"
#include "formats/class_registry.h"
#include "graphics/canvas.h"
#include "graphics/rect_utils.h"

#include <algorithm>

namespace orvella::test {

const TClassInfo& TGhostShape::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TGhostShape, TDrawObject>("TGhostShape", {
        IntegerProperty("RectLeft", &TGhostShape::left, &TGhostShape::setLeft).Default(0),
        IntegerProperty("RectTop", &TGhostShape::top, &TGhostShape::setTop).Default(0),
        IntegerProperty("RectRight", &TGhostShape::right, &TGhostShape::setRight).Default(0),
        IntegerProperty("RectBottom", &TGhostShape::bottom, &TGhostShape::setBottom).Default(0),
        BooleanProperty("Proportional", &TGhostShape::proportional, &TGhostShape::setProportional).Default(0),
    });
    return info;
}

const TClassInfo& TTurningShape::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TTurningShape, TGhostShape>("TTurningShape", {
        IntegerProperty("Angle", &TTurningShape::angle, &TTurningShape::setAngle).Default(0),
    });
    return info;
}

const TClassInfo& TGhostLine::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TGhostLine, TDrawObject>("TGhostLine", {
        IntegerProperty("SX", &TGhostLine::sx, &TGhostLine::setSx).Default(0),
        IntegerProperty("SY", &TGhostLine::sy, &TGhostLine::setSy).Default(0),
        IntegerProperty("EX", &TGhostLine::ex, &TGhostLine::setEx).Default(0),
        IntegerProperty("EY", &TGhostLine::ey, &TGhostLine::setEy).Default(0),
    });
    return info;
}

const TClassInfo& TGhostCurve::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TGhostCurve, TDrawObject>("TGhostCurve", {
        IntegerProperty("SX", &TGhostCurve::sx, &TGhostCurve::setSx).Default(0),
        IntegerProperty("SY", &TGhostCurve::sy, &TGhostCurve::setSy).Default(0),
        IntegerProperty("MX", &TGhostCurve::mx, &TGhostCurve::setMx).Default(0),
        IntegerProperty("MY", &TGhostCurve::my, &TGhostCurve::setMy).Default(0),
        IntegerProperty("EX", &TGhostCurve::ex, &TGhostCurve::setEx).Default(0),
        IntegerProperty("EY", &TGhostCurve::ey, &TGhostCurve::setEy).Default(0),
    });
    return info;
}

void RegisterGhostTestClasses()
{
    RegisterClasses({&TGhostShape::StaticClassInfo(), &TTurningShape::StaticClassInfo(),
                     &TGhostLine::StaticClassInfo(), &TGhostCurve::StaticClassInfo()});
}

// --- shapes ----------------------------------------------------------------------

bool TGhostShape::HitTest(TPoint logical)
{
    return PtInRect(NormalizeRect(Rect), logical);
}

void TGhostShape::ShowHandles()
{
    DesignerList().ShowHandles(*this);
}

void TGhostShape::BeginDrag(int handleIndex)
{
    DesignerList().BeginDrag(*this, handleIndex);
}

void TGhostShape::Paint(TCanvas& canvas)
{
    canvas.Brush() = TBrush{clBlue, TBrushStyle::bsSolid};
    canvas.FillRect(NormalizeRect(Rect));
}

void TGhostShape::DrawOutline(TCanvas& canvas)
{
    canvas.Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

void* TGhostShape::QueryInterface(const TGuid& iid)
{
    if (iid == IDOEncloseBounds::IID)
        return Offer<IDOEncloseBounds>(this);
    if (iid == IDOPosition::IID)
        return Offer<IDOPosition>(this);
    if (iid == IDODraw::IID)
        return Offer<IDODraw>(this);
    return TDrawObject::QueryInterface(iid);
}

void TGhostShape::changed()
{
    UpdateBounds();
    Changed();
}

void TGhostShape::MoveBy(int32_t dx, int32_t dy)
{
    Rect = OffsetRect(Rect, dx, dy);
    changed();
}

void TGhostShape::SetExtent(int32_t width, int32_t height)
{
    Rect.Right = Rect.Left + width;
    Rect.Bottom = Rect.Top + height;
    changed();
}

void TGhostShape::SetLeft(int32_t value)
{
    Rect = OffsetRect(Rect, value - Rect.Left, 0);
    changed();
}

void TGhostShape::SetTop(int32_t value)
{
    Rect = OffsetRect(Rect, 0, value - Rect.Top);
    changed();
}

void TGhostShape::SetWidth(int32_t value)
{
    Rect.Right = Rect.Left + value;
    changed();
}

void TGhostShape::SetHeight(int32_t value)
{
    Rect.Bottom = Rect.Top + value;
    changed();
}

void TTurningShape::SetAngle(int32_t degrees)
{
    Angle = degrees;
    changed();
}

void* TTurningShape::QueryInterface(const TGuid& iid)
{
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    return TGhostShape::QueryInterface(iid);
}

// --- lines and curves --------------------------------------------------------------

bool TGhostLine::HitTest(TPoint logical)
{
    return PtInRect(InflateRect(GetLogicalBounds(), 5, 5), logical);
}

TRect TGhostLine::GetLogicalBounds() const
{
    const TRect r = NormalizeRect({Start.x, Start.y, End.x, End.y});
    return {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

void TGhostLine::ShowHandles()
{
    DesignerList().ShowHandles(*this);
}

void TGhostLine::BeginDrag(int handleIndex)
{
    DesignerList().BeginDrag(*this, handleIndex);
}

void* TGhostLine::QueryInterface(const TGuid& iid)
{
    if (iid == IDOEncloseBounds::IID)
        return Offer<IDOEncloseBounds>(this);
    if (iid == IDOLine::IID)
        return Offer<IDOLine>(this);
    if (iid == IDODraw::IID)
        return Offer<IDODraw>(this);
    return TDrawObject::QueryInterface(iid);
}

void TGhostLine::MoveBy(int32_t dx, int32_t dy)
{
    Start = {Start.x + dx, Start.y + dy};
    End = {End.x + dx, End.y + dy};
    UpdateBounds();
    Changed();
}

void TGhostLine::SetStartPoint(int32_t x, int32_t y)
{
    Start = {x, y};
    UpdateBounds();
    Changed();
}

void TGhostLine::SetEndPoint(int32_t x, int32_t y)
{
    End = {x, y};
    UpdateBounds();
    Changed();
}

void TGhostLine::DrawOutline(TCanvas& canvas)
{
    canvas.MoveTo(Start.x, Start.y);
    canvas.LineTo(End.x, End.y);
}

bool TGhostCurve::HitTest(TPoint logical)
{
    return PtInRect(GetLogicalBounds(), logical);
}

TRect TGhostCurve::GetLogicalBounds() const
{
    const auto [left, right] = std::minmax({Start.x, Middle.x, End.x});
    const auto [top, bottom] = std::minmax({Start.y, Middle.y, End.y});
    return {left, top, right + 1, bottom + 1};
}

void TGhostCurve::ShowHandles()
{
    DesignerList().ShowHandles(*this);
}

void TGhostCurve::BeginDrag(int handleIndex)
{
    DesignerList().BeginDrag(*this, handleIndex);
}

void* TGhostCurve::QueryInterface(const TGuid& iid)
{
    if (iid == IDOEncloseBounds::IID)
        return Offer<IDOEncloseBounds>(this);
    if (iid == IDOCurve::IID)
        return Offer<IDOCurve>(this);
    if (iid == IDODraw::IID)
        return Offer<IDODraw>(this);
    return TDrawObject::QueryInterface(iid);
}

void TGhostCurve::MoveBy(int32_t dx, int32_t dy)
{
    Start = {Start.x + dx, Start.y + dy};
    Middle = {Middle.x + dx, Middle.y + dy};
    End = {End.x + dx, End.y + dy};
    UpdateBounds();
    Changed();
}

void TGhostCurve::SetStartPoint(int32_t x, int32_t y)
{
    Start = {x, y};
    UpdateBounds();
    Changed();
}

void TGhostCurve::SetEndPoint(int32_t x, int32_t y)
{
    End = {x, y};
    UpdateBounds();
    Changed();
}

void TGhostCurve::SetMiddlePoint(TPoint point)
{
    Middle = point;
    UpdateBounds();
    Changed();
}

void TGhostCurve::DrawOutline(TCanvas& canvas)
{
    canvas.Polyline({Start, Middle, End});
}

}  // namespace orvella::test
