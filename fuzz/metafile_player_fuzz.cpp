// Metafile pictures come from documents, files and the clipboard: every
// record of an enhanced or placeable Windows metafile is played onto a
// small bitmap. Playing must end, stay inside the picture's rectangle and
// leave the canvas's state as it was.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/metafile_player.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// Fonts named by the metafile are looked up through fontconfig, which keeps
// allocations of its own that the leak checker cannot see reaching.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvella::TBitmap bitmap(48, 48, orvella::TPixelFormat::pf24bit);
    std::memset(bitmap.Bits(), 0x7F, bitmap.ByteCount());
    orvella::TCanvas& canvas = bitmap.Canvas();
    orvella::PlayMetafile(canvas, bytes, {8, 8, 40, 40});
    if (canvas.MapMode() != orvella::MM_TEXT || canvas.ClipRegion().has_value() || canvas.PathOpen())
        __builtin_trap();
    // Nothing outside the rectangle was touched.
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 48; ++x)
            if ((x < 8 || y < 8 || x >= 40 || y >= 40) && bitmap.GetPixelColor(x, y) != 0x7F7F7F)
                __builtin_trap();
    return 0;
}
