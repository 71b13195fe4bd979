// Bitmap transforms on a 4000 x 3000 photo, the work scripts/bench-images
// also hands to ImageMagick and libvips: area-average shrink, linear
// enlargement, Gaussian blur, rotation and JPEG decoding.
//
// ORVELLA_BENCH_PHOTO names the JPEG to use; without it a photo-like picture
// is made and encoded here.

#include "graphics/bitmap.h"
#include "graphics/bitmap_resample.h"
#include "graphics/bitmap_rotate.h"
#include "graphics/gaussian_blur.h"
#include "graphics/jpeg_codec.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace orvella;

constexpr int32_t kWidth = 4000;
constexpr int32_t kHeight = 3000;

// Smooth colour waves with fine texture, so that JPEG has work to do.
void MakePhoto(TBitmap& bitmap)
{
    bitmap.SetSize(kWidth, kHeight, TPixelFormat::pf24bit);
    uint32_t state = 12345;
    for (int32_t y = 0; y < kHeight; ++y) {
        uint8_t* row = bitmap.Row(y);
        for (int32_t x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) {
                state = state * 1664525u + 1013904223u;
                const double wave = 127 + 100 * std::sin(x * (0.003 + 0.001 * c)) * std::cos(y * 0.004 + c);
                row[3 * x + c] = uint8_t(std::clamp(wave + double(state >> 28) - 8, 0.0, 255.0));
            }
    }
}

const std::string& PhotoJpeg()
{
    static const std::string bytes = [] {
        if (const char* path = std::getenv("ORVELLA_BENCH_PHOTO")) {
            std::ifstream file(path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(file), {});
        }
        TBitmap photo;
        MakePhoto(photo);
        return EncodeJpeg(photo, 90);
    }();
    return bytes;
}

const TBitmap& Photo()
{
    static const TBitmap* photo = [] {
        auto* bitmap = new TBitmap;
        DecodeJpeg(PhotoJpeg(), *bitmap);
        return bitmap;
    }();
    return *photo;
}

void Finish(benchmark::State& state, const TBitmap& source)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.Width()) * source.Height() * 3);
}

void BM_AreaDownscaleTo1000x750(benchmark::State& state)
{
    const TBitmap& photo = Photo();
    TBitmap out(1000, 750);
    for (auto _ : state) {
        ResampleWhole(out, photo, TResampleQuality::Linear);
        benchmark::DoNotOptimize(out.Bits());
    }
    Finish(state, photo);
}
BENCHMARK(BM_AreaDownscaleTo1000x750)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_LinearUpscaleTwice(benchmark::State& state)
{
    const TBitmap& photo = Photo();
    TBitmap out(2 * photo.Width(), 2 * photo.Height());
    for (auto _ : state) {
        ResampleWhole(out, photo, TResampleQuality::Linear);
        benchmark::DoNotOptimize(out.Bits());
    }
    Finish(state, photo);
}
BENCHMARK(BM_LinearUpscaleTwice)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_GaussianBlur(benchmark::State& state)
{
    const TBitmap& photo = Photo();
    const double radius = double(state.range(0));
    TBitmap work(photo.Width(), photo.Height());
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.Bits(), photo.Row(0), photo.ByteCount());
        state.ResumeTiming();
        GaussianBlur(work, {0, 0, work.Width(), work.Height()}, radius, radius);
        benchmark::DoNotOptimize(work.Bits());
    }
    Finish(state, photo);
}
BENCHMARK(BM_GaussianBlur)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_Rotate30Degrees(benchmark::State& state)
{
    const TBitmap& photo = Photo();
    TBitmap out;
    for (auto _ : state) {
        RotateBitmap(photo, out, 30, clWhite, {photo.Width(), photo.Height()});
        benchmark::DoNotOptimize(out.Bits());
    }
    Finish(state, photo);
}
BENCHMARK(BM_Rotate30Degrees)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_JpegDecode(benchmark::State& state)
{
    const std::string& bytes = PhotoJpeg();
    TBitmap out;
    for (auto _ : state) {
        DecodeJpeg(bytes, out);
        benchmark::DoNotOptimize(out.Bits());
    }
    Finish(state, Photo());
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace
