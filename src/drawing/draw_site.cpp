#include "formats/property_table.h"

#include "drawing/draw_site.h"

#include "drawing/do_list.h"
#include "drawing/ghost_list.h"
#include "graphics/bitmap.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"
#include "platform/win_math.h"

#include <QtGlobal>

#include <algorithm>

namespace orvella {

TColor ResolveColor(TColor color)
{
    if ((color & 0xFF000000u) != 0x80000000u)
        return color & 0xFFFFFF;
    switch (color & 0xFF) {
    case 5: return clWhite;        // window
    case 8: return clBlack;        // window text
    case 15: return 0xC0C0C0;      // button face
    case 16: return 0x808080;      // button shadow
    default: return clWhite;
    }
}

const TClassInfo& TSiteScaler::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TSiteScaler, TPersistent>("TScaler", {
        IntegerProperty("Scale", &TSiteScaler::scale, &TSiteScaler::setScale).Default(100),
        IntegerProperty("UnitDPI", &TSiteScaler::unitDPI, &TSiteScaler::setUnitDPI),
    });
    return info;
}

const TClassInfo& TDrawSite::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TDrawSite, TComponent>("TDrawSite", {
        IntegerProperty("LogWidth", &TDrawSite::LogWidth, &TDrawSite::SetLogWidth).Default(0),
        IntegerProperty("LogHeight", &TDrawSite::LogHeight, &TDrawSite::SetLogHeight).Default(0),
        ObjectProperty("Scaler", &TDrawSite::scaler_),
        IntegerProperty("MoveCursor", &TDrawSite::MoveCursor, &TDrawSite::SetMoveCursor)
            .Idents(CursorIdents()).Default(crDefault),
        BooleanProperty("Border", &TDrawSite::Border, &TDrawSite::SetBorder).Default(1),
        IntegerProperty("Color", &TDrawSite::Color, &TDrawSite::SetColor).Idents(ColorIdents()).Default(clWindow),
        BooleanProperty("DoubleBuffered", &TDrawSite::DoubleBuffered, &TDrawSite::SetDoubleBuffered).Default(0),
    });
    return info;
}

const TClassInfo& TDrawSiteEx::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TDrawSiteEx, TDrawSite>("TDrawSiteEx", {
        IntegerProperty("DragCursor", &TDrawSiteEx::DragCursor, &TDrawSiteEx::SetDragCursor)
            .Idents(CursorIdents()).Default(crDrag),
    });
    return info;
}

TDrawSiteEx* TDrawSiteEx::DragTargetAt(TPoint device)
{
    return PtInRect({0, 0, Width(), Height()}, device) ? this : nullptr;
}

bool TDrawSiteEx::DragOver(TPoint device)
{
    TDrawSiteEx* target = DragTargetAt(device);
    return target && target->OnDragOver && target->OnDragOver(*target, device);
}

void TDrawSiteEx::DragDrop(TPoint device)
{
    if (TDrawSiteEx* target = DragTargetAt(device); target && target->OnDragDrop)
        target->OnDragDrop(*target, device);
}

void TDrawSiteEx::StartDrag()
{
    if (OnStartDrag)
        OnStartDrag(*this);
}

void TDrawSiteEx::EndDrag()
{
    if (OnEndDrag)
        OnEndDrag(*this);
}

TDrawSite::TDrawSite() : notify_(this)
{
    listener_.SetHandler([this](TPersistent* sender, const TGuid& kind) { Notify(sender, kind); });
    Scaler().OnChange = [this] { Rescale(); };
}

TDrawSite::~TDrawSite()
{
    try {
        // Outlines waiting for a press hold objects of this site too.
        if (GhostList().Site() == this || GhostList().Concerns(*this))
            GhostList().Cancel();
    } catch (...) {
        qWarning("cancelling the drag outlines of a closing site failed");
    }
    // Owned objects are freed by the component base after this body; they
    // must no longer look for their parent.
    for (TDrawObject* object : objects_) {
        listener_.Unlisten(object->Notifier());
        object->parent_ = nullptr;
    }
    objects_.clear();
    Scaler().OnChange = nullptr;
}

// --- properties -----------------------------------------------------------

void TDrawSite::SetLogWidth(int32_t width)
{
    if (width == logWidth_)
        return;
    logWidth_ = width;
    Rescale();
}

