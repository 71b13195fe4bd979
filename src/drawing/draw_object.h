#pragma once
// A windowless drawing object hosted by a draw site. It keeps its geometry in
// logical units and draws in the site's logical coordinates; the site gives
// it device bounds, z-order, selection and painting. An object whose
// painting throws shows the failure marker from then on, so that one object
// never stops the others.

#include "formats/component.h"
#include "formats/string_list.h"
#include "graphics/change_notify.h"
#include "drawing/do_interfaces.h"

#include <functional>
#include <memory>

namespace orvella {

class TBitmap;
class TCanvas;
class TDrawSite;

class TDrawObject;

// A drawing object that holds other drawing objects as its members (a
// group); a stream read hands the members stored inside its record to it.
class TDrawObjectContainer {
public:
    virtual void AdoptMember(TDrawObject& member) = 0;

protected:
    ~TDrawObjectContainer() = default;
};

class TDrawObject : public TComponent, public virtual IDOInterface {
    ORVELLA_PERSISTENT(TDrawObject)

public:
    TDrawObject();
    ~TDrawObject() override;

    // --- stored properties ---
    bool Border() const { return border_; }
    void SetBorder(bool border);
    bool Movable() const { return movable_; }
    virtual void SetMovable(bool movable);
    bool Selectable() const { return selectable_; }
    // Clearing it deselects the object.
    void SetSelectable(bool selectable);
    int32_t LayerGroup() const { return layerGroup_; }
    void SetLayerGroup(int32_t group);
    // Free "key=value" lines other subsystems attach; a change counts as a
    // change of the object.
    const TStringList& Appendix() const { return appendix_; }
    void SetAppendix(std::vector<std::string> lines);
    // Raised after any change of the object.
    std::function<void(TDrawObject&)> OnModify;
    // Raised when the object is clicked on its site.
    std::function<void(TDrawObject&)> OnClick;

    // --- device bounds on the site (not stored) ---
    int32_t Left() const { return bounds_.Left; }
    int32_t Top() const { return bounds_.Top; }
    int32_t Width() const { return bounds_.Right - bounds_.Left; }
    int32_t Height() const { return bounds_.Bottom - bounds_.Top; }
    const TRect& BoundsRect() const { return bounds_; }
    // Recomputes the device bounds from GetLogicalBounds on the parent.
    void UpdateBounds();

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // A disabled object takes no mouse input: presses and the cursor go to
    // what lies below it. Not stored; creators and copies set it.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }
    // Objects that cover their whole bounds are left out of the clip of the
    // objects below them.
    virtual bool IsOpaque() const { return false; }

    TDrawSite* Parent() const { return parent_; }
    bool Selected() const { return selected_; }
    TChangeNotify& Notifier() { return notify_; }
    TListener& Listener() { return listener_; }
    void BeginUpdate() { notify_.BeginUpdate(); }
    void EndUpdate() { notify_.EndUpdate(); }
    // Asks the parent to repaint the object's device bounds.
    void Invalidate();
    bool PaintFailed() const { return paintFailed_; }

    // --- operations in their slot order ---
    virtual bool NeedsBlend();
    // Blended through PaintMask when NeedsBlend and the canvas draws into a
    // bitmap; plain Paint otherwise.
    virtual void PaintContent(TCanvas& canvas);
    // Coverage in an 8-bit mask: 255 everywhere by default.
    virtual void PaintMask(TBitmap& mask);
    // The visible part of the logical bounds as a 24-bit bitmap.
    virtual std::unique_ptr<TBitmap> RenderToBitmap(TCanvas& canvas);
    // What the object's listener hears.
    virtual void Notify(TPersistent* sender, const TGuid& kind);
    virtual bool HitTest(TPoint logical) = 0;
    virtual TRect GetLogicalBounds() const = 0;
    virtual void ShowHandles() = 0;
    virtual void BeginDrag(int handleIndex) = 0;
    // Broadcasts SelectionChanged even when the value did not change.
    virtual void SetSelected(bool selected);
    virtual void Changed();
    // Called after the object was placed on a site.
    virtual void ParentChanged() {}
    // Draws on a foreign canvas prepared with the site's mapping.
    virtual void PaintTo(TCanvas& canvas);
    // The content, in site-logical coordinates.
    virtual void Paint(TCanvas& canvas) = 0;
    // Takes over source's stored state (source is of the same class); the
    // undo history and the clipboard copy objects through it. The default
    // copies the published properties and the cursor; classes with extra
    // stored data or members override it and call the base.
    virtual void Assign(const TDrawObject& source);

    // --- capabilities ---
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return ++refCount_; }
    int Release() override { return --refCount_; }

protected:
    // For QueryInterface overrides: the capability with a reference taken.
    template <class I>
    void* Offer(I* self)
    {
        AddRef();
        return static_cast<I*>(self);
    }
    void SetParentComponent(TComponent& parent) override;

private:
    friend class TDrawSite;
    void ownerChanged();
    // Draws the object for a screen paint: the failure marker, or the border
    // and the content; a throwing Paint sets the failure flag for good.
    void paintOnSite(TCanvas& canvas);
    // The red hatched box with the failure text over device (pixel mapping).
    void paintFailureMarker(TCanvas& canvas, const TRect& device);

    bool border_ = false;
    bool movable_ = true;
    bool selectable_ = true;
    int32_t layerGroup_ = 0;
    TStringList appendix_;
    TRect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    TCursor cursor_ = crDefault;
    bool selected_ = false;
    bool paintFailed_ = false;
    int refCount_ = 0;
    TDrawSite* parent_ = nullptr;
    TChangeNotify notify_;
    TListener listener_;
};

// The text the failure marker shows.
inline constexpr char kPaintFailedText[] = "描画に失敗しました";

// Where painting failures are reported; the application installs the frame's
// exception report. Without one they go to the log.
using TPaintFailureReporter = std::function<void(std::exception_ptr)>;
void SetPaintFailureReporter(TPaintFailureReporter reporter);
void ReportPaintFailure(std::exception_ptr error) noexcept;

}  // namespace orvella
