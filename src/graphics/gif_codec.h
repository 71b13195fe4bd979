#pragma once
// GIF through giflib: the first image of the file on its logical screen.

#include "graphics/bitmap.h"
#include "graphics/graphics_types.h"

#include <string_view>

namespace orvella {

// Decodes into an 8-bit bitmap of the screen's size with the image's colour
// table. transparentIndex is the palette index the file marks transparent,
// or -1.
void DecodeGif(std::string_view bytes, TBitmap& bitmap, int& transparentIndex);

bool IsGif(std::string_view bytes) noexcept;

}  // namespace orvella
