#include "objects/lo_jan_code.h"

#include "formats/property_table.h"
#include "graphics/canvas.h"
#include "objects/jan_code.h"
#include "objects/rotated_rect.h"

namespace orvella {

const TClassInfo& TLOJANCode::StaticClassInfo()
{
    using C = TLOJANCode;
    static const TClassInfo info = DeclareClass<C, TLORectBase>("TLOJANCode", {
        IntegerProperty("Angle", &C::GetAngle, &C::SetAngle),
        StringProperty("JANCode", &C::JANCode, &C::SetJANCode),
        ObjectProperty("Font", &C::font_),
        BooleanProperty("ShowNumber", &C::ShowNumber, &C::SetShowNumber).Default(1),
        BooleanProperty("ShowFrame", &C::ShowFrame, &C::SetShowFrame).Default(0),
    });
    return info;
}

TLOJANCode::TLOJANCode()
{
    SetBoundsRect({0, 0, 300, 100});
    textColor_.SetColor(font_.Color());
    font_.OnChange = [this] { fontChanged(); };
}

TLOJANCode::~TLOJANCode()
{
    font_.OnChange = nullptr;
}

void TLOJANCode::fontChanged()
{
    if (textColor_.Color() != font_.Color())
        textColor_.SetColor(font_.Color());
    Changed();
    Invalidate();
    UpdateBounds();
}

void TLOJANCode::SetAngle(int32_t degrees)
{
    if (degrees == rotator_.Angle())
        return;
    rotator_.SetAngle(degrees);
    Changed();
    Invalidate();
    UpdateBounds();
}

void TLOJANCode::SetJANCode(const std::string& code)
{
    if (code == janCode_)
        return;
    janCode_ = code;
    Changed();
    Invalidate();
}

void TLOJANCode::SetShowNumber(bool show)
{
    if (show == showNumber_)
        return;
    showNumber_ = show;
    Changed();
    Invalidate();
}

void TLOJANCode::SetShowFrame(bool show)
{
    if (show == showFrame_)
        return;
    showFrame_ = show;
    Changed();
    Invalidate();
}

void TLOJANCode::SetColorSpec(const TColorSpec& colorFill)
{
    font_.SetColor(colorFill.Color());
}

void TLOJANCode::SetExtent(int32_t width, int32_t height)
{
    const TSize size = ExtentForBounds(Rect(), rotator_, width, height);
    SetBoundsRect({Rect().Left, Rect().Top, OffsetCoordinate(Rect().Left, size.cx),
                   OffsetCoordinate(Rect().Top, size.cy)});
}

void TLOJANCode::DrawOutline(TCanvas& canvas)
{
    OutlineRotatedRect(canvas, Rect(), rotator_);
}

void TLOJANCode::SetBoundsRect(const TRect& rect)
{
    const TRect before = Rect();
    TLORectBase::SetBoundsRect(rect);
    if (Rect() == before)
        return;
    rotator_.SetCentre({(Rect().Left + Rect().Right) / 2, (Rect().Top + Rect().Bottom) / 2});
    UpdateBounds();
}

TRect TLOJANCode::GetLogicalBounds() const
{
    return RotatedBounds(Rect(), rotator_);
}

bool TLOJANCode::HitTest(TPoint logical)
{
    return HitsRotatedRect(Rect(), rotator_, logical);
}

void TLOJANCode::Paint(TCanvas& canvas)
{
    canvas.Font() = font_.ToFont(kLogicalPixelsPerInch);
    DrawJANCode(canvas, janCode_, Rect(), showFrame_, showNumber_, rotator_.Angle());
}

void TLOJANCode::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLORectBase::Assign(source);
        if (const auto* other = dynamic_cast<const TLOJANCode*>(&source)) {
            SetAngle(other->GetAngle());
            SetJANCode(other->janCode_);
            font_.Assign(other->font_);
            SetShowNumber(other->showNumber_);
            SetShowFrame(other->showFrame_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void* TLOJANCode::QueryInterface(const TGuid& iid)
{
    if (iid == IDOColorSpec::IID)
        return Offer<IDOColorSpec>(this);
    if (iid == IDOFont::IID)
        return Offer<IDOFont>(this);
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    return TLORectBase::QueryInterface(iid);
}

}  // namespace orvella
