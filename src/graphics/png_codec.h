#pragma once
// PNG through libpng's in-memory reader and writer.

#include "graphics/bitmap.h"

#include <string>
#include <string_view>

namespace orvella {

// Decodes into a 32-bit bitmap whose fourth byte is the opacity. hasAlpha
// tells whether the file carries any transparency at all.
void DecodePng(std::string_view bytes, TBitmap& bitmap, bool& hasAlpha);

// Encodes an 8, 24 or 32-bit bitmap; with keepAlpha a 32-bit bitmap's
// fourth byte is written as the opacity, otherwise the file is opaque RGB.
std::string EncodePng(const TBitmap& bitmap, bool keepAlpha = false);

bool IsPng(std::string_view bytes) noexcept;

}  // namespace orvella
