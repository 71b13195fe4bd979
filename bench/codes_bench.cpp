// The QR Code encoder: a 200-byte payload (the size the comparison with
// `qrencode` uses; time `qrencode -l M -o /dev/null` over the same bytes) and
// a version 40 symbol, each encoded and rendered with the mask chosen by the
// penalty evaluation; and a JAN symbol drawn on a printer band.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/jan_code.h"
#include "objects/qr_code.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace orvella;

std::string Payload(std::size_t length)
{
    std::string data;
    for (std::size_t i = 0; data.size() < length; ++i)
        data += "https://example.org/label?id=" + std::to_string(i) + "&";
    data.resize(length);
    return data;
}

void EncodeAndRender(benchmark::State& state, std::size_t length, char level)
{
    const std::string data = Payload(length);
    TQRCode code;
    code.SetErrorCorrectLevel(level);
    for (auto _ : state) {
        code.SetData(data);
        code.Invalidate();
        code.Update();
        benchmark::DoNotOptimize(code.Bitmap().Bits());
    }
    state.SetLabel("version " + std::to_string(code.Symbol() ? code.Symbol()->Version : 0));
}

void BM_QR200Bytes(benchmark::State& state) { EncodeAndRender(state, 200, 'M'); }
void BM_QRVersion40(benchmark::State& state) { EncodeAndRender(state, 2331, 'M'); }

BENCHMARK(BM_QR200Bytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QRVersion40)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// A 30 mm x 10 mm JAN symbol on a 600 dpi band, with its digits and with
// the bars alone.
void DrawJAN(benchmark::State& state, bool digits)
{
    using namespace orvella;
    const int32_t width = 709;
    const int32_t height = 236;
    TBitmap band(width, height);
    band.Canvas().Font().Height = -60;
    for (auto _ : state) {
        DrawJANCode(band.Canvas(), "4901234567894", {0, 0, width, height}, false, digits, 0);
        benchmark::DoNotOptimize(band.Bits());
    }
}

void BM_JANOn600DpiBand(benchmark::State& state) { DrawJAN(state, true); }
void BM_JANBarsOn600DpiBand(benchmark::State& state) { DrawJAN(state, false); }

BENCHMARK(BM_JANOn600DpiBand)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JANBarsOn600DpiBand)->Unit(benchmark::kMicrosecond);

}  // namespace
