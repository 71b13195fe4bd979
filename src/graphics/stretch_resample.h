#pragma once
// The stand-in for the half-tone stretch: each target pixel is the area
// average of the source pixels it covers. Kept apart so that the program's
// own resampler can take its place.

#include "graphics/bitmap.h"

namespace orvella {

// Resamples sourceRect of source (device pixels, inside the surface) into
// target, a 32-bit bitmap of the wanted size.
void HalftoneResample(TPixelSurface& source, const TRect& sourceRect, TBitmap& target);

}  // namespace orvella
