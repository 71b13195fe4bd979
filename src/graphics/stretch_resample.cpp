#include "graphics/stretch_resample.h"

#include <algorithm>
#include <vector>

namespace orvella {

namespace {

// For one axis: the source range [first, last] each target pixel covers, with
// weights in 1/256 of a source pixel.
struct Tap {
    int32_t first;
    std::vector<int32_t> weights;
};

std::vector<Tap> axisTaps(int32_t sourceStart, int32_t sourceLength, int32_t targetLength)
{
    std::vector<Tap> taps(static_cast<std::size_t>(targetLength));
    for (int32_t i = 0; i < targetLength; ++i) {
        // Target pixel i covers source [i * s / t, (i + 1) * s / t) in 1/256 units.
        const int64_t from = int64_t(i) * sourceLength * 256 / targetLength;
        const int64_t to = std::max<int64_t>(from + 1, int64_t(i + 1) * sourceLength * 256 / targetLength);
        Tap& tap = taps[std::size_t(i)];
        tap.first = sourceStart + int32_t(from / 256);
        for (int64_t cell = from / 256; cell * 256 < to; ++cell) {
            const int64_t a = std::max(from, cell * 256);
            const int64_t b = std::min(to, cell * 256 + 256);
            tap.weights.push_back(int32_t(b - a));
        }
    }
    return taps;
}

}  // namespace

void HalftoneResample(TPixelSurface& source, const TRect& sourceRect, TBitmap& target)
{
    const int32_t width = target.Width();
    const int32_t height = target.Height();
    const int32_t sourceWidth = sourceRect.Right - sourceRect.Left;
    const int32_t sourceHeight = sourceRect.Bottom - sourceRect.Top;
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return;
    const auto columns = axisTaps(sourceRect.Left, sourceWidth, width);
    const auto rows = axisTaps(sourceRect.Top, sourceHeight, height);
    const TPixelFormat format = source.PixelFormat();
    for (int32_t y = 0; y < height; ++y) {
        const Tap& rowTap = rows[std::size_t(y)];
        uint8_t* out = target.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            const Tap& columnTap = columns[std::size_t(x)];
            int64_t sum[3] = {0, 0, 0};
            int64_t total = 0;
            for (std::size_t j = 0; j < rowTap.weights.size(); ++j) {
                const int32_t sy = std::clamp(rowTap.first + int32_t(j), 0, source.Height() - 1);
                const uint8_t* row = source.Row(sy);
                for (std::size_t i = 0; i < columnTap.weights.size(); ++i) {
                    const int32_t sx = std::clamp(columnTap.first + int32_t(i), 0, source.Width() - 1);
                    const int64_t weight = int64_t(rowTap.weights[j]) * columnTap.weights[i];
                    const TColor color = source.PixelToColor(ReadPixel(row, sx, format));
                    sum[0] += GetBValue(color) * weight;
                    sum[1] += GetGValue(color) * weight;
                    sum[2] += GetRValue(color) * weight;
                    total += weight;
                }
            }
            const uint32_t pixel = uint32_t((sum[0] + total / 2) / total) |
                                   (uint32_t((sum[1] + total / 2) / total) << 8) |
                                   (uint32_t((sum[2] + total / 2) / total) << 16);
            WritePixel(out, x, TPixelFormat::pf32bit, pixel);
        }
    }
}

}  // namespace orvella
