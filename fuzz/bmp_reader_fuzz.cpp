// BMP files come from the user's disk, the clipboard and compressed bitmaps.

#include "graphics/bmp_codec.h"
#include "graphics/picture_error.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvella::TBitmap bitmap;
    try {
        orvella::ReadBmp(bytes, bitmap);
    } catch (const orvella::EInvalidGraphic&) {
        return 0;
    }
    // Whatever was read writes and reads back to the same pixels.
    orvella::TBitmap back;
    orvella::ReadBmp(orvella::WriteBmp(bitmap), back);
    if (back.Width() != bitmap.Width() || back.Height() != bitmap.Height() || back.PixelFormat() != bitmap.PixelFormat())
        __builtin_trap();
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            if (back.GetPixelColor(x, y) != bitmap.GetPixelColor(x, y))
                __builtin_trap();
    return 0;
}
