#include "formats/property_table.h"

#include "drawing/draw_object.h"

#include "drawing/blend_paint.h"
#include "drawing/draw_site.h"
#include "drawing/object_copy.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_for_rect.h"
#include "graphics/bitmap_related_dc.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"

#include <QtGlobal>

#include <cstring>
#include <exception>

namespace orvella {

namespace {

TPaintFailureReporter& failureReporter()
{
    static TPaintFailureReporter reporter;
    return reporter;
}

}  // namespace

void SetPaintFailureReporter(TPaintFailureReporter reporter)
{
    failureReporter() = std::move(reporter);
}

void ReportPaintFailure(std::exception_ptr error) noexcept
{
    try {
        if (failureReporter()) {
            failureReporter()(error);
            return;
        }
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        qWarning("drawing object failed to paint: %s", e.what());
    } catch (...) {
        qWarning("drawing object failed to paint");
    }
}

const TClassInfo& TDrawObject::StaticClassInfo()
{
    // The control's geometry, cursor and hint keep their places before
    // Border for the objects that store them (label objects do).
    static const TClassInfo info = DeclareClass<TDrawObject, TComponent>("TDrawObject", {
        ReservedProperty("Left"),
        ReservedProperty("Top"),
        ReservedProperty("Width"),
        ReservedProperty("Height"),
        ReservedProperty("Cursor"),
        ReservedProperty("Hint", TPropKind::String),
        BooleanProperty("Border", &TDrawObject::Border, &TDrawObject::SetBorder),
        BooleanProperty("Movable", &TDrawObject::Movable, &TDrawObject::SetMovable).Default(1),
        BooleanProperty("Selectable", &TDrawObject::Selectable, &TDrawObject::SetSelectable).Default(1),
        IntegerProperty("LayerGroup", &TDrawObject::LayerGroup, &TDrawObject::SetLayerGroup),
        ObjectProperty("Appendix", &TDrawObject::appendix_),
    });
    return info;
}

TDrawObject::TDrawObject() : notify_(this)
{
    listener_.SetHandler([this](TPersistent* sender, const TGuid& kind) { Notify(sender, kind); });
    listener_.Listen(notify_);
    notify_.OnChanged = [this] { ownerChanged(); };
}

TDrawObject::~TDrawObject()
{
    Q_ASSERT_X(refCount_ == 0, "TDrawObject", "a capability outlived its object");
    if (parent_) {
        try {
            parent_->detachObject(*this);
        } catch (...) {
            qWarning("a draw site failed to let go of a destroyed object");
        }
    }
}

void TDrawObject::SetBorder(bool border)
{
    if (border == border_)
        return;
    border_ = border;
    Invalidate();
    Changed();
}

void TDrawObject::SetMovable(bool movable)
{
    if (movable == movable_)
        return;
    movable_ = movable;
    notify_.Broadcast(MovableChanged);
}

void TDrawObject::SetSelectable(bool selectable)
{
    if (selectable == selectable_)
        return;
    selectable_ = selectable;
    if (!selectable && selected_)
        SetSelected(false);
    Changed();
}

void TDrawObject::SetLayerGroup(int32_t group)
{
    if (group == layerGroup_)
        return;
    layerGroup_ = group;
    Changed();
}

void TDrawObject::SetAppendix(std::vector<std::string> lines)
{
    if (lines == appendix_.Lines)
        return;
    appendix_.Lines = std::move(lines);
    Changed();
}

void TDrawObject::UpdateBounds()
{
    if (!parent_)
        return;
    TRect device = parent_->LogicalRectToDevice(GetLogicalBounds());
    ++device.Right;
    ++device.Bottom;
    if (device == bounds_)
        return;
    Invalidate();
    bounds_ = device;
    Invalidate();
}

void TDrawObject::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    if (parent_)
        parent_->InvalidateRect(bounds_);
}

void TDrawObject::Invalidate()
{
    if (parent_ && visible_)
        parent_->InvalidateRect(bounds_);
}

bool TDrawObject::NeedsBlend()
{
    const TIntfRef<IDOBlend> blend = Supports<IDOBlend>(this);
    return blend && (blend->GetBlendRatio() != 100 || blend->GetBlendShade());
}