void TDrawSite::SetLogHeight(int32_t height)
{
    if (height == logHeight_)
        return;
    logHeight_ = height;
    Rescale();
}

void TDrawSite::SetBorder(bool border)
{
    if (border == border_)
        return;
    border_ = border;
    Invalidate();
}

void TDrawSite::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Invalidate();
}

void TDrawSite::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    if (Host.SetCursor && !captured_)
        Host.SetCursor(CursorAt(lastPointer_));
}

void TDrawSite::SetModified(bool modified)
{
    handlesDirty_ = true;
    if (modified == modified_)
        return;
    modified_ = modified;
    if (OnModifyChanged)
        OnModifyChanged(*this);
}

// --- objects and z-order ----------------------------------------------------

int TDrawSite::IndexOf(const TDrawObject& object) const
{
    const auto it = std::find(objects_.begin(), objects_.end(), &object);
    return it == objects_.end() ? -1 : int(it - objects_.begin());
}

void TDrawSite::InsertObject(TDrawObject& object)
{
    if (object.parent_ == this)
        return;
    if (object.parent_)
        object.parent_->detachObject(object);
    objects_.push_back(&object);
    object.parent_ = this;
    listener_.Listen(object.Notifier());
    object.bounds_ = {};
    object.UpdateBounds();
    object.ParentChanged();
}

TDrawObject& TDrawSite::InsertOwnedObject(std::unique_ptr<TDrawObject> object)
{
    TDrawObject& inserted = InsertComponent(std::move(object));
    InsertObject(inserted);
    return inserted;
}

std::unique_ptr<TDrawObject> TDrawSite::RemoveObject(TDrawObject& object)
{
    if (object.parent_ != this)
        return nullptr;
    detachObject(object);
    if (object.Owner() != this)
        return nullptr;
    std::unique_ptr<TComponent> removed = RemoveComponent(object);
    return std::unique_ptr<TDrawObject>(static_cast<TDrawObject*>(removed.release()));
}

void TDrawSite::detachObject(TDrawObject& object)
{
    const int index = IndexOf(object);
    if (index < 0)
        return;
    InvalidateRect(object.bounds_);
    objects_.erase(objects_.begin() + index);
    const auto ownHandle = [&](const TDrawHandle& h) { return h.Owner == &object; };
    if (std::any_of(handles_.begin(), handles_.end(), ownHandle)) {
        for (const TDrawHandle& handle : handles_)
            if (handle.Owner == &object)
                InvalidateRect(handle.Bounds);
        std::erase_if(handles_, ownHandle);
    }
    if (pressed_ == &object) {
        pressed_ = nullptr;
        shiftPressed_ = false;
    }
    listener_.Unlisten(object.Notifier());
    object.parent_ = nullptr;
    handlesDirty_ = true;
    if (object.Selected())
        notify_.Broadcast(&object, SelectionChanged);
}

void TDrawSite::moveObject(TDrawObject& object, std::size_t index)
{
    const int from = IndexOf(object);
    if (from < 0 || std::size_t(from) == index)
        return;
    objects_.erase(objects_.begin() + from);
    objects_.insert(objects_.begin() + std::ptrdiff_t(index), &object);
    object.Invalidate();
    object.Changed();
}

void TDrawSite::AddObject(TDrawObject& object)
{
    InsertObject(object);
    object.UpdateBounds();
    BringToFront(object);
    SetModified(true);
}

void TDrawSite::BringToFront(TDrawObject& object)
{
    if (object.parent_ != this)
        return;
    // Directly below the lowest object of a higher layer group.
    std::size_t target = objects_.size() - 1;
    std::size_t position = 0;
    for (TDrawObject* other : objects_) {
        if (other == &object)
            continue;
        if (other->LayerGroup() > object.LayerGroup()) {
            target = position;
            break;
        }
        ++position;
    }
    moveObject(object, target);
}

void TDrawSite::SendToBack(TDrawObject& object)
{
    if (object.parent_ != this)
        return;
    // Directly above the highest object of a lower layer group.
    std::vector<TDrawObject*> others;
    for (TDrawObject* other : objects_)
        if (other != &object)
            others.push_back(other);
    std::size_t target = 0;
    for (std::size_t i = others.size(); i-- > 0;)
        if (others[i]->LayerGroup() < object.LayerGroup()) {
            target = i + 1;
            break;
        }
    moveObject(object, target);
}

