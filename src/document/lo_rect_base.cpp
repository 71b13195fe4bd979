#include "formats/property_table.h"

#include "document/lo_rect_base.h"

#include "graphics/rect_utils.h"

#include <algorithm>
#include <limits>

namespace orvella {

int32_t OffsetCoordinate(int32_t left, int64_t extent)
{
    return int32_t(std::clamp<int64_t>(int64_t(left) + extent, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

const TClassInfo& TLORectBase::StaticClassInfo()
{
    // Redeclared where the drawing object keeps their places, after Tag.
    static const TClassInfo info = DeclareClass<TLORectBase, TLabelObject>("TLORectBase", {
        IntegerProperty("Left", &TLORectBase::GetLeft, &TLORectBase::SetLeft),
        IntegerProperty("Top", &TLORectBase::GetTop, &TLORectBase::SetTop),
        IntegerProperty("Width", &TLORectBase::GetWidth, &TLORectBase::SetWidth),
        IntegerProperty("Height", &TLORectBase::GetHeight, &TLORectBase::SetHeight),
    });
    return info;
}

void TLORectBase::SetLeft(int32_t value)
{
    SetBoundsRect({value, rect_.Top, OffsetCoordinate(value, int64_t(rect_.Right) - rect_.Left), rect_.Bottom});
}

void TLORectBase::SetTop(int32_t value)
{
    SetBoundsRect({rect_.Left, value, rect_.Right, OffsetCoordinate(value, int64_t(rect_.Bottom) - rect_.Top)});
}

void TLORectBase::SetWidth(int32_t value)
{
    SetBoundsRect({rect_.Left, rect_.Top, OffsetCoordinate(rect_.Left, value), rect_.Bottom});
}

void TLORectBase::SetHeight(int32_t value)
{
    SetBoundsRect({rect_.Left, rect_.Top, rect_.Right, OffsetCoordinate(rect_.Top, value)});
}

void TLORectBase::SetBoundsRect(const TRect& rect)
{
    const TRect normal{std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom),
                       std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom)};
    if (normal == rect_)
        return;
    rect_ = normal;
    UpdateBounds();
    Changed();
}

void TLORectBase::MoveBy(int32_t dx, int32_t dy)
{
    SetBoundsRect({OffsetCoordinate(rect_.Left, dx), OffsetCoordinate(rect_.Top, dy),
                   OffsetCoordinate(rect_.Right, dx), OffsetCoordinate(rect_.Bottom, dy)});
}

bool TLORectBase::HitTest(TPoint logical)
{
    return PtInRect(rect_, logical);
}

void TLORectBase::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLabelObject::Assign(source);
        if (const auto* other = dynamic_cast<const TLORectBase*>(&source))
            SetBoundsRect(other->rect_);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void* TLORectBase::QueryInterface(const TGuid& iid)
{
    if (iid == IDORect::IID)
        return Offer<IDORect>(this);
    if (iid == IDOEncloseBounds::IID)
        return Offer<IDOEncloseBounds>(this);
    if (iid == IDOPosition::IID)
        return Offer<IDOPosition>(this);
    if (iid == IDODraw::IID)
        return Offer<IDODraw>(this);
    return TLabelObject::QueryInterface(iid);
}

}  // namespace orvella
