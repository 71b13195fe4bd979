#pragma once
// Whole-bitmap copies: as they are, or converted to 24 bits (palette
// entries looked up, the fourth byte of 32-bit pixels dropped).

#include "graphics/bitmap.h"

namespace orvella {

void CopyBitmap(const TBitmap& source, TBitmap& target);
void ConvertTo24(const TBitmap& source, TBitmap& target);

}  // namespace orvella
