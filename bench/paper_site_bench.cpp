// Painting a paper site with all its faces (selected fill, white holes,
// numbers and captions) onto a bitmap at screen and at printer resolution,
// as the sheet view and its previews do: the two-disc paper and the paper
// with the most faces of the compiled catalog.

#include "document/paper_site.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "paper/papers.h"
#include "platform/win_math.h"
#include "offscreen_app.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace orvella;

TPapersV2& catalog()
{
    static TPapersV2 papers(ORVELLA_PAPER_CATALOG, true, true);
    return papers;
}

// 0: the first paper with a disc face; 1: the paper with the most faces.
const TPaperInfo& paperFor(int64_t which)
{
    const TPapersV2& papers = catalog();
    const TPaperInfo* chosen = &papers.Papers(0);
    for (int i = 0; i < papers.Count(); ++i) {
        const TPaperInfo& paper = papers.Papers(i);
        if (which == 0 && paper.GetFaceCount() > 0 && ShapeHasCenterHole(paper.GetFaceShape(0)))
            return paper;
        if (which == 1 && paper.GetFaceCount() > chosen->GetFaceCount())
            chosen = &paper;
    }
    return *chosen;
}

void BM_PaintPaperSite(benchmark::State& state)
{
    bench::OffscreenApplication();
    const TPaperInfo& paper = paperFor(state.range(0));
    const int32_t dpi = int32_t(state.range(1));
    TPaperSite site;
    site.SetDrawInfo(true);
    site.ShowPaper(&paper);
    for (int i = 0; i < site.FaceCount(); i += 2)
        site.SelectFace(i);

    // The bitmap's canvas works at 96 pixels per inch; the zoom makes up
    // the rest.
    const int32_t zoom = MulDiv(100, dpi, 96);
    const int32_t width = MulDiv(paper.Width(), dpi, 254);
    const int32_t height = MulDiv(paper.Height(), dpi, 254);
    TBitmap bitmap(width, height);
    for (auto _ : state) {
        bitmap.Canvas().Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
        bitmap.Canvas().FillRect({0, 0, width, height});
        site.DrawTo(bitmap.Canvas(), {0, 0}, zoom);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    state.counters["faces"] = site.FaceCount();
    state.SetLabel(paper.PaperName);
}

BENCHMARK(BM_PaintPaperSite)
    ->ArgsProduct({{0, 1}, {96, 600}})
    ->ArgNames({"paper", "dpi"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
