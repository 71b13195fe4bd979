// Opening the system paper catalog happens at every start; the layout
// checks run each time the paper editor finishes a paper.

#include "graphics/graphics_types.h"
#include "paper/face_info.h"
#include "paper/papers.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvella;

void BM_OpenSystemCatalog(benchmark::State& state)
{
    for (auto _ : state) {
        TPapersV2 catalog(ORVELLA_PAPER_CATALOG, true, true);
        catalog.AddStandardSections();
        benchmark::DoNotOptimize(catalog.Count());
    }
}
BENCHMARK(BM_OpenSystemCatalog)->Unit(benchmark::kMillisecond);

void BM_FindOverlappingFace(benchmark::State& state)
{
    TMatrixPaperInfo paper;
    paper.PortraitWidth = 2100;
    paper.PortraitHeight = 2970;
    paper.FaceCountX = int32_t(state.range(0));
    paper.FaceCountY = int32_t(state.range(0));
    paper.FaceWidth = paper.FaceHeight = 2000 / int32_t(state.range(0)) - 10;
    paper.RightMargin = paper.BottomMargin = 10;
    paper.Face.FaceShape = fsDoughnut;
    for (auto _ : state)
        benchmark::DoNotOptimize(FindOverlappingFace(paper));
    state.SetItemsProcessed(state.iterations() * paper.GetFaceCount());
}
BENCHMARK(BM_FindOverlappingFace)->Arg(1)->Arg(2)->Arg(7)->Unit(benchmark::kMicrosecond);

}  // namespace
