#pragma once
// Pixel work the picture objects share: grey levels of any bitmap format,
// nearest-neighbour stretching of a picture or mask into the part of an
// 8-bit coverage bitmap that a logical rectangle covers, and the framed
// picture with its black-and-white mask.

#include "graphics/bitmap.h"

#include <array>

namespace orvella {

// The reserved colours of a frame picture: the window through which the
// picture shows, and the area outside the frame that becomes see-through.
inline constexpr TColor kFrameWindowColor = 0xF0F0F0;
inline constexpr TColor kFrameOutsideColor = 0x607090;

// The grey level of a pixel of an 8-, 24- or 32-bit bitmap: the mean of its
// three channels, rounded (the nearest entry of a grey ramp).
uint8_t GreyAt(const TBitmap& bitmap, int32_t x, int32_t y);

enum class TCoverageOp {
    Copy,     // coverage := grey of the source
    Invert,   // coverage := 255 - grey (a white-is-transparent mask)
    And,      // coverage := coverage AND grey
};

// Stretches source over logical (in the logical units of coverage's canvas)
// with nearest-neighbour sampling and combines it into the 8-bit coverage
// bitmap; pixels of coverage outside the rectangle are left alone.
void StretchIntoCoverage(TBitmap& coverage, const TRect& logical, const TBitmap& source, TCoverageOp op);

// Sets every byte of the 8-bit coverage bitmap to value.
void FillCoverage(TBitmap& coverage, uint8_t value);
// Sets the pixels of coverage inside logical (its canvas's units) to value.
void FillCoverageRect(TBitmap& coverage, const TRect& logical, uint8_t value);

// A 24-bit copy of frame stretched (nearest neighbour) to width x height.
void StretchNearest24(const TBitmap& source, TBitmap& target, int32_t width, int32_t height);

// Lays frame over image (both 24-bit, frame any size, stretched to the
// image) and updates mask (24-bit, white = see-through, of the image's
// size): frame pixels other than the window colour cover the picture and
// are opaque; pixels of the outside colour become see-through.
void LayFrameOver(TBitmap& image, TBitmap& mask, const TBitmap& frame);

// Makes the pixels of image white where mask is white, as drawing through a
// mask wants them.
void WhitenMasked(TBitmap& image, const TBitmap& mask);

// The rectangle's corners (top-left, top-right, bottom-right, bottom-left)
// turned by angle degrees about its centre ((left + right) div 2,
// (top + bottom) div 2), and the bounding box of such corners.
std::array<TPoint, 4> TurnRectCorners(const TRect& rect, int32_t angle);
TRect CornersBounds(const std::array<TPoint, 4>& corners);

// True when every pixel of a black-and-white mask is black.
bool MaskIsOpaque(const TBitmap& mask);

}  // namespace orvella