TDrawObject* TDrawSite::ObjectAt(TPoint logical) const
{
    for (std::size_t i = objects_.size(); i-- > 0;)
        if (objects_[i]->Visible() && objects_[i]->HitTest(logical))
            return objects_[i];
    return nullptr;
}

TDrawObject* TDrawSite::objectAtDevice(TPoint device) const
{
    // Only the objects whose bounds hold the point are asked; a transparent
    // spot of one, or a disabled one, lets the press through to what lies
    // below.
    const TPoint logical = DeviceToLogical(device);
    for (std::size_t i = objects_.size(); i-- > 0;) {
        TDrawObject& object = *objects_[i];
        if (object.Visible() && object.Enabled() && PtInRect(object.bounds_, device) && object.HitTest(logical))
            return &object;
    }
    return nullptr;
}

void TDrawSite::GetObjects(TDOList& list, bool selectedOnly) const
{
    for (std::size_t i = objects_.size(); i-- > 0;)
        if (!selectedOnly || objects_[i]->Selected())
            list.Add(*objects_[i]);
}

void TDrawSite::SetAllSelected(bool selected)
{
    const std::vector<TDrawObject*> snapshot = objects_;
    for (TDrawObject* object : snapshot)
        if (IndexOf(*object) >= 0 && (selected || object->Selected()))
            object->SetSelected(selected);
}

void TDrawSite::SelectInRect(const TRect& device)
{
    const std::vector<TDrawObject*> snapshot = objects_;
    for (TDrawObject* object : snapshot)
        if (IndexOf(*object) >= 0 && object->Visible() && RectInside(object->bounds_, device))
            object->SetSelected(true);
}

void TDrawSite::Notify(TPersistent* sender, const TGuid& kind)
{
    if (kind == SelectionChanged || kind == MovableChanged)
        handlesDirty_ = true;
    notify_.Broadcast(sender, kind);
}

// --- handles ------------------------------------------------------------------

int32_t HandleSize(TPivotKind kind)
{
    return kind == TPivotKind::Pivot ? kHandleSize - 1 : kHandleSize;
}

TDrawHandle& TDrawSite::AddHandle(TDrawObject& owner, int index, TCursor cursor, TPivotKind kind)
{
    TDrawHandle handle;
    handle.Owner = &owner;
    handle.Index = index;
    handle.Cursor = owner.Movable() ? cursor : crDefault;
    handle.Kind = kind;
    handles_.push_back(handle);
    return handles_.back();
}

void TDrawSite::PlaceHandle(TDrawHandle& handle, TPoint logical)
{
    InvalidateRect(handle.Bounds);
    const TPoint p = LogicalToDevice(logical);
    const int32_t s = HandleSize(handle.Kind);
    handle.Bounds = {p.x - s / 2, p.y - s / 2, p.x - s / 2 + s, p.y - s / 2 + s};
    InvalidateRect(handle.Bounds);
}

void TDrawSite::RefreshHandles()
{
    if (!handlesDirty_ || captured_)
        return;
    RemoveHandles();
    int selectedCount = 0;
    const std::vector<TDrawObject*> snapshot = objects_;
    for (TDrawObject* object : snapshot)
        if (IndexOf(*object) >= 0 && object->Selected()) {
            ++selectedCount;
            object->ShowHandles();
        }
    if (selectedCount > 1)
        for (TDrawHandle& handle : handles_)
            handle.Cursor = crDefault;
    handlesDirty_ = false;
}

bool TDrawSite::HideHandles()
{
    bool hidden = false;
    for (TDrawHandle& handle : handles_)
        if (handle.Visible) {
            handle.Visible = false;
            InvalidateRect(handle.Bounds);
            hidden = true;
        }
    if (hidden)
        handlesDirty_ = true;
    return hidden;
}

void TDrawSite::RemoveHandles()
{
    if (handles_.empty())
        return;
    for (const TDrawHandle& handle : handles_)
        InvalidateRect(handle.Bounds);
    handles_.clear();
    if (Host.Update)
        Host.Update();
    handlesDirty_ = true;
}

