#include "graphics/stretch_resample.h"

#include "graphics/bitmap_resample.h"

#include <cstring>

namespace orvella {

void HalftoneResample(TPixelSurface& source, const TRect& sourceRect, TBitmap& target)
{
    const int32_t width = target.Width();
    const int32_t height = target.Height();
    const int32_t sourceWidth = sourceRect.Right - sourceRect.Left;
    const int32_t sourceHeight = sourceRect.Bottom - sourceRect.Top;
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 || sourceRect.Left < 0 ||
        sourceRect.Top < 0 || sourceRect.Right > source.Width() || sourceRect.Bottom > source.Height())
        return;
    if (source.PixelFormat() == TPixelFormat::pf32bit) {
        ResampleBitmap(target, source, sourceRect, TResampleEdge::Clamp, TResampleQuality::Linear);
    } else {
        // Palette indices cannot be averaged, and the target is 32-bit: the
        // rectangle is first turned into 32-bit colour.
        TBitmap colour(sourceWidth, sourceHeight, TPixelFormat::pf32bit);
        const TPixelFormat format = source.PixelFormat();
        for (int32_t y = 0; y < sourceHeight; ++y) {
            const uint8_t* in = source.Row(sourceRect.Top + y);
            uint8_t* out = colour.Row(y);
            for (int32_t x = 0; x < sourceWidth; ++x) {
                const TColor color = source.PixelToColor(ReadPixel(in, sourceRect.Left + x, format));
                WritePixel(out, x, TPixelFormat::pf32bit,
                           uint32_t(GetBValue(color)) | (uint32_t(GetGValue(color)) << 8) | (uint32_t(GetRValue(color)) << 16));
            }
        }
        ResampleWhole(target, colour, TResampleQuality::Linear);
    }
    // The fourth byte of the target is left zero, as the stretch has always left it.
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = target.Row(y);
        for (int32_t x = 0; x < width; ++x)
            row[4 * x + 3] = 0;
    }
}

}  // namespace orvella
