// Mapping a distorted text's flattened outline through its pattern: the
// work a distorted text does on every paint after a change.

#include "graphics/canvas_tools.h"
#include "graphics/stroke.h"
#include "objects/coons_distortion.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace orvella;

constexpr int32_t kPoints = 10000;

// A flag: two smooth crests on the top and bottom edges.
void MakeFlag(TCoonsDistortion& pattern)
{
    pattern.SetIdentityPattern();
    const long double xs[] = {0, 0.2L, 0.5L, 0.8L, 1};
    const long double ys[] = {0, -0.15L, 0.15L, -0.15L, 0};
    pattern.SetEdgeCount(TCoonsDistortion::ceTop, 5);
    pattern.SetEdgeCount(TCoonsDistortion::ceBottom, 5);
    for (int32_t i = 0; i < 5; ++i) {
        pattern.SetPoint(TCoonsDistortion::ceTop, i, {xs[i], ys[i]});
        pattern.SetPoint(TCoonsDistortion::ceBottom, i, {xs[i], 1 + ys[i]});
        const bool smooth = i > 0 && i < 4;
        pattern.SetSmooth(TCoonsDistortion::ceTop, i, smooth);
        pattern.SetSmooth(TCoonsDistortion::ceBottom, i, smooth);
    }
}

// Glyph-like closed loops spread over a line of text 6000 x 1000 wide.
TStroke MakeOutline()
{
    TStroke outline;
    constexpr int32_t kLoops = 40;
    constexpr int32_t kPerLoop = kPoints / kLoops;
    for (int32_t loop = 0; loop < kLoops; ++loop) {
        const double cx = 75 + loop * 150, cy = 500;
        for (int32_t i = 0; i < kPerLoop; ++i) {
            const double a = 2 * 3.14159265358979 * i / kPerLoop;
            outline.AddPoint(int32_t(cx + 60 * std::cos(a)), int32_t(cy + 420 * std::sin(3 * a) * std::cos(a)),
                             i == 0 ? PT_MOVETO : PT_LINETO);
        }
    }
    return outline;
}

void BM_DistortOutline(benchmark::State& state)
{
    TCoonsDistortion pattern;
    MakeFlag(pattern);
    pattern.ApplyRatio(80);
    pattern.SetSourceRect({0, 0, 6000, 1000});
    pattern.SetTargetRect({100, 100, 3100, 800});
    const TStroke outline = MakeOutline();
    TStroke mapped;
    for (auto _ : state) {
        mapped.Assign(outline);
        pattern.TransformStroke(mapped);
        benchmark::DoNotOptimize(mapped.Points(kPoints / 2));
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_DistortOutline)->Unit(benchmark::kMicrosecond);

}  // namespace