const TDrawHandle* TDrawSite::handleAt(TPoint device) const
{
    for (std::size_t i = handles_.size(); i-- > 0;)
        if (handles_[i].Visible && PtInRect(handles_[i].Bounds, device))
            return &handles_[i];
    return nullptr;
}

// --- mapping --------------------------------------------------------------------

const TCanvas& TDrawSite::mappingCanvas() const
{
    return paintCanvas_ ? *paintCanvas_ : screen_;
}

TPoint TDrawSite::LogicalToDevice(TPoint p) const
{
    return Scaler().LogicalToDevice(mappingCanvas(), p);
}

TPoint TDrawSite::DeviceToLogical(TPoint p) const
{
    return Scaler().DeviceToLogical(mappingCanvas(), p);
}

TRect TDrawSite::LogicalRectToDevice(const TRect& r) const
{
    return Scaler().LogicalRectToDevice(mappingCanvas(), r);
}

TRect TDrawSite::LogicalClientRect() const
{
    const TPoint corner = DeviceToLogical({width_, height_});
    return {0, 0, corner.x, corner.y};
}

void TDrawSite::PrepareCanvas(TCanvas& canvas) const
{
    Scaler().PrepareCanvas(canvas);
}

void TDrawSite::updateDeviceSize()
{
    const TRect device = LogicalRectToDevice({0, 0, logWidth_, logHeight_});
    width_ = device.Right;
    height_ = device.Bottom;
    if (Host.Resize)
        Host.Resize({width_, height_});
}

void TDrawSite::Rescale()
{
    if (IsLoading() || paintCanvas_)
        return;
    updateDeviceSize();
    const bool hadHandles = HideHandles();
    for (TDrawObject* object : objects_)
        object->UpdateBounds();
    Invalidate();
    if (hadHandles)
        RefreshHandles();
    if (OnScalerChanged)
        OnScalerChanged(*this);
}

void TDrawSite::Loaded()
{
    TComponent::Loaded();
    if (logWidth_ == 0 && logHeight_ == 0) {
        const TPoint size = DeviceToLogical({width_, height_});
        logWidth_ = size.x;
        logHeight_ = size.y;
    } else {
        Rescale();
    }
    SetModified(false);
}

int32_t TDrawSite::ZoomToFit(TCanvas& canvas, const TRect& rect, bool fitHeight, bool fitWidth) const
{
    TScaler unzoomed;
    unzoomed.SetUnitDPI(Scaler().UnitDPI());
    unzoomed.SetScale(100);
    const TRect device = unzoomed.LogicalRectToDevice(canvas, {0, 0, logWidth_, logHeight_});
    const int32_t sx = MulDiv(100, RectWidth(rect), device.Right);
    const int32_t sy = MulDiv(100, RectHeight(rect), device.Bottom);
    int32_t zoom = 100;
    if (fitHeight && fitWidth)
        zoom = std::min(sx, sy);
    else if (fitWidth)
        zoom = sx;
    else if (fitHeight)
        zoom = sy;
    // An empty surface or rectangle would give 0 or -1: no scaler can use that.
    return std::max(zoom, 1);
}

// --- painting -----------------------------------------------------------------

void TDrawSite::Invalidate()
{
    InvalidateRect({0, 0, width_, height_});
}

void TDrawSite::InvalidateRect(const TRect& device)
{
    if (Host.Invalidate && !device.IsEmpty() && !paintCanvas_)
        Host.Invalidate(device);
}

void TDrawSite::PaintWindow(TCanvas& target, const TRect& update)
{
    if (update.IsEmpty())
        return;
    if (doubleBuffered_) {
        TBitmap buffer(RectWidth(update), RectHeight(update), TPixelFormat::pf24bit);
        TCanvas& bufferCanvas = buffer.Canvas();
        bufferCanvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
        bufferCanvas.FillRect({0, 0, buffer.Width(), buffer.Height()});
        bufferCanvas.SetWindowOrg(update.TopLeft());
        paintScreen(bufferCanvas, update);
        target.BitBlt(update.Left, update.Top, buffer.Width(), buffer.Height(), bufferCanvas, update.Left, update.Top,
                      SRCCOPY);
    } else {
        const auto saved = SaveCanvasState(target, true);
        target.IntersectClipRect(update);
        paintScreen(target, update);
    }
    const auto saved = SaveCanvasState(target, true);
    target.IntersectClipRect(update);
    {
        // In the mapping every paint step sees, as DrawTo gives it.
        const auto mapping = SaveCanvasState(target, true);
        PrepareCanvas(target);
        PaintAfter(target);
    }
    if (GhostList().Site() == this)
        GhostList().Draw(target);
}

