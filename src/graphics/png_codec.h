#pragma once
// PNG through libpng's in-memory reader and writer.

#include "graphics/bitmap.h"

#include <string>
#include <string_view>

namespace orvella {

// Decodes into a 32-bit bitmap whose fourth byte is the opacity. hasAlpha
// tells whether the file carries any transparency at all. Samples of 16-bit
// files are taken as they are stored (no gamma conversion) and scaled to 8
// bits with Scale16To8.
void DecodePng(std::string_view bytes, TBitmap& bitmap, bool& hasAlpha);

// Encodes an 8, 24 or 32-bit bitmap; with keepAlpha a 32-bit bitmap's
// fourth byte is written as the opacity, otherwise the file is opaque RGB.
std::string EncodePng(const TBitmap& bitmap, bool keepAlpha = false);

bool IsPng(std::string_view bytes) noexcept;

// A 16-bit sample as 8 bits: round(v * 255 / 65535), as libpng's
// png_set_scale_16 and other readers reduce it.
constexpr uint8_t Scale16To8(uint16_t v) { return uint8_t((uint32_t(v) * 255 + 32767) / 65535); }

}  // namespace orvella
