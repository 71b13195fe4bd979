#include "formats/property_table.h"

#include "test_objects.h"

#include "formats/class_registry.h"
#include "drawing/draw_site.h"
#include "graphics/canvas.h"
#include "graphics/rect_utils.h"

#include <stdexcept>

namespace orvella::test {

const TClassInfo& TTestBox::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TTestBox, TDrawObject>("TTestBox", {
        IntegerProperty("BoxLeft", &TTestBox::left, &TTestBox::setLeft).Default(0),
        IntegerProperty("BoxTop", &TTestBox::top, &TTestBox::setTop).Default(0),
        IntegerProperty("BoxRight", &TTestBox::right, &TTestBox::setRight).Default(0),
        IntegerProperty("BoxBottom", &TTestBox::bottom, &TTestBox::setBottom).Default(0),
        IntegerProperty("Fill", &TTestBox::fill, &TTestBox::setFill),
    });
    return info;
}

const TClassInfo& TNotDrawn::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TNotDrawn, TComponent>("TNotDrawn", {
        StringProperty("Caption", &TNotDrawn::Caption),
    });
    return info;
}

void RegisterTestClasses()
{
    RegisterClasses({&TTestBox::StaticClassInfo(), &TNotDrawn::StaticClassInfo()});
}

TTestBox::TTestBox(TRect box, int32_t layerGroup, TColor color) : Box(box), Fill(color)
{
    SetLayerGroup(layerGroup);
}

bool TTestBox::HitTest(TPoint logical)
{
    return PtInRect(Box, logical) && !PtInRect(Hole, logical);
}

void TTestBox::ShowHandles()
{
    if (!Parent())
        return;
    const TPoint corners[] = {Box.TopLeft(), {Box.Right, Box.Top}, Box.BottomRight(), {Box.Left, Box.Bottom}};
    for (int i = 0; i < 4; ++i)
        Parent()->PlaceHandle(Parent()->AddHandle(*this, i, i % 2 ? crSizeNESW : crSizeNWSE), corners[i]);
}

void TTestBox::BeginDrag(int handleIndex)
{
    LastDragIndex = handleIndex;
    GhostList().Add(std::make_unique<TMoveGhost>(*this));
}

void TTestBox::Paint(TCanvas& canvas)
{
    ++PaintCount;
    canvas.Brush() = TBrush{Fill, TBrushStyle::bsSolid};
    canvas.FillRect(Box);
    if (FailPaint)
        throw std::runtime_error("paint failed on purpose");
}

void* TTestBox::QueryInterface(const TGuid& iid)
{
    if (iid == IDOEncloseBounds::IID)
        return Offer<IDOEncloseBounds>(this);
    if (iid == IDOBlend::IID)
        return Offer<IDOBlend>(this);
    return TDrawObject::QueryInterface(iid);
}

void TTestBox::MoveBy(int32_t dx, int32_t dy)
{
    Box = OffsetRect(Box, dx, dy);
    UpdateBounds();
    Changed();
}

void TTestBox::SetExtent(int32_t width, int32_t height)
{
    Box.Right = Box.Left + width;
    Box.Bottom = Box.Top + height;
    UpdateBounds();
    Changed();
}

void TMoveGhost::Draw(TCanvas& canvas)
{
    const TRect r = OffsetRect(box_.Box, offset_.x, offset_.y);
    canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TMoveGhost::Apply(TShiftState)
{
    if (offset_.x != 0 || offset_.y != 0)
        box_.MoveBy(offset_.x, offset_.y);
}

}  // namespace orvella::test