void TDrawSite::paintScreen(TCanvas& canvas, const TRect& update)
{
    Paint(canvas);
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        TDrawObject& object = *objects_[i];
        if (!object.Visible() || IntersectRect(object.bounds_, update).IsEmpty())
            continue;
        const auto saved = SaveCanvasState(canvas, true);
        canvas.IntersectClipRect(object.bounds_);
        for (std::size_t j = i + 1; j < objects_.size(); ++j)
            if (objects_[j]->Visible() && objects_[j]->IsOpaque())
                canvas.ExcludeClipRect(objects_[j]->bounds_);
        object.paintOnSite(canvas);
    }
    paintHandles(canvas, update);
}

void TDrawSite::paintHandles(TCanvas& canvas, const TRect& update)
{
    const auto saved = SaveCanvasState(canvas, true);
    for (const TDrawHandle& handle : handles_) {
        if (!handle.Visible || IntersectRect(handle.Bounds, update).IsEmpty())
            continue;
        const TRect& b = handle.Bounds;
        const TPivotKind kind = handle.Owner && handle.Owner->Movable() ? handle.Kind : TPivotKind::LabelPivot;
        if (kind == TPivotKind::Pivot) {
            canvas.PatBlt(b.Left, b.Top, b.Right - b.Left, b.Bottom - b.Top, DSTINVERT);
            continue;
        }
        if (!handle.Owner || !handle.Owner->Movable()) {
            canvas.Pen() = TPen{clBlack, 1, TPenStyle::psSolid, R2_COPYPEN};
            canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
            canvas.Rectangle(b.Left, b.Top, b.Right, b.Bottom);
            continue;
        }
        canvas.Pen() = TPen{clWhite, 1, TPenStyle::psSolid, R2_COPYPEN};
        switch (kind) {
        case TPivotKind::RotatePivot:
            canvas.Brush() = TBrush{kRotatePivotColor, TBrushStyle::bsSolid};
            canvas.Ellipse(b.Left, b.Top, b.Right, b.Bottom);
            break;
        case TPivotKind::BulgePivot:
            canvas.Brush() = TBrush{kBulgePivotColor, TBrushStyle::bsSolid};
            canvas.Ellipse(b.Left, b.Top, b.Right, b.Bottom);
            break;
        default:
            canvas.Brush() = TBrush{clBlack, TBrushStyle::bsSolid};
            canvas.Rectangle(b.Left, b.Top, b.Right, b.Bottom);
            break;
        }
    }
}

void TDrawSite::Paint(TCanvas& canvas)
{
    if (!paintCanvas_ && color_ != clNone) {
        const auto saved = SaveCanvasState(canvas, false);
        canvas.Brush() = TBrush{ResolveColor(color_), TBrushStyle::bsSolid};
        canvas.FillRect({0, 0, width_, height_});
    }
    if (OnPaint) {
        const auto saved = SaveCanvasState(canvas, true);
        PrepareCanvas(canvas);
        OnPaint(*this, canvas);
    }
}

void TDrawSite::PaintAfter(TCanvas& canvas)
{
    const TPoint origin = canvas.LPtoDP(TPoint{0, 0});
    if (OnPaintAfter) {
        const auto saved = SaveCanvasState(canvas, true);
        PrepareCanvas(canvas);
        OnPaintAfter(*this, canvas);
    }
    if (border_) {
        // In the device pixels of the canvas, wherever the site's origin is.
        const TRect device = LogicalRectToDevice({0, 0, logWidth_, logHeight_});
        const auto saved = SaveCanvasState(canvas, true);
        TCoordMap::ResetMapping(canvas);
        canvas.Pen() = TPen{clBlack, 1, TPenStyle::psSolid, R2_COPYPEN};
        canvas.Brush().Style = TBrushStyle::bsClear;
        canvas.Rectangle(origin.x, origin.y, origin.x + device.Right, origin.y + device.Bottom);
    }
}

