// Picture decoding and effects at photo size: a 4000 × 3000 JPEG made once
// from a synthetic scene, decoded through the picture reader.

#include "graphics/gr_effector.h"
#include "graphics/jpeg_codec.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using namespace orvella;

void FillScene(TBitmap& bitmap)
{
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.Row(y);
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            row[3 * x] = uint8_t(x * 255 / bitmap.Width());
            row[3 * x + 1] = uint8_t(y * 255 / bitmap.Height());
            row[3 * x + 2] = uint8_t(128 + 127 * std::sin(x * 0.01) * std::cos(y * 0.013));
        }
    }
}

const std::string& PhotoJpeg()
{
    static const std::string jpeg = [] {
        TBitmap scene(4000, 3000, TPixelFormat::pf24bit);
        FillScene(scene);
        return EncodeJpeg(scene, 90);
    }();
    return jpeg;
}

void BM_DecodeJpeg4000x3000(benchmark::State& state)
{
    const std::string& jpeg = PhotoJpeg();
    TBitmap bitmap;
    for (auto _ : state) {
        DecodeJpeg(jpeg, bitmap);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(jpeg.size()));
}
BENCHMARK(BM_DecodeJpeg4000x3000)->Unit(benchmark::kMillisecond);

void BM_BoxBlurPass1000x1000(benchmark::State& state)
{
    TBitmap source(1000, 1000, TPixelFormat::pf24bit), destination;
    FillScene(source);
    for (auto _ : state) {
        TGREffectBlur(source, destination, 1).Execute();
        benchmark::DoNotOptimize(destination.Bits());
    }
}
BENCHMARK(BM_BoxBlurPass1000x1000)->Unit(benchmark::kMillisecond);

}  // namespace
