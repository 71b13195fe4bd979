#pragma once
// Windows BMP files: reading every layout a file may hold (1, 4, 8, 16, 24
// and 32 bits, RLE4 and RLE8, bit fields, the old core header, bottom-up
// and top-down rows) into a TBitmap, and writing 8, 24 and 32-bit files.
// Every size in a header is checked against the data before anything is
// allocated.

#include "graphics/bitmap.h"

#include <string>
#include <string_view>

namespace orvella {

// A BMP file ("BM" file header, then the info header). 1, 4 and 8-bit files
// give an 8-bit bitmap with their palette; 24-bit files a 24-bit one; 32-bit
// files without bit fields a 32-bit one; any other layout is converted to
// 24 bits.
void ReadBmp(std::string_view bytes, TBitmap& bitmap);

// A device-independent bitmap without the file header (the clipboard's
// form): info header, colour table, pixels.
void ReadDib(std::string_view bytes, TBitmap& bitmap);

// An icon image: a DIB of twice the image height holding the colour image
// and then the 1-bit AND mask. Gives a 32-bit bitmap whose fourth byte is
// the opacity (0 where the mask hides the pixel, the image's own alpha for
// 32-bit images that carry one).
void ReadIconDib(std::string_view bytes, TBitmap& bitmap);

// A complete bottom-up BMP file of the bitmap's format, with its palette
// for 8 bits.
std::string WriteBmp(const TBitmap& bitmap);

}  // namespace orvella