void TDrawSite::DrawToProgress(int index)
{
    if (OnDrawToProgress)
        OnDrawToProgress(*this, index);
}

void TDrawSite::PaintObject(TDrawObject& object, TCanvas& canvas)
{
    object.PaintTo(canvas);
}

void TDrawSite::DrawTo(TCanvas& canvas, TPoint deviceOrigin, int32_t zoom)
{
    const auto saved = SaveCanvasState(canvas, true);
    const int32_t oldScale = Scaler().Scale();
    // Whatever happens below, the site comes back as it was.
    struct Restore {
        TDrawSite& site;
        int32_t scale;
        // While the paint canvas is still set, putting the scale back does
        // not rescale the site.
        ~Restore()
        {
            site.Scaler().SetScale(scale);
            site.paintCanvas_ = nullptr;
        }
    } restore{*this, oldScale};

    paintCanvas_ = &canvas;
    CopyCanvasTools(canvas, screen_);
    const TPoint origin = canvas.WindowOrg();
    canvas.SetWindowOrg({origin.x - deviceOrigin.x, origin.y - deviceOrigin.y});
    Scaler().SetScale(zoom);
    PrepareCanvas(canvas);
    Paint(canvas);
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        TDrawObject& object = *objects_[i];
        if (object.Visible())
            PaintObject(object, canvas);
        DrawToProgress(int(i));
    }
    PaintAfter(canvas);
}

// --- input ----------------------------------------------------------------------

void TDrawSite::setCapture(bool captured)
{
    if (captured == captured_)
        return;
    captured_ = captured;
    if (Host.SetCapture)
        Host.SetCapture(captured);
}

TCursor TDrawSite::CursorAt(TPoint device) const
{
    // Outlines waiting for a press take it wherever it lands: the site's
    // own cursor says so.
    TCursor cursor = crDefault;
    if (!GhostList().Empty())
        return cursor_;
    if (const TDrawHandle* handle = handleAt(device))
        cursor = handle->Cursor;
    else if (const TDrawObject* object = objectAtDevice(device))
        cursor = object->Cursor();
    return cursor == crDefault ? cursor_ : cursor;
}

void TDrawSite::MouseDown(const TSiteMouseEvent& event)
{
    lastPointer_ = event.Pos;
    if (!enabled_)
        return;
    if (event.Button == TMouseButton::mbLeft) {
        shiftPressed_ = false;
        dragCursor_ = CursorAt(event.Pos);
    }
    // While outlines wait to be started (a creation by dragging), neither
    // handles nor objects take the press: the site does, so that nothing
    // adds an outline of its own beside the waiting one.
    if (!GhostList().Empty() && !GhostList().Active()) {
        pressOnSite(event, nullptr);
        return;
    }
    if (const TDrawHandle* handle = handleAt(event.Pos)) {
        TDrawObject& owner = *handle->Owner;
        pressOn(owner, handle->Index, false, event);
        return;
    }
    if (TDrawObject* object = objectAtDevice(event.Pos); object && object->Selectable()) {
        pressOn(*object, -1, true, event);
        return;
    }
    pressOnSite(event, nullptr);
}

void TDrawSite::pressOn(TDrawObject& object, int handleIndex, bool shiftMatters, const TSiteMouseEvent& event)
{
    const bool shift = shiftMatters && (event.Shift & ssShift);
    if (object.Selected()) {
        // Only a left press makes a click that the release can end.
        if (shift && event.Button == TMouseButton::mbLeft)
            shiftPressed_ = true;
    } else {
        if (!shift)
            SetAllSelected(false);
        object.SetSelected(true);
    }
    if (event.Button == TMouseButton::mbLeft && object.parent_ == this) {
        setCapture(true);
        pressed_ = &object;
        if (!GhostList().Active()) {
            std::vector<TDrawObject*> moving;
            std::size_t selectedCount = 0;
            for (TDrawObject* other : objects_)
                if (other->Selected()) {
                    ++selectedCount;
                    if (other->Movable())
                        moving.push_back(other);
                }
            const int index = selectedCount == 1 ? handleIndex : -1;
            for (TDrawObject* other : moving)
                if (IndexOf(*other) >= 0)
                    other->BeginDrag(index);
        }
    }
    pressOnSite(event, &object);
}

