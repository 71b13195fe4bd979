#include "graphics/pixel_surface.h"

namespace orvella {

int BytesPerPixel(TPixelFormat format) { return int(format) / 8; }

int32_t RowStride(int32_t width, TPixelFormat format)
{
    return int32_t(((int64_t(width) * int(format) + 31) / 32) * 4);
}

const std::vector<TColor>& TPixelSurface::Palette() const
{
    static const std::vector<TColor> none;
    return none;
}

uint32_t TPixelSurface::ColorToPixel(TColor color) const
{
    if (PixelFormat() == TPixelFormat::pf8bit)
        return NearestIndex(color);
    return uint32_t(GetBValue(color)) | (uint32_t(GetGValue(color)) << 8) | (uint32_t(GetRValue(color)) << 16);
}

TColor TPixelSurface::PixelToColor(uint32_t pixel) const
{
    if (PixelFormat() == TPixelFormat::pf8bit) {
        const auto& palette = Palette();
        if (pixel < palette.size())
            return palette[pixel];
        return RGB(uint8_t(pixel), uint8_t(pixel), uint8_t(pixel));
    }
    return RGB(uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel));
}

uint8_t TPixelSurface::NearestIndex(TColor color) const
{
    const auto& palette = Palette();
    if (palette.empty())
        return uint8_t((GetRValue(color) * 77 + GetGValue(color) * 150 + GetBValue(color) * 29 + 128) >> 8);
    int best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
        const int dr = int(GetRValue(palette[i])) - GetRValue(color);
        const int dg = int(GetGValue(palette[i])) - GetGValue(color);
        const int db = int(GetBValue(palette[i])) - GetBValue(color);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
            if (distance == 0)
                break;
        }
    }
    return uint8_t(best);
}

}  // namespace orvella
