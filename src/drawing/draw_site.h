#pragma once
// The surface that hosts drawing objects: it maps logical units to pixels
// through its scaler, keeps the z-order (child order refined by layer
// groups), the selection and its handles, dispatches mouse and key input,
// and paints everything, on screen or onto any foreign canvas. The window
// that shows it (app/) forwards input as TSiteMouseEvent / TSiteKeyEvent in
// device pixels and answers the requests in Host.

#include "formats/component.h"
#include "formats/persistent.h"
#include "graphics/change_notify.h"
#include "drawing/draw_object.h"
#include "graphics/scaler.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace orvella {

class TDOList;

// Default window colour of a site (the system colour of window backgrounds).
constexpr TColor clWindow = 0x80000005;

// How a handle looks while its owner is Movable: Pivot inverts the screen
// under its square; LabelPivot is a black square in a white frame;
// RotatePivot and BulgePivot are green and red dots in a white frame. The
// handle of an object that cannot move is a white square in a black frame
// whatever its kind.
enum class TPivotKind { Pivot, LabelPivot, RotatePivot, BulgePivot };
inline constexpr TColor kRotatePivotColor = 65280;
inline constexpr TColor kBulgePivotColor = 255;

// A selection handle: a small mark the site draws above the objects; a
// press on it acts on its owner with its index.
struct TDrawHandle {
    TDrawObject* Owner = nullptr;
    int Index = 0;
    TRect Bounds;  // device pixels
    TCursor Cursor = crDefault;
    bool Visible = true;
    TPivotKind Kind = TPivotKind::LabelPivot;
};
inline constexpr int32_t kHandleSize = 6;
// Side of a handle in device pixels: the inverting kind is a pixel smaller.
int32_t HandleSize(TPivotKind kind);

// What the hosting window does for its site.
struct TSiteHost {
    std::function<void(const TRect& device)> Invalidate;
    // Repaints what is invalid right away.
    std::function<void()> Update;
    std::function<void(TCursor)> SetCursor;
    std::function<void(bool captured)> SetCapture;
    std::function<void()> SetFocus;
    std::function<void(TSize device)> Resize;
    // The visible part of the site in its own device pixels (a scrolling
    // parent shows only part); the whole site when not given.
    std::function<TRect()> VisibleRect;
    // The screen as last painted, in the site's device pixels with plain
    // pixel mapping, for drawing drag outlines straight onto it; null when
    // there is none yet. ShowScreen puts what was drawn there on view
    // without repainting the site.
    std::function<TCanvas*()> ScreenCanvas;
    std::function<void(const TRect& device)> ShowScreen;
};

// The scaler as a stored property (Scale, UnitDPI).
class TSiteScaler : public TPersistent {
    ORVELLA_PERSISTENT(TSiteScaler)

public:
    TScaler Scaler;

private:
    int32_t scale() const { return Scaler.Scale(); }
    void setScale(int32_t value) { Scaler.SetScale(value); }
    int32_t unitDPI() const { return Scaler.UnitDPI(); }
    void setUnitDPI(int32_t value) { Scaler.SetUnitDPI(value); }
};

class TDrawSite : public TComponent {
    ORVELLA_PERSISTENT(TDrawSite)

public:
    TDrawSite();
    ~TDrawSite() override;

    // --- stored properties ---
    int32_t LogWidth() const { return logWidth_; }
    void SetLogWidth(int32_t width);
    int32_t LogHeight() const { return logHeight_; }
    void SetLogHeight(int32_t height);
    TScaler& Scaler() { return scaler_.Scaler; }
    const TScaler& Scaler() const { return scaler_.Scaler; }
    void SetScaler(const TScaler& scaler) { scaler_.Scaler.Assign(scaler); }
    TCursor MoveCursor() const { return moveCursor_; }
    void SetMoveCursor(TCursor cursor) { moveCursor_ = cursor; }
    bool Border() const { return border_; }
    void SetBorder(bool border);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // --- events ---
    std::function<void(TDrawSite&, TCanvas&)> OnPaint;       // mapping prepared, before the objects
    std::function<void(TDrawSite&, TCanvas&)> OnPaintAfter;  // mapping prepared, after the objects
    std::function<void(TDrawSite&)> OnScalerChanged;
    std::function<void(TDrawSite&)> OnClearGhost;
    std::function<void(TDrawSite&)> OnModifyChanged;
    std::function<void(TDrawSite&, int index)> OnDrawToProgress;
    std::function<void(TDrawSite&, const TSiteMouseEvent&)> OnMouseDown;
    std::function<void(TDrawSite&, const TSiteMouseEvent&)> OnMouseMove;
    std::function<void(TDrawSite&, const TSiteMouseEvent&)> OnMouseUp;
    std::function<void(TDrawSite&)> OnClick;
    std::function<void(TDrawSite&)> OnDblClick;
    std::function<void(TDrawSite&, const TSiteKeyEvent&)> OnKeyDown;
    std::function<void(TDrawSite&, const TSiteKeyEvent&)> OnKeyUp;

    TSiteHost Host;

    // --- state ---
    bool Modified() const { return modified_; }
    // Always marks the handles for refreshing; raises OnModifyChanged on a change.
    void SetModified(bool modified);
    TBroadcaster& Notifier() { return notify_; }
    TListener& Listener() { return listener_; }
    // Device size, from LogWidth and LogHeight.
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    // --- objects (index 0 is the bottom) ---
    std::size_t ObjectCount() const { return objects_.size(); }
    TDrawObject& Objects(std::size_t index) const { return *objects_.at(index); }
    int IndexOf(const TDrawObject& object) const;
    // Makes the object a child at the top, without ownership.
    void InsertObject(TDrawObject& object);
    // The same, and the site owns it.
    TDrawObject& InsertOwnedObject(std::unique_ptr<TDrawObject> object);
    // Takes the object out; returns it when the site owned it.
    std::unique_ptr<TDrawObject> RemoveObject(TDrawObject& object);
    // Parent, device bounds, top of its layer group, Modified.
    void AddObject(TDrawObject& object);
    void BringToFront(TDrawObject& object);
    void SendToBack(TDrawObject& object);

    TDrawObject* ObjectAt(TPoint logical) const;
    // Appends topmost first.
    void GetObjects(TDOList& list, bool selectedOnly) const;
    void SetAllSelected(bool selected);
    // Selects the objects whose device bounds lie wholly inside rect.
    void SelectInRect(const TRect& device);

    // --- handles ---
    // An owner that cannot move gets the default cursor instead.
    TDrawHandle& AddHandle(TDrawObject& owner, int index, TCursor cursor = crDefault,
                           TPivotKind kind = TPivotKind::LabelPivot);
    // Centres the handle on the logical point.
    void PlaceHandle(TDrawHandle& handle, TPoint logical);
    std::size_t HandleCount() const { return handles_.size(); }
    const TDrawHandle& Handles(std::size_t index) const { return handles_.at(index); }
    bool HandlesDirty() const { return handlesDirty_; }
    void RefreshHandles();
    bool HideHandles();
    void RemoveHandles();

    // --- mapping ---
    TPoint LogicalToDevice(TPoint p) const;
    TPoint DeviceToLogical(TPoint p) const;
    TRect LogicalRectToDevice(const TRect& r) const;
    TRect LogicalClientRect() const;
    void PrepareCanvas(TCanvas& canvas) const;
    void Rescale();
    // Zoom in percent that fits the surface into rect; never below 1.
    int32_t ZoomToFit(TCanvas& canvas, const TRect& rect, bool fitHeight, bool fitWidth) const;

    // --- painting ---
    // A paint request from the host: target draws in the site's device
    // pixels (plain pixel mapping), update is the rectangle to redraw.
    void PaintWindow(TCanvas& target, const TRect& update);
    // The whole content onto a foreign canvas, the site's origin at
    // deviceOrigin, at zoom percent. The canvas comes back as it was.
    void DrawTo(TCanvas& canvas, TPoint deviceOrigin, int32_t zoom);
    bool PaintingCopy() const { return paintCanvas_ != nullptr; }
    void Invalidate();
    void InvalidateRect(const TRect& device);