void TDrawObject::PaintContent(TCanvas& canvas)
{
    if (!NeedsBlend() || !DCHasDIBSection(canvas)) {
        Paint(canvas);
        return;
    }
    const TIntfRef<IDOBlend> blend = Supports<IDOBlend>(this);
    const int32_t ratio = blend ? blend->GetBlendRatio() : 100;
    const TRect logicalBounds = GetLogicalBounds();
    const TRect area = IntersectRect(InflateRect(canvas.GetClipBox(), 5, 5), logicalBounds);
    if (area.IsEmpty())
        return;
    std::unique_ptr<TBitmap> mask =
        CreateBitmapForRect(canvas, logicalBounds, TPixelFormat::pf8bit, 5, false, GrayPalette());
    if (!mask)
        return;
    PaintMask(*mask);
    TCoordMap::ResetMapping(mask->Canvas());
    std::unique_ptr<TBitmap> image = RenderToBitmap(canvas);
    if (!image)
        return;
    TCoordMap::ResetMapping(image->Canvas());

    const TPoint at = canvas.LPtoDP(area.TopLeft());
    const TRect clip = canvas.LPtoDP(canvas.GetClipBox());
    TBitmapRelatedDC view(canvas);
    if (!view.IsValid()) {
        Paint(canvas);
        return;
    }
    BlendThroughMask(view.Bitmap(), clip, at, *image, *mask, ratio);
}

void TDrawObject::PaintMask(TBitmap& mask)
{
    for (int32_t y = 0; y < mask.Height(); ++y)
        std::memset(mask.Row(y), 255, std::size_t(mask.Width()));
    mask.Canvas().Brush().Color = clBlack;
}

std::unique_ptr<TBitmap> TDrawObject::RenderToBitmap(TCanvas& canvas)
{
    std::unique_ptr<TBitmap> bitmap = CreateBitmapForRect(canvas, GetLogicalBounds(), TPixelFormat::pf24bit, 5, false);
    if (!bitmap)
        return nullptr;
    Paint(bitmap->Canvas());
    TCoordMap::ResetMapping(bitmap->Canvas());
    return bitmap;
}

void TDrawObject::Notify(TPersistent*, const TGuid&) {}

void TDrawObject::SetSelected(bool selected)
{
    if (!selected || selectable_)
        selected_ = selected;
    notify_.Broadcast(SelectionChanged);
}

void TDrawObject::Changed()
{
    notify_.Changed();
}

void TDrawObject::PaintTo(TCanvas& canvas)
{
    const TRect logicalBounds = GetLogicalBounds();
    if (IntersectRect(canvas.GetClipBox(), logicalBounds).IsEmpty())
        return;
    // The failure marker is the screen's: a printout or preview gets the
    // object's own drawing every time, and a failure here leaves the
    // screen's flag alone.
    try {
        const auto saved = SaveCanvasState(canvas, true);
        canvas.IntersectClipRect(logicalBounds);
        PaintContent(canvas);
    } catch (...) {
        ReportPaintFailure(std::current_exception());
    }
}

void TDrawObject::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        AssignPublished(*this, source);
        cursor_ = source.cursor_;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void* TDrawObject::QueryInterface(const TGuid& iid)
{
    if (iid == IID_Listener) {
        AddRef();
        return &listener_;
    }
    return nullptr;
}

void TDrawObject::SetParentComponent(TComponent& parent)
{
    if (auto* site = dynamic_cast<TDrawSite*>(&parent))
        site->InsertObject(*this);
    else if (auto* container = dynamic_cast<TDrawObjectContainer*>(&parent))
        container->AdoptMember(*this);
}

void TDrawObject::ownerChanged()
{
    if (parent_)
        parent_->SetModified(true);
    if (OnModify)
        OnModify(*this);
}

void TDrawObject::paintOnSite(TCanvas& canvas)
{
    if (paintFailed_) {
        paintFailureMarker(canvas, bounds_);
        return;
    }
    paintFailed_ = true;
    try {
        const auto saved = SaveCanvasState(canvas, true);
        if (border_) {
            canvas.Pen() = TPen{clBlue, 1, TPenStyle::psSolid, R2_COPYPEN};
            canvas.Brush().Style = TBrushStyle::bsClear;
            canvas.Rectangle(bounds_.Left, bounds_.Top, bounds_.Right, bounds_.Bottom);
        }
        parent_->PrepareCanvas(canvas);
        PaintContent(canvas);
        paintFailed_ = false;
    } catch (...) {
        ReportPaintFailure(std::current_exception());
        Invalidate();
        paintFailureMarker(canvas, bounds_);
    }
}

void TDrawObject::paintFailureMarker(TCanvas& canvas, const TRect& device)
{
    const auto saved = SaveCanvasState(canvas, true);
    canvas.Pen() = TPen{clRed, 1, TPenStyle::psSolid, R2_COPYPEN};
    canvas.Brush() = TBrush{clRed, TBrushStyle::bsDiagCross};
    canvas.SetBkMode(TRANSPARENT);
    canvas.Rectangle(device.Left, device.Top, device.Right, device.Bottom);
    canvas.Font().Name = "System";
    canvas.Font().PixelsPerInch = canvas.DeviceResolution();
    canvas.Font().SetSize(12);
    canvas.Font().Orientation = 0;
    try {
        canvas.TextOut(device.Left + 1, device.Top + 1, kPaintFailedText);
    } catch (...) {
        // The box alone still marks the object.
    }
}

}  // namespace orvella
