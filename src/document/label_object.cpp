#include "formats/property_table.h"

#include "document/label_object.h"

#include "formats/component_reader.h"
#include "formats/stream_format.h"
#include "drawing/designer.h"
#include "drawing/draw_site.h"
#include "graphics/scaler.h"

#include <QtGlobal>

#include <algorithm>
#include <memory>

namespace orvella {

std::function<TComponent*(std::string_view reference)> TLabelObject::FindPopupMenu;

const TClassInfo& TLabelObject::StaticClassInfo()
{
    // Cursor and Hint take the places the drawing object keeps for them.
    static const TClassInfo info = DeclareClass<TLabelObject, TDrawObject>("TLabelObject", {
        IntegerProperty("Cursor", &TDrawObject::Cursor, &TDrawObject::SetCursor)
            .Idents(CursorIdents()).Default(crDefault),
        StringProperty("Hint", &TLabelObject::Hint, &TLabelObject::SetHint),
        BooleanProperty("DontPrint", &TLabelObject::DontPrint, &TLabelObject::SetDontPrint),
        IntegerProperty("BlendRatio", &TLabelObject::BlendRatio, &TLabelObject::SetBlendRatio).Default(100),
        BooleanProperty("BlendShade", &TLabelObject::BlendShade, &TLabelObject::SetBlendShade).Default(0),
    });
    return info;
}

TLabelObject::TLabelObject() = default;

TLabelObject::~TLabelObject()
{
    // 1: the holder's own reference, given up by deleting the object;
    // 0: the last Release destroyed it.
    Q_ASSERT_X(refCount_ <= 1, "TLabelObject", "a capability outlived its object");
}

int TLabelObject::Release()
{
    const int count = --refCount_;
    if (count > 0)
        return count;
    // Whoever held the object gave its reference up through the count: the
    // site and the owner must not free it again.
    if (Parent()) {
        std::unique_ptr<TDrawObject> fromSite = Parent()->RemoveObject(*this);
        (void)fromSite.release();
    }
    if (Owner()) {
        std::unique_ptr<TComponent> fromOwner = Owner()->RemoveComponent(*this);
        (void)fromOwner.release();
    }
    delete this;
    return 0;
}

void* TLabelObject::QueryInterface(const TGuid& iid)
{
    if (iid == IDOBlend::IID)
        return Offer<IDOBlend>(this);
    return TDrawObject::QueryInterface(iid);
}

void TLabelObject::SetDontPrint(bool dontPrint)
{
    if (dontPrint == dontPrint_)
        return;
    dontPrint_ = dontPrint;
    Notifier().Broadcast(DontPrintChanged);
    Changed();
}

void TLabelObject::SetBlendRatio(int32_t ratio)
{
    ratio = std::clamp(ratio, 0, 100);
    if (ratio == blendRatio_)
        return;
    blendRatio_ = ratio;
    Changed();
    Invalidate();
}

void TLabelObject::SetBlendShade(bool shade)
{
    if (shade == blendShade_)
        return;
    blendShade_ = shade;
    Changed();
    Invalidate();
}

void TLabelObject::SetMovable(bool movable)
{
    if (movable == Movable())
        return;
    Changed();
    TDrawObject::SetMovable(movable);
}

void TLabelObject::ShowHandles()
{
    DesignerList().ShowHandles(*this);
}

void TLabelObject::BeginDrag(int handleIndex)
{
    DesignerList().BeginDrag(*this, handleIndex);
}

void TLabelObject::PaintTo(TCanvas& canvas)
{
    if (dontPrint_ && IsPrintingCanvas(canvas))
        return;
    TDrawObject::PaintTo(canvas);
}

void TLabelObject::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TDrawObject::Assign(source);
        if (const auto* label = dynamic_cast<const TLabelObject*>(&source)) {
            popupMenu_ = label->popupMenu_;
            hint_ = label->hint_;
            SetEnabled(label->Enabled());
            SetDontPrint(label->dontPrint_);
            SetBlendShade(label->blendShade_);
            SetBlendRatio(label->blendRatio_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLabelObject::DefineProperties(TFiler& filer)
{
    TDrawObject::DefineProperties(filer);
    filer.DefineProperty(
        "PopupMenu",
        [this](TReader& reader) {
            if (reader.NextValue() == TValueType::vaNil) {
                reader.ReadValue();
                popupMenu_ = nullptr;
                return;
            }
            const std::string reference = reader.ReadIdent();
            if (FindPopupMenu)
                popupMenu_ = FindPopupMenu(reference);
        },
        nullptr, false);
}

}  // namespace orvella
