#pragma once
// The base of every object placed on a label: a drawing object that can be
// left out of printed output and blended with what lies below it.
//
// Reference counting. A label object is shared between its site, the undo
// history and the capabilities handed out by QueryInterface, so it keeps its
// own count, which starts at 1. That first reference belongs to whoever
// holds the object: its owner (a site, a component or a unique_ptr) frees
// it with delete as before, and a capability taken meanwhile goes back with
// Release without touching that first reference. Release to 0 means the
// holder gave its reference up through the count: the object then leaves
// its site and its owner first (so that neither frees it a second time) and
// destroys itself.

#include "drawing/draw_object.h"

#include <functional>
#include <string>
#include <string_view>

namespace orvella {

class TLabelObject : public TDrawObject, public IDOBlend {
    ORVELLA_PERSISTENT(TLabelObject)

public:
    TLabelObject();
    ~TLabelObject() override;

    // --- stored properties ---
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    // Shown while editing, left out of printed output.
    bool DontPrint() const { return dontPrint_; }
    void SetDontPrint(bool dontPrint);
    // Opacity in percent over what lies below; kept within 0 to 100.
    int32_t BlendRatio() const { return blendRatio_; }
    void SetBlendRatio(int32_t ratio) override;
    bool BlendShade() const { return blendShade_; }
    void SetBlendShade(bool shade) override;

    // The editing window's context menu for the object. It belongs to the
    // window, so documents do not store it; a stored reference is resolved
    // through FindPopupMenu while that window exists and dropped otherwise.
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* menu) { popupMenu_ = menu; }
    static std::function<TComponent*(std::string_view reference)> FindPopupMenu;

    // --- blending capability ---
    bool GetBlendShade() const override { return blendShade_; }
    int32_t GetBlendRatio() const override { return blendRatio_; }

    // --- drawing object ---
    void SetMovable(bool movable) override;
    void ShowHandles() override;
    void BeginDrag(int handleIndex) override;
    // Skipped on a printing canvas while DontPrint is set.
    void PaintTo(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;
    void DefineProperties(TFiler& filer) override;

    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return ++refCount_; }
    int Release() override;
    int RefCount() const { return refCount_; }

private:
    std::string hint_;
    bool dontPrint_ = false;
    int32_t blendRatio_ = 100;
    bool blendShade_ = false;
    TComponent* popupMenu_ = nullptr;
    int refCount_ = 1;
};

}  // namespace orvella
