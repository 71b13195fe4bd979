// Filling a 120 mm face (1200 logical units) with each gradient kind, on the
// screen at 96 dpi (the 128-pixel map stretched) and on a 600-dpi printer
// page (resampled to one pixel per logical unit, then stretched).

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/color_fill.h"
#include "offscreen_app.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvella;

constexpr int32_t kFace = 1200;  // 0.1 mm

class TPrinterPage : public TCanvas {
public:
    using TCanvas::TCanvas;
    int32_t DeviceResolution() const override { return 600; }
    TDeviceTechnology Technology() const override { return TDeviceTechnology::RasterPrinter; }
};

void BM_FillFaceWithGradient(benchmark::State& state)
{
    bench::OffscreenApplication();
    const auto kind = TGradKind(state.range(0));
    const int32_t dpi = int32_t(state.range(1));
    const int32_t pixels = MulDiv(kFace, dpi, 254);
    TBitmap bitmap(pixels, pixels, TPixelFormat::pf24bit);
    TPrinterPage printer(&bitmap);
    TCanvas& canvas = dpi > 96 ? static_cast<TCanvas&>(printer) : bitmap.Canvas();
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({254, 254});
    canvas.SetViewportExt({dpi, dpi});

    TColorSpec fill;
    fill.SetKind(TColorSpecKind::cskGradation);
    fill.SetGradKind(kind);
    fill.SetGradAngle(45);
    fill.GradColors().SetColors({RGB(255, 40, 40), RGB(250, 220, 40), RGB(30, 90, 220)});
    for (auto _ : state)
        fill.Fill(canvas, {0, 0, kFace, kFace});
    state.SetLabel(std::to_string(dpi) + " dpi");
}

BENCHMARK(BM_FillFaceWithGradient)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {96, 600}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
