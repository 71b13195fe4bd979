#include "graphics/scaler.h"

#include "graphics/memory_canvas.h"
#include "graphics/rect_utils.h"

#include <numeric>

namespace orvella {

namespace {

int64_t greatestCommonDivisor(int64_t a, int64_t b) { return b == 0 ? a : greatestCommonDivisor(b, a % b); }

}  // namespace

TScaler::TScaler() = default;

void TScaler::changed()
{
    if (OnChange)
        OnChange();
}

void TScaler::SetScale(int32_t scale)
{
    if (scale == scale_)
        return;
    scale_ = scale;
    changed();
}

void TScaler::SetUnitDPI(int32_t unitDPI)
{
    if (unitDPI == unitDPI_)
        return;
    unitDPI_ = unitDPI;
    changed();
}

void TScaler::Assign(const TScaler& source)
{
    scale_ = source.scale_;
    unitDPI_ = source.unitDPI_;
    changed();
}

TPoint TScaler::LogicalToDevice(const TCanvas& canvas, TPoint p) const
{
    const int64_t a = int64_t(CanvasPixelsPerInch(canvas)) * scale_;
    const int64_t b = int64_t(unitDPI_) * 100;
    return {CheckedInt32(MulDiv64(p.x, a, b)), CheckedInt32(MulDiv64(p.y, a, b))};
}

TPoint TScaler::DeviceToLogical(const TCanvas& canvas, TPoint p) const
{
    const int64_t a = int64_t(CanvasPixelsPerInch(canvas)) * scale_;
    const int64_t b = int64_t(unitDPI_) * 100;
    return {CheckedInt32(MulDiv64(p.x, b, a)), CheckedInt32(MulDiv64(p.y, b, a))};
}

TRect TScaler::LogicalRectToDevice(const TCanvas& canvas, const TRect& r) const
{
    const int64_t a = int64_t(CanvasPixelsPerInch(canvas)) * scale_;
    const int64_t b = int64_t(unitDPI_) * 100;
    return {CheckedInt32(Div64(a * r.Left, b)), CheckedInt32(Div64(a * r.Top, b)),
            CheckedInt32(Div64(b + a * r.Right - 1, b)), CheckedInt32(Div64(b + a * r.Bottom - 1, b))};
}

void TScaler::PrepareCanvas(TCanvas& canvas, int32_t d) const
{
    const TCoordMap old = canvas.Mapping();
    canvas.SetWindowOrg({0, 0});
    canvas.SetViewportOrg({0, 0});
    const TPoint oldOrigin = canvas.LPtoDP(old.WindowOrg);
    const TPoint offset{old.ViewportOrg.x - oldOrigin.x, old.ViewportOrg.y - oldOrigin.y};

    if (d == 0)
        d = CanvasPixelsPerInch(canvas);
    const int64_t window = int64_t(unitDPI_) * 100;
    const int64_t viewport = int64_t(d) * scale_;
    const int64_t g = greatestCommonDivisor(window, viewport);
    canvas.SetMapMode(MM_ANISOTROPIC);
    const int32_t windowExtent = CheckedInt32(Div64(window, g));
    const int32_t viewportExtent = CheckedInt32(Div64(viewport, g));
    canvas.SetWindowExt({windowExtent, windowExtent});
    canvas.SetViewportExt({viewportExtent, viewportExtent});
    canvas.SetViewportOrg(offset);

    if (canvas.Font().PixelsPerInch != unitDPI_)
        canvas.Font().SetPixelsPerInch(unitDPI_);
}

int32_t CanvasPixelsPerInch(const TCanvas& canvas)
{
    if (const auto* memory = dynamic_cast<const TMemoryCanvas*>(&canvas); memory && memory->PixelsPerInch() != 0)
        return memory->PixelsPerInch();
    return canvas.DeviceResolution();
}

bool IsPrintingCanvas(const TCanvas& canvas)
{
    const TDeviceTechnology technology = canvas.Technology();
    return technology == TDeviceTechnology::RasterPrinter || technology == TDeviceTechnology::Plotter;
}

void CopyCanvasTools(TCanvas& dst, const TCanvas& src)
{
    dst.SetCopyMode(src.CopyMode());
    dst.Font() = src.Font();
    dst.Pen() = src.Pen();
    dst.Brush() = src.Brush();
}

}  // namespace orvella
