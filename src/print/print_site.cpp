#include "print/print_site.h"

#include "document/effective_paper.h"
#include "document/label_data.h"
#include "document/ld_objects.h"
#include "document/paper_pattern.h"
#include "drawing/do_interfaces.h"
#include "frame/app_frame.h"
#include "graphics/canvas_guards.h"
#include "graphics/coord_map.h"
#include "paper/extra_info.h"
#include "paper/paper_info.h"
#include "platform/win_math.h"
#include "print/band_layout.h"
#include "print/print_device.h"
#include "print/soft_edge.h"
#include "print/stretch_print_page.h"

#include <stdexcept>

namespace orvella {

namespace {

constexpr int32_t kRenderMargin = 10;  // device pixels around a face

// Ends the job on every way out while it is still running.
class TJobGuard {
public:
    explicit TJobGuard(IPrintDevice& device) : device_(device) {}
    ~TJobGuard()
    {
        if (!device_.Printing())
            return;
        if (std::uncaught_exceptions() > 0)
            device_.Abort();
    }
    TJobGuard(const TJobGuard&) = delete;
    TJobGuard& operator=(const TJobGuard&) = delete;

private:
    IPrintDevice& device_;
};

void shiftObject(TDrawObject& object, int32_t dx, int32_t dy)
{
    if (auto bounds = Supports<IDOEncloseBounds>(&object))
        bounds->MoveBy(dx, dy);
}

}  // namespace

int32_t PrintBandingSetting() { return GetSettingInt("Banding", 1); }

TPrintSite::TPrintSite(TLabelData& data, IPrintDevice& device, const TPrintSpec& options, IPrintProgress* progress)
    : data_(data), device_(device), options_(options), progress_(progress)
{
    SetBorder(false);
    SetColor(clNone);
    Scaler().SetUnitDPI(kPrintUnitsPerInch);
    Scaler().SetScale(100);
}

TPrintSite::~TPrintSite() { clearObjects(); }

bool TPrintSite::active() const { return device_.Printing(); }

void TPrintSite::DrawToProgress(int index)
{
    TDrawSite::DrawToProgress(index);
    if (progress_)
        progress_->ProcessMessages();
}

void TPrintSite::PaintObject(TDrawObject& object, TCanvas& canvas)
{
    if (active())
        TDrawSite::PaintObject(object, canvas);
}

void TPrintSite::clearObjects()
{
    while (ObjectCount() > 0)
        RemoveObject(Objects(ObjectCount() - 1));
    objects_.clear();
}

void TPrintSite::Print()
{
    const std::shared_ptr<const TPaperInfo> held = data_.EffectivePaper();
    if (!held)
        throw std::runtime_error("the sheet has no paper");
    const TPaperInfo& paper = *held;
    const auto& direct = DirectPrintSupport().IsDirectPrintPaper;
    if (direct && direct(paper))
        options_.PrintFrame = options_.PrintCutLine = options_.PrintPaperImage = false;
    SetLogWidth(paper.Width());
    SetLogHeight(paper.Height());

    int32_t selected = 0;
    for (int32_t face = 0; face < paper.GetFaceCount(); ++face)
        selected += options_.FaceSelected(face) ? 1 : 0;
    if (progress_)
        progress_->SetMax(selected * std::max(options_.Copies, 1));

    device_.SetPaperSize({paper.PortraitWidth, paper.PortraitHeight});
    device_.SetLandscape(paper.Landscape);
    device_.BeginDoc();
    TJobGuard guard(device_);
    const TPoint shift = DeviceOriginShift(device_.PhysicalOffset(), options_.Offset, device_.PixelsPerInch());
    for (int32_t copy = 1; copy <= options_.Copies && active(); ++copy) {
        if (copy > 1)
            device_.NewPage();
        printFaces(paper, shift);
        if (active())
            drawOutlines(paper, shift);
    }
    clearObjects();
    if (active())
        device_.EndDoc();
}

bool TPrintSite::faceHasContent(int32_t face)
{
    if (data_.HasFaceObjects(face))
        return true;
    if (!options_.PrintPaperImage)
        return false;
    const TImagePaperInfo& images = data_.ImagePaperInfo();
    const std::size_t index = images.SeparatelyDesign ? std::size_t(face) : 0;
    return index < images.FaceObjects.size() && !images.FaceObjects[index].IsEmpty();
}

void TPrintSite::printFaces(const TPaperInfo& paper, TPoint shift)
{
    for (int32_t face = 0; face < paper.GetFaceCount() && active(); ++face) {
        if (!options_.FaceSelected(face))
            continue;
        if (faceHasContent(face))
            renderFace(paper, face, shift);
        if (progress_) {
            progress_->Step();
            progress_->ProcessMessages();
        }
    }
}

void TPrintSite::loadFace(const TPaperInfo& paper, int32_t face)
{
    clearObjects();
    face_ = TFaceInfo();
    face_.LoadFromPaper(paper, face);
    const TRect outer = face_.GetOuterRect();
    objects_ = data_.LoadFaceObjects(face);
    if (options_.PrintPaperImage)
        for (auto& pattern : PaperPatternObjects(data_.ImagePaperInfo(), face, paper.Landscape, outer.Bottom - outer.Top))
            objects_.push_back(std::move(pattern));
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        TDrawObject& object = *objects_[i];
        if (auto faced = Supports<IDOFaceInfo>(&object)) {
            // A background covers the face's outer rectangle wherever it lies.
            faced->SetFaceInfo(&face_);
            if (auto position = Supports<IDOPosition>(&object)) {
                position->SetLeft(outer.Left);
                position->SetTop(outer.Top);
                position->SetWidth(outer.Right - outer.Left);
                position->SetHeight(outer.Bottom - outer.Top);
            }
        } else {
            shiftObject(object, outer.Left, outer.Top);
        }
        AddObject(object);
        object.SetSelectable(false);
        object.SetEnabled(false);
    }
}

