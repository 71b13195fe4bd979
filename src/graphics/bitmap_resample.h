#pragma once
// Resampling a rectangle of a bitmap into a bitmap of another size: nearest
// neighbour, linear or cubic (Catmull-Rom) interpolation when enlarging, an
// area average when shrinking. Integer fixed point throughout; 8-bit bitmaps
// are resampled as one channel of palette indices, 24- and 32-bit bitmaps
// byte by byte.

#include "graphics/bitmap.h"

namespace orvella {

// How pixels beyond the source rectangle are fetched by the filters.
enum class TResampleEdge : int {
    Clamp = 0,   // the nearest row or column of the rectangle
    Extend = 1,  // the bitmap's own pixels around the rectangle, clamped at its edges
    Wrap = 2,    // positions taken modulo the rectangle's size (tiling)
};

enum class TResampleQuality : int {
    Nearest = 0,
    Linear = 1,
    Cubic = 2,
};

// Fills destination (its size chosen by the caller) from sourceRect of
// source. The destination takes the source's pixel format (and palette).
// Nothing happens when either bitmap is empty or the rectangle does not lie
// wholly inside the source. Source and destination may be the same bitmap.
void ResampleBitmap(TBitmap& destination, const TBitmap& source, const TRect& sourceRect,
                    TResampleEdge edge, TResampleQuality quality);

// The same over any pixel surface (one read of each row address, no copy).
void ResampleBitmap(TBitmap& destination, TPixelSurface& source, const TRect& sourceRect,
                    TResampleEdge edge, TResampleQuality quality);

// The whole source into the destination's size, edges clamped.
void ResampleWhole(TBitmap& destination, const TBitmap& source, TResampleQuality quality);

}  // namespace orvella
