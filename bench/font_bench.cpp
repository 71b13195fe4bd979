// Laying out and drawing 1,000 Japanese characters at 24 pt on a 600-dpi
// page, horizontally and in vertical "@" runs: the work of repainting or
// printing a face full of text.

#include "platform/font_engine.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace orvella;

constexpr int kEmPixels = 24 * 600 / 72;  // 24 pt at 600 dpi
const char* const kLine = "ディスクラベル（縦書き）ー。音楽の記録、二〇二六年";  // 25 characters
constexpr int kLines = 40;                                                     // 1,000 characters

QGuiApplication& application()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(argc, argv);
    return app;
}

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
    application();
    const bool vertical = state.range(0) != 0;
    for (auto _ : state) {
        const auto fresh = font(vertical);  // a new font object has no run cache
        for (int line = 0; line < kLines; ++line)
            benchmark::DoNotOptimize(fresh->Layout(std::string(kLine) + std::to_string(line)));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * 25);
}
BENCHMARK(BM_LayoutThousandCharacters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Filling the cached outlines, anti-aliased, on an A4 page at 600 dpi.
void BM_DrawThousandCharacters(benchmark::State& state)
{
    application();
    const bool vertical = state.range(0) != 0;
    const auto drawing = font(vertical);
    QImage page(4961, 7016, QImage::Format_RGB32);
    page.fill(Qt::white);
    std::vector<std::shared_ptr<const TGlyphRun>> runs;
    for (int line = 0; line < kLines; ++line)
        runs.push_back(drawing->Layout(kLine));
    for (auto _ : state) {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int line = 0; line < kLines; ++line) {
            const double offset = 100 + line * 170;
            const QTransform transform = vertical ? RunTransform(2700, 4861 - offset * 0.6, 100)
                                                  : RunTransform(0, 100, offset);
            for (const TPlacedGlyph& glyph : runs[std::size_t(line)]->Glyphs)
                painter.fillPath(transform.map(glyph.Path), Qt::black);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * 25);
}
BENCHMARK(BM_DrawThousandCharacters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