void TPrintSite::renderFace(const TPaperInfo& paper, int32_t face, TPoint shift)
{
    loadFace(paper, face);
    TCanvas& printer = device_.Canvas();
    const int32_t ppi = device_.PixelsPerInch();
    const auto clip = SaveClip(printer);
    QRegion region;
    TRect device;
    {
        const auto state = SaveCanvasState(printer, true);
        TCoordMap::ResetMapping(printer);
        printer.SetViewportOrg(shift);
        PrepareCanvas(printer);
        region = face_.CreateFaceRegion(&printer, true);
        device = printer.LPtoDP(face_.GetOuterRect());
    }
    if (printer.ClipRegion())
        region = region.intersected(*printer.ClipRegion());
    printer.SelectClipRgn(region);
    device = {device.Left - kRenderMargin, device.Top - kRenderMargin, device.Right + kRenderMargin,
              device.Bottom + kRenderMargin};

    std::unique_ptr<TBitmap> mask;
    if (options_.SoftEdge)
        mask = MakeSoftEdgeMask(face_);
    const TRect outer = face_.GetOuterRect();
    TStretchPrintPage page(printer, ppi, Banding == 1 ? kPrintUnitsPerInch : 0, Banding != 0, shift, device);
    while (active() && page.NextBand()) {
        TCanvas& canvas = page.GetCanvas();
        DrawTo(canvas, {0, 0}, 100);
        if (mask && active()) {
            const auto state = SaveCanvasState(canvas, true);
            PrepareCanvas(canvas);
            const TPixelSurface* surface = canvas.CurrentSurface();
            const TRect whole = page.Banding() ? TRect{0, 0, surface->Width(), surface->Height()} : device;
            ApplySoftEdge(canvas, whole, *mask, {outer.Left, outer.Top});
        }
    }
    if (OnFaceRendered)
        OnFaceRendered(face);
}

void TPrintSite::drawOutlines(const TPaperInfo& paper, TPoint shift)
{
    if (!options_.PrintFrame && !options_.PrintCutLine)
        return;
    TCanvas& printer = device_.Canvas();
    const auto state = SaveCanvasState(printer, true);
    TCoordMap::ResetMapping(printer);
    printer.SetViewportOrg(shift);
    PrepareCanvas(printer);
    printer.Brush().Style = TBrushStyle::bsClear;
    for (int32_t face = 0; face < paper.GetFaceCount() && active(); ++face) {
        if (!options_.FaceSelected(face))
            continue;
        TFaceInfo info;
        info.LoadFromPaper(paper, face);
        if (options_.PrintFrame) {
            printer.Pen() = TPen{clBlack, 0, TPenStyle::psSolid, R2_COPYPEN};
            info.DrawPrintArea(printer, false, false);
        }
        if (options_.PrintCutLine) {
            printer.Pen() = TPen{clBlack, 0, TPenStyle::psDash, R2_COPYPEN};
            info.DrawTrimLine(printer, false);
        }
        if (OnFaceOutlined)
            OnFaceOutlined(face);
    }
}

}  // namespace orvella
