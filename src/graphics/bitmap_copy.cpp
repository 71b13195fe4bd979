#include "graphics/bitmap_copy.h"

#include <cstring>

namespace orvella {

void CopyBitmap(const TBitmap& source, TBitmap& target)
{
    if (&source == &target)
        return;
    target.SetSize(source.Width(), source.Height(), source.PixelFormat());
    if (source.PixelFormat() == TPixelFormat::pf8bit)
        target.SetPalette(source.Palette());
    if (source.ByteCount() > 0)
        std::memcpy(target.Bits(), source.Row(0), source.ByteCount());
}

void ConvertTo24(const TBitmap& source, TBitmap& target)
{
    if (source.PixelFormat() == TPixelFormat::pf24bit) {
        CopyBitmap(source, target);
        return;
    }
    TBitmap converted(source.Width(), source.Height(), TPixelFormat::pf24bit);
    for (int32_t y = 0; y < source.Height(); ++y) {
        const uint8_t* in = source.Row(y);
        uint8_t* out = converted.Row(y);
        for (int32_t x = 0; x < source.Width(); ++x) {
            if (source.PixelFormat() == TPixelFormat::pf32bit) {
                std::memcpy(out + 3 * x, in + 4 * x, 3);
            } else {
                const TColor c = source.PixelToColor(in[x]);
                out[3 * x] = GetBValue(c);
                out[3 * x + 1] = GetGValue(c);
                out[3 * x + 2] = GetRValue(c);
            }
        }
    }
    CopyBitmap(converted, target);
}

}  // namespace orvella
