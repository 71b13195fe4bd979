// The drawing layer's hot paths: anti-aliased lines into masks, and filling a
// whole A4 page at 600 dpi through the canvas next to the memset that bounds it.

#include "graphics/aa_line.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

namespace {

using namespace orvella;

// Lines of the given length in pixels at a spread of angles.
void BM_AntiAliasedLine(benchmark::State& state)
{
    const int length = int(state.range(0));
    TBitmap mask(256, 256, TPixelFormat::pf8bit);
    TAALineAlphaMap line;
    line.SetBitmap(mask);
    int angle = 0;
    for (auto _ : state) {
        const double radians = angle * 0.0174533;
        line.MoveTo(128, 128);
        line.LineTo(128 + int(length * std::cos(radians)), 128 + int(length * std::sin(radians)));
        angle = (angle + 7) % 360;
        benchmark::DoNotOptimize(mask.Bits());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("items = lines");
}
BENCHMARK(BM_AntiAliasedLine)->Arg(1)->Arg(10)->Arg(100);

constexpr int32_t kA4Width = 4961;
constexpr int32_t kA4Height = 7016;

void BM_FillA4At600DpiThroughCanvas(benchmark::State& state)
{
    TBitmap page(kA4Width, kA4Height, TPixelFormat::pf32bit);
    TCanvas& canvas = page.Canvas();
    canvas.Brush().Color = RGB(0x12, 0x34, 0x56);
    for (auto _ : state) {
        canvas.FillRect({0, 0, kA4Width, kA4Height});
        benchmark::DoNotOptimize(page.Bits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(page.ByteCount()));
}
BENCHMARK(BM_FillA4At600DpiThroughCanvas)->Unit(benchmark::kMillisecond);

void BM_FillA4At600DpiMemset(benchmark::State& state)
{
    TBitmap page(kA4Width, kA4Height, TPixelFormat::pf32bit);
    for (auto _ : state) {
        std::memset(page.Bits(), 0x5A, page.ByteCount());
        benchmark::DoNotOptimize(page.Bits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(page.ByteCount()));
}
BENCHMARK(BM_FillA4At600DpiMemset)->Unit(benchmark::kMillisecond);

}  // namespace
