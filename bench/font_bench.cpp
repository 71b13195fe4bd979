// Laying out and drawing 1,000 Japanese characters at 24 pt on a 600-dpi
// page, horizontally and in vertical "@" runs: the work of repainting or
// printing a face full of text.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "platform/fonts/font_engine.h"
#include "offscreen_app.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvella;

constexpr int kEmPixels = 24 * 600 / 72;  // 24 pt at 600 dpi
const char* const kLine = "ディスクラベル（縦書き）ー。音楽の記録、二〇二六年";  // 25 characters
constexpr int kLines = 40;                                                     // 1,000 characters

std::shared_ptr<const IFont> font(bool vertical)
{
    TLogFont logFont;
    logFont.FaceName = vertical ? "@ＭＳ 明朝" : "ＭＳ 明朝";
    logFont.Height = -kEmPixels;
    logFont.Escapement = vertical ? 2700 : 0;
    return FontEngine().CreateFont(logFont);
}

// Shaping and building outlines for every line, as after a change of text.
void BM_LayoutThousandCharacters(benchmark::State& state)
{
    bench::OffscreenApplication();
    const bool vertical = state.range(0) != 0;
    for (auto _ : state) {
        const auto fresh = font(vertical);  // a new font object has no run cache
        for (int line = 0; line < kLines; ++line)
            benchmark::DoNotOptimize(fresh->Layout(std::string(kLine) + std::to_string(line)));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * 25);
}
BENCHMARK(BM_LayoutThousandCharacters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Drawing through the canvas, anti-aliased, on an A4 page at 600 dpi; the
// runs are in the font's cache after the first round, as when a face repaints.
void BM_DrawThousandCharacters(benchmark::State& state)
{
    bench::OffscreenApplication();
    const bool vertical = state.range(0) != 0;
    TBitmap page(4961, 7016, TPixelFormat::pf32bit);
    TCanvas& canvas = page.Canvas();
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, page.Width(), page.Height()});
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.Font().Name = vertical ? "@ＭＳ 明朝" : "ＭＳ 明朝";
    canvas.Font().Height = -kEmPixels;
    canvas.Font().Orientation = vertical ? 2700 : 0;
    for (auto _ : state) {
        for (int line = 0; line < kLines; ++line) {
            const int32_t offset = 100 + line * 170;
            if (vertical)
                canvas.TextOut(4861 - offset * 6 / 10, 100, kLine);
            else
                canvas.TextOut(100, offset, kLine);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * 25);
}
BENCHMARK(BM_DrawThousandCharacters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
