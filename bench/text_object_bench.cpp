// Text objects: laying out and painting a face of twenty texts (some
// vertical, one on an arc, one distorted) on the screen at 100 % and for a
// 600-dpi print band, and laying out a thousand characters.

#include "graphics/bitmap.h"
#include "objects/lo_shade_text.h"
#include "objects/object_classes.h"
#include "platform/win_math.h"
#include "offscreen_app.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace orvella;

// A 120 mm disc face: 1200 x 1200 logical units.
constexpr int32_t kFace = 1200;

// extras: the arc, the distortion, the shadow and the outline.
std::vector<std::unique_ptr<TLOCurrentText>> makeFace(bool extras = true)
{
    static const char* const kLines[] = {"Summer Live 2026", "夏の記録　ライブ音源集", "Disc 1 / 2",
                                         "01 Opening", "02 海辺の街で", "03 Night Drive",
                                         "04 風のうた", "05 Encore"};
    std::vector<std::unique_ptr<TLOCurrentText>> texts;
    for (int i = 0; i < 20; ++i) {
        auto text = std::make_unique<TLOCurrentText>();
        // Twenty characters each, four hundred in all.
        std::string line = kLines[i % 8];
        text->SetText({line, "ｱｲｳｴｵ 12345"});
        text->Font().SetSize(10 + i % 5 * 4);
        text->SetBoundsRect({50 + i % 4 * 280, 50 + i / 4 * 220, 50 + i % 4 * 280 + 270, 50 + i / 4 * 220 + 200});
        if (i % 5 == 1)
            text->SetVertical(true);
        if (i % 7 == 3)
            text->SetAngle(30);
        texts.push_back(std::move(text));
    }
    if (!extras)
        return texts;
    texts[0]->SetBoundsRect({200, 200, 1000, 500});
    texts[0]->SetBulge(200);
    texts[0]->SetAlign(1);
    texts[1]->CoonsDistortion().SetIdentityPattern();
    texts[1]->CoonsDistortion().SetPoint(TCoonsDistortion::ceTop, 0, {0, 0.3L});
    texts[2]->SetShadow(8);
    texts[3]->SetOutline(true);
    texts[3]->SetOutLineWidth(3);
    return texts;
}

void paintFace(benchmark::State& state, int32_t dpi, bool extras = true)
{
    bench::OffscreenApplication();
    RegisterObjectClasses();
    auto texts = makeFace(extras);
    const int32_t pixels = MulDiv(kFace, dpi, 254);
    TBitmap bitmap(pixels, pixels);
    TCanvas& canvas = bitmap.Canvas();
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({254, 254});
    canvas.SetViewportExt({dpi, dpi});
    for (auto _ : state) {
        std::memset(bitmap.Bits(), 0xFF, bitmap.ByteCount());
        for (auto& text : texts)
            text->PaintContent(canvas);
        benchmark::ClobberMemory();
    }
}

void BM_PaintTextFaceScreen(benchmark::State& state) { paintFace(state, 96); }
BENCHMARK(BM_PaintTextFaceScreen)->Unit(benchmark::kMillisecond);

// The same texts without arc, distortion, shadow and outline: what plain
// glyph output costs.
void BM_PaintPlainTextFaceScreen(benchmark::State& state) { paintFace(state, 96, false); }
BENCHMARK(BM_PaintPlainTextFaceScreen)->Unit(benchmark::kMillisecond);

void BM_PaintTextFace600Dpi(benchmark::State& state) { paintFace(state, 600); }
BENCHMARK(BM_PaintTextFace600Dpi)->Unit(benchmark::kMillisecond);

void BM_LayoutThousandCharacters(benchmark::State& state)
{
    bench::OffscreenApplication();
    std::vector<std::string> lines;
    for (int i = 0; i < 25; ++i)
        lines.push_back("トラック" + std::to_string(i) + " Track title of forty chars..");
    TSimpleText text;
    text.SetCharSpacing(2);
    for (auto _ : state) {
        // A change of spacing drops the cached widths, as editing does.
        text.SetCharSpacing(text.CharSpacing() == 2 ? 3 : 2);
        text.SetText(lines);
        benchmark::DoNotOptimize(text.TextBounds({0, 0, 3000, 3000}));
    }
}
BENCHMARK(BM_LayoutThousandCharacters)->Unit(benchmark::kMicrosecond);

}  // namespace
