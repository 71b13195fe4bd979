// Metafile playback at print resolution: a clip-art picture of about 2,000
// records (filled polygons, curves, ellipses and their tools) played into a
// 600 dpi printing band of a 60 mm picture.

#include "../tests/graphics/metafile_test_bytes.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/metafile_player.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

namespace {

using namespace orvella;
using namespace orvella::test;

std::string ClipArt(int32_t penWidth)
{
    std::vector<std::string> records;
    records.push_back(EmfRecord(17, {8}));             // anisotropic
    records.push_back(EmfRecord(9, {10000, 10000}));   // window
    records.push_back(EmfRecord(11, {1000, 1000}));    // viewport
    records.push_back(EmfRecord(38, {1, 0, penWidth, 0, 0x202020}));
    records.push_back(EmfRecord(37, {1}));
    for (int shape = 0; records.size() < 2000; ++shape) {
        const int32_t cx = 500 + (shape * 1237) % 9000, cy = 500 + (shape * 2741) % 9000;
        const int32_t colour = int32_t((shape * 0x3A5F17) & 0xFFFFFF);
        records.push_back(EmfRecord(39, {2, 0, colour, 0}));
        records.push_back(EmfRecord(37, {2}));
        switch (shape % 3) {
        case 0: {
            std::string body(16, '\0');
            const int points = 24;
            PutLe(body, points);
            for (int i = 0; i < points; ++i) {
                const double a = i * 6.2831853 / points, r = (i % 2 ? 300 : 700);
                PutLe(body, uint16_t(int16_t(cx + r * std::cos(a))), 2);
                PutLe(body, uint16_t(int16_t(cy + r * std::sin(a))), 2);
            }
            records.push_back(EmfRecordBytes(86, body));
            break;
        }
        case 1:
            records.push_back(EmfRecord(42, {cx - 400, cy - 300, cx + 400, cy + 300}));
            break;
        default: {
            records.push_back(EmfRecord(59, {}));
            std::string body(16, '\0');
            PutLe(body, 7);
            for (int v : {cx - 500, cy, cx - 300, cy - 600, cx + 300, cy - 600, cx + 500, cy, cx + 300, cy + 600,
                          cx - 300, cy + 600, cx - 500, cy})
                PutLe(body, uint16_t(int16_t(v)), 2);
            records.push_back(EmfRecordBytes(85, body));
            records.push_back(EmfRecord(61, {}));
            records.push_back(EmfRecord(60, {}));
            records.push_back(EmfRecord(63, {0, 0, 0, 0}));
            break;
        }
        }
        records.push_back(EmfRecord(40, {2}));
    }
    return Emf(1000, 1000, records);
}

// Argument: the outline width in the picture's units: 20 is an outline of
// about 3 pixels at 600 dpi, 1 a one-pixel hairline.
void BM_PlayClipArt600DpiBand(benchmark::State& state)
{
    const std::string emf = ClipArt(int32_t(state.range(0)));
    // 60 mm at 600 dpi is 1417 pixels; the band is 512 rows of it.
    TBitmap band(1417, 512, TPixelFormat::pf24bit);
    for (auto _ : state) {
        std::memset(band.Bits(), 0xFF, band.ByteCount());
        PlayMetafile(band.Canvas(), emf, {0, -400, 1417, 1017});
        benchmark::DoNotOptimize(band.Bits());
    }
}
BENCHMARK(BM_PlayClipArt600DpiBand)->Arg(20)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
