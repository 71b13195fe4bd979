#include "document/sheet_painter.h"

#include "document/label_data.h"
#include "document/paper_site.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "graphics/scaler.h"
#include "paper/face_info.h"
#include "paper/paper_info.h"
#include "platform/win_math.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace orvella {

namespace {

constexpr int32_t kScreenDpi = 96;
constexpr int32_t kUnitsPerInch = 254;

// The objects of one face on a private site, taken off it again (and freed
// with the list) on every way out.
class TFaceObjects {
public:
    TFaceObjects(TLabelData& data, int32_t face, TSize logical, int32_t scale)
    {
        site_.SetBorder(false);
        site_.Scaler().SetUnitDPI(kUnitsPerInch);
        site_.Scaler().SetScale(scale);
        site_.SetLogWidth(logical.cx);
        site_.SetLogHeight(logical.cy);
        if (!data.HasFaceObjects(face))
            return;
        objects_ = data.LoadFaceObjects(face);
        for (const auto& object : objects_)
            site_.AddObject(*object);
    }
    ~TFaceObjects()
    {
        while (site_.ObjectCount() > 0)
            site_.RemoveObject(site_.Objects(site_.ObjectCount() - 1));
    }
    TFaceObjects(const TFaceObjects&) = delete;
    TFaceObjects& operator=(const TFaceObjects&) = delete;

    bool Empty() const { return site_.ObjectCount() == 0; }
    void DrawTo(TCanvas& canvas, TPoint deviceOrigin) { site_.DrawTo(canvas, deviceOrigin, site_.Scaler().Scale()); }

private:
    // Declared first: the site lets go of the objects before they are freed.
    std::vector<std::unique_ptr<TDrawObject>> objects_;
    TDrawSite site_;
};

std::shared_ptr<const TPaperInfo> sheetPaper(TLabelData& data)
{
    std::shared_ptr<const TPaperInfo> paper = data.EffectivePaper();
    if (!paper)
        throw std::runtime_error("the sheet has no paper");
    return paper;
}

void checkSize(TSize device)
{
    if (device.cx <= 0 || device.cy <= 0 || device.cx > kMaxPaintPixels || device.cy > kMaxPaintPixels)
        throw std::length_error("picture of " + std::to_string(device.cx) + "x" + std::to_string(device.cy) +
                                " pixels cannot be made");
}

// A canvas mapped as a site at scale maps logical units, the origin at
// deviceOrigin.
void prepareMapping(TCanvas& canvas, TPoint deviceOrigin, int32_t scale)
{
    TScaler scaler;
    scaler.SetUnitDPI(kUnitsPerInch);
    scaler.SetScale(scale);
    scaler.PrepareCanvas(canvas);
    canvas.SetViewportOrg({canvas.ViewportOrg().x + deviceOrigin.x, canvas.ViewportOrg().y + deviceOrigin.y});
}

void fillWhite(TCanvas& canvas, const TRect& device)
{
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect(device);
}

// A bitmap's canvas that answers the asked resolution, so that a site at
// scale 100 maps 0.1 mm straight to its pixels as a printer's canvas does;
// a scale in whole percents of the screen cannot give most resolutions.
class TResolutionCanvas : public TCanvas {
public:
    TResolutionCanvas(TBitmap& bitmap, int32_t ppi) : TCanvas(&bitmap), ppi_(ppi) {}
    int32_t DeviceResolution() const override { return ppi_; }

private:
    int32_t ppi_;
};

// The device size of a logical size on a canvas of ppi at scale.
TSize deviceSize(TSize logical, int32_t scale, int32_t ppi)
{
    if (ppi == kScreenDpi)
        return DeviceSizeAt(logical, scale);
    // Every pixel the sheet touches, as the scaler covers a rectangle.
    const int64_t pixels = int64_t(ppi) * scale;
    const int64_t units = int64_t(kUnitsPerInch) * 100;
    const auto cover = [&](int32_t length) {
        const int64_t device = (units + pixels * length - 1) / units;
        return int32_t(std::min<int64_t>(device, int64_t(kMaxPaintPixels) + 1));
    };
    return {cover(logical.cx), cover(logical.cy)};
}

void checkResolution(int32_t ppi)
{
    if (ppi <= 0 || ppi > kMaxPaintPpi)
        throw std::out_of_range("no picture at " + std::to_string(ppi) + " pixels per inch");
}

void renderFace(TLabelData& data, int32_t face, int32_t scale, int32_t ppi, TBitmap& out);
void renderSheet(TLabelData& data, int32_t scale, int32_t ppi, TBitmap& out);

}  // namespace

int32_t ScaleForDpi(int32_t dpi) { return dpi * 100 / kScreenDpi; }

TSize DeviceSizeAt(TSize logical, int32_t scale)
{
    TDrawSite site;
    site.SetBorder(false);
    site.Scaler().SetUnitDPI(kUnitsPerInch);
    site.Scaler().SetScale(scale);
    site.SetLogWidth(logical.cx);
    site.SetLogHeight(logical.cy);
    return {site.Width(), site.Height()};
}

void RenderFace(TLabelData& data, int32_t face, int32_t scale, TBitmap& out)
{
    renderFace(data, face, scale, kScreenDpi, out);
}

void RenderFaceAtDpi(TLabelData& data, int32_t face, int32_t dpi, TBitmap& out)
{
    checkResolution(dpi);
    renderFace(data, face, 100, dpi, out);
}

void RenderSheet(TLabelData& data, int32_t scale, TBitmap& out) { renderSheet(data, scale, kScreenDpi, out); }

void RenderSheetAtDpi(TLabelData& data, int32_t dpi, TBitmap& out)
{
    checkResolution(dpi);
    renderSheet(data, 100, dpi, out);
}

namespace {

void renderFace(TLabelData& data, int32_t face, int32_t scale, int32_t ppi, TBitmap& out)
{
    const auto held = sheetPaper(data);
    const TPaperInfo& paper = *held;
    if (face < 0 || face >= paper.GetFaceCount())
        throw std::out_of_range("no face " + std::to_string(face) + " on the paper");
    TFaceInfo info;
    info.LoadFromPaper(paper, face);
    const TRect outer = info.GetOuterRect();
    const TSize logical{outer.Right - outer.Left, outer.Bottom - outer.Top};
    const TSize device = deviceSize(logical, scale, ppi);
    checkSize(device);

    const auto protect = ProtectBitmapCanvases();
    out.SetSize(device.cx, device.cy, TPixelFormat::pf24bit);
    std::optional<TResolutionCanvas> own;
    if (ppi != kScreenDpi)
        own.emplace(out, ppi);
    TCanvas& canvas = own ? *own : out.Canvas();
    fillWhite(canvas, {0, 0, device.cx, device.cy});
    TFaceObjects objects(data, face, logical, scale);
    if (objects.Empty())
        return;
    objects.DrawTo(canvas, {0, 0});

    // The face's outline with its bounds at the origin, in the bitmap's pixels.
    info.FaceRect = {info.FaceRect.Left - outer.Left, info.FaceRect.Top - outer.Top, info.FaceRect.Right - outer.Left,
                     info.FaceRect.Bottom - outer.Top};
    QRegion inside;
    {
        const auto saved = SaveCanvasState(canvas, true);
        prepareMapping(canvas, {0, 0}, scale);
        inside = info.CreateFaceRegion(&canvas, false);
    }
    const auto clip = SaveClip(canvas);
    canvas.SelectClipRgn(QRegion(0, 0, device.cx, device.cy).subtracted(inside));
    fillWhite(canvas, {0, 0, device.cx, device.cy});
}

}  // namespace

void PaintSheet(TCanvas& canvas, TPoint deviceOrigin, TLabelData& data, int32_t scale)
{
    const auto held = sheetPaper(data);
    const TPaperInfo& paper = *held;
    const auto protect = ProtectBitmapCanvases();
    {
        TPaperSite site;
        site.SetBorder(false);
        site.Scaler().SetUnitDPI(kUnitsPerInch);
        site.Scaler().SetScale(scale);
        site.SetColor(clWhite);
        site.ShowPaper(&paper);
        const TRect sheet = site.Scaler().LogicalRectToDevice(canvas, {0, 0, paper.Width(), paper.Height()});
        fillWhite(canvas, {deviceOrigin.x, deviceOrigin.y, deviceOrigin.x + sheet.Right, deviceOrigin.y + sheet.Bottom});
        site.DrawTo(canvas, deviceOrigin, scale);
        site.ShowPaper(nullptr);
    }

    for (int32_t face = 0; face < paper.GetFaceCount(); ++face) {
        if (!data.HasFaceObjects(face))
            continue;
        TFaceInfo info;
        info.LoadFromPaper(paper, face);
        const TRect outer = info.GetOuterRect();
        QRegion region;
        TPoint faceOrigin;
        {
            const auto saved = SaveCanvasState(canvas, true);
            prepareMapping(canvas, deviceOrigin, scale);
            region = info.CreateFaceRegion(&canvas, false);
            faceOrigin = canvas.LPtoDP(TPoint{outer.Left, outer.Top});
        }
        TFaceObjects objects(data, face, {outer.Right - outer.Left, outer.Bottom - outer.Top}, scale);
        const auto clip = SaveClip(canvas);
        canvas.SelectClipRgn(region);
        objects.DrawTo(canvas, faceOrigin);
    }
}

namespace {

void renderSheet(TLabelData& data, int32_t scale, int32_t ppi, TBitmap& out)
{
    const auto held = sheetPaper(data);
    const TPaperInfo& paper = *held;
    const TSize device = deviceSize({paper.Width(), paper.Height()}, scale, ppi);
    checkSize(device);
    const auto protect = ProtectBitmapCanvases();
    out.SetSize(device.cx, device.cy, TPixelFormat::pf24bit);
    std::optional<TResolutionCanvas> own;
    if (ppi != kScreenDpi)
        own.emplace(out, ppi);
    TCanvas& canvas = own ? *own : out.Canvas();
    PaintSheet(canvas, {0, 0}, data, scale);
}

}  // namespace

}  // namespace orvella
