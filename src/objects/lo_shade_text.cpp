#include "objects/lo_shade_text.h"

#include "formats/property_table.h"
#include "platform/win_math.h"

namespace orvella {

const TClassInfo& TLOWizardText::StaticClassInfo()
{
    using C = TLOWizardText;
    static const TClassInfo info = DeclareClass<C, TLOText>("TLOWizardText", {
        BooleanProperty("wizInputEnable", &C::WizInputEnable, &C::SetWizInputEnable).Default(0),
        StringProperty("wizInputCaption", &C::WizInputCaption, &C::SetWizInputCaption),
    });
    return info;
}

void TLOWizardText::Assign(const TDrawObject& source)
{
    TLOText::Assign(source);
    if (const auto* other = dynamic_cast<const TLOWizardText*>(&source); other && other != this) {
        wizInputEnable_ = other->wizInputEnable_;
        wizInputCaption_ = other->wizInputCaption_;
    }
}

void* TLOWizardText::QueryInterface(const TGuid& iid)
{
    if (iid == IDOWizardInput::IID)
        return Offer<IDOWizardInput>(this);
    return TLOText::QueryInterface(iid);
}

const TClassInfo& TLOShadeText::StaticClassInfo()
{
    using C = TLOShadeText;
    static const TClassInfo info = DeclareClass<C, TLOWizardText>("TLOShadeText", {
        BooleanProperty("ShadeShadowEnable", &C::ShadeShadowEnable, &C::SetShadeShadowEnable).Default(0),
        IntegerProperty("ShadeShadowSize", &C::ShadeShadowSize, &C::SetShadeShadowSize).Default(0),
        BooleanProperty("ShadeShadowBold", &C::ShadeShadowBold, &C::SetShadeShadowBold).Default(0),
    });
    return info;
}

void TLOShadeText::SetShadeShadowEnable(bool enable)
{
    if (enable == shadeShadowEnable_)
        return;
    shadeShadowEnable_ = enable;
    UpdateBounds();
    Invalidate();
}

void TLOShadeText::SetShadeShadowSize(int32_t size)
{
    if (size == shadeShadowSize_)
        return;
    shadeShadowSize_ = size;
    Invalidate();
}

void TLOShadeText::SetShadeShadowBold(bool bold)
{
    if (bold == shadeShadowBold_)
        return;
    shadeShadowBold_ = bold;
    Invalidate();
}

TPoint TLOShadeText::ShadowOffset() const
{
    TPoint offset = PlainShadowOffset();
    if (!shadeShadowEnable_)
        return offset;
    const int32_t room = MulDiv(LineHeight(), 10, 100);
    if (ShadowOffsetX() > 0)
        offset.x += room;
    else if (ShadowOffsetX() < 0)
        offset.x -= room;
    offset.y += ShadowOffsetY() < 0 ? -room : room;
    return offset;
}

void TLOShadeText::Assign(const TDrawObject& source)
{
    TLOWizardText::Assign(source);
    if (const auto* other = dynamic_cast<const TLOShadeText*>(&source); other && other != this) {
        Engine().BeginUpdate();
        shadeShadowEnable_ = other->shadeShadowEnable_;
        shadeShadowSize_ = other->shadeShadowSize_;
        shadeShadowBold_ = other->shadeShadowBold_;
        Engine().EndUpdate();
        UpdateBounds();
    }
}

const TClassInfo& TLOCurrentText::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOCurrentText, TLOShadeText>("TLOText", {});
    return info;
}

}  // namespace orvella