void TDrawSite::pressOnSite(const TSiteMouseEvent& event, TDrawObject* pressedObject)
{
    if (Host.SetFocus)
        Host.SetFocus();
    if (!pressedObject) {
        if (event.Button != TMouseButton::mbLeft) {
            SetAllSelected(false);
        } else if (GhostList().Empty()) {
            // A pending creation outline already waits for this press; a
            // rubber band beside it would select on release what the new
            // object was dragged over.
            if (!(event.Shift & ssShift))
                SetAllSelected(false);
            GhostList().Add(std::make_unique<TSelectGhost>());
        }
    }
    if (event.Button == TMouseButton::mbLeft) {
        setCapture(true);
        if (!GhostList().Empty() && !GhostList().Active()) {
            HideHandles();
            GhostList().Start(*this, DeviceToLogical(event.Pos), event.Shift, [this] {
                if (OnClearGhost)
                    OnClearGhost(*this);
            });
        } else {
            RefreshHandles();
        }
    } else {
        RefreshHandles();
    }
    if (OnMouseDown)
        OnMouseDown(*this, event);
}

void TDrawSite::MouseMove(const TSiteMouseEvent& event)
{
    lastPointer_ = event.Pos;
    if (GhostList().Site() == this)
        GhostList().Move(DeviceToLogical(event.Pos), event.Shift);
    if (Host.SetCursor) {
        TCursor cursor = CursorAt(event.Pos);
        // A drag keeps the cursor it began with, whatever passes under it.
        if (GhostList().Site() == this)
            cursor = pressed_ && moveCursor_ != crDefault && GhostList().Moved() ? moveCursor_ : dragCursor_;
        Host.SetCursor(cursor);
    }
    if (OnMouseMove)
        OnMouseMove(*this, event);
}

void TDrawSite::MouseUp(const TSiteMouseEvent& event)
{
    lastPointer_ = event.Pos;
    if (event.Button == TMouseButton::mbLeft) {
        const bool moved = GhostList().Site() == this && GhostList().Moved();
        TDrawObject* clicked = pressed_ && PtInRect(pressed_->bounds_, event.Pos) ? pressed_ : nullptr;
        if (clicked) {
            if (shiftPressed_ && !moved)
                clicked->SetSelected(false);
            if (clicked->OnClick)
                clicked->OnClick(*clicked);
        } else if (!pressed_ && PtInRect({0, 0, width_, height_}, event.Pos) && OnClick) {
            OnClick(*this);
        }
        if (GhostList().Site() == this)
            GhostList().Finish(DeviceToLogical(event.Pos), event.Shift);
        setCapture(false);
        pressed_ = nullptr;
        shiftPressed_ = false;
        RefreshHandles();
    }
    if (OnMouseUp)
        OnMouseUp(*this, event);
}

void TDrawSite::DblClick(const TSiteMouseEvent&)
{
    if (OnDblClick)
        OnDblClick(*this);
}

void TDrawSite::KeyDown(const TSiteKeyEvent& event)
{
    if (GhostList().Site() == this) {
        if (event.Key == kKeyEscape) {
            CancelMode();
            return;
        }
        GhostList().Move(DeviceToLogical(lastPointer_), event.Shift);
    } else if (event.Key == kKeyEscape && !GhostList().Active() && GhostList().Concerns(*this)) {
        // A creation waiting for its press is given up, its object freed.
        GhostList().Cancel();
        return;
    }
    if (OnKeyDown)
        OnKeyDown(*this, event);
}

void TDrawSite::KeyUp(const TSiteKeyEvent& event)
{
    if (GhostList().Site() == this)
        GhostList().Move(DeviceToLogical(lastPointer_), event.Shift);
    if (OnKeyUp)
        OnKeyUp(*this, event);
}

void TDrawSite::CancelMode()
{
    if (GhostList().Site() == this)
        GhostList().Cancel();
    setCapture(false);
    pressed_ = nullptr;
    shiftPressed_ = false;
    RefreshHandles();
}

// --- streaming --------------------------------------------------------------------

void TDrawSite::GetChildren(const std::function<void(TComponent&)>& proc) const
{
    const std::vector<TDrawObject*> snapshot = objects_;
    for (TDrawObject* object : snapshot)
        if (object->Owner() == this)
            proc(*object);
}

}  // namespace orvella