    // --- input (device pixels) ---
    void MouseDown(const TSiteMouseEvent& event);
    void MouseMove(const TSiteMouseEvent& event);
    void MouseUp(const TSiteMouseEvent& event);
    void DblClick(const TSiteMouseEvent& event);
    void KeyDown(const TSiteKeyEvent& event);
    void KeyUp(const TSiteKeyEvent& event);
    // A cancel-mode request: active outlines are dropped.
    void CancelMode();
    bool MouseCaptured() const { return captured_; }
    TDrawObject* PressedObject() const { return pressed_; }
    // The cursor for the pointer at a device point: a handle's, an object's
    // or the site's own.
    TCursor CursorAt(TPoint device) const;

    // --- streaming ---
    void GetChildren(const std::function<void(TComponent&)>& proc) const override;
    void Loaded() override;

protected:
    virtual void Paint(TCanvas& canvas);
    virtual void PaintAfter(TCanvas& canvas);
    virtual void DrawToProgress(int index);
    virtual void PaintObject(TDrawObject& object, TCanvas& canvas);
    virtual void Notify(TPersistent* sender, const TGuid& kind);

private:
    friend class TDrawObject;
    void detachObject(TDrawObject& object);
    void moveObject(TDrawObject& object, std::size_t index);
    void paintScreen(TCanvas& canvas, const TRect& update);
    void paintHandles(TCanvas& canvas, const TRect& update);
    const TDrawHandle* handleAt(TPoint device) const;
    TDrawObject* objectAtDevice(TPoint device) const;
    void pressOn(TDrawObject& object, int handleIndex, bool shiftMatters, const TSiteMouseEvent& event);
    void pressOnSite(const TSiteMouseEvent& event, TDrawObject* pressedObject);
    void setCapture(bool captured);
    const TCanvas& mappingCanvas() const;
    void updateDeviceSize();

    int32_t logWidth_ = 0;
    int32_t logHeight_ = 0;
    TSiteScaler scaler_;
    TCursor moveCursor_ = crDefault;
    bool border_ = true;
    TColor color_ = clWindow;
    bool doubleBuffered_ = false;
    TCursor cursor_ = crDefault;
    bool enabled_ = true;

    int32_t width_ = 0;
    int32_t height_ = 0;
    bool modified_ = false;
    bool handlesDirty_ = false;
    bool captured_ = false;
    TDrawObject* pressed_ = nullptr;
    bool shiftPressed_ = false;
    // The cursor under the pointer when the drag began; a drag keeps it.
    TCursor dragCursor_ = crDefault;
    TPoint lastPointer_;  // device
    std::vector<TDrawObject*> objects_;
    std::deque<TDrawHandle> handles_;  // stable references for AddHandle's callers
    TBroadcaster notify_;
    TListener listener_;
    TCanvas screen_;  // resolution reference while nothing paints
    TCanvas* paintCanvas_ = nullptr;
};

// A site that a drag and drop over it reports as its own target even where
// a drawing object lies under the pointer.
class TDrawSiteEx : public TDrawSite {
    ORVELLA_PERSISTENT(TDrawSiteEx)

public:
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }
    std::function<bool(TDrawSiteEx&, TPoint device)> OnDragOver;
    std::function<void(TDrawSiteEx&, TPoint device)> OnDragDrop;
    std::function<void(TDrawSiteEx&)> OnStartDrag;
    std::function<void(TDrawSiteEx&)> OnEndDrag;
    // The drop target at a device point: the site itself, over its objects
    // too.
    TDrawSiteEx* DragTargetAt(TPoint device);
    // A drag from elsewhere over the site: true when OnDragOver accepts it
    // (nothing is accepted without a handler).
    bool DragOver(TPoint device);
    void DragDrop(TPoint device);
    // A drag that starts from the site and its end.
    void StartDrag();
    void EndDrag();

private:
    TCursor dragCursor_ = crDrag;
};

// Resolves a site's colour, system colours included, to 0x00BBGGRR.
TColor ResolveColor(TColor color);

}  // namespace orvella
