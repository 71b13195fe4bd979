#pragma once
// Small helpers for the picture tests: bitmaps filled from a function,
// pixel comparisons, and ImageMagick as the independent reader and writer.

#include "graphics/bitmap.h"

#include <functional>
#include <string>
#include <vector>

namespace orvella::test {

// A bitmap whose pixel (x, y) is colour(x, y).
void FillBitmap(TBitmap& bitmap, const std::function<TColor(int32_t x, int32_t y)>& colour);
// A 24-bit test pattern with different red, green and blue ramps.
void FillPattern(TBitmap& bitmap);

// The first pixel where the colours differ by more than tolerance in a
// channel, as "x,y: want #... got #...", or "" when none does.
std::string FirstDifference(const TBitmap& want, const TBitmap& got, int tolerance = 0);

// Runs ImageMagick's convert (the Debian one, by its full path) with the
// arguments; true when it succeeded.
bool Magick(const std::vector<std::string>& arguments);
// ImageMagick's count of differing pixels between two picture files (-1 when
// it could not compare); fuzz in percent.
long MagickDifference(const std::string& a, const std::string& b, int fuzzPercent = 0);

}  // namespace orvella::test
