#pragma once
// Rotation of a bitmap by any whole angle, resting on the mapping of a
// bitmap rectangle onto any quadrilateral (nearest neighbour, no smoothing).

#include "graphics/bitmap.h"

namespace orvella {

// Maps sourceRect of source onto the quadrilateral p0 p1 p2 p3 (p0 takes the
// rectangle's top-left, p1 its top-right, p2 its bottom-right, p3 its
// bottom-left). destination becomes a new bitmap of the source's format and
// palette covering the quadrilateral's bounding box, filled with background
// outside it; the box before its shift to the origin is returned. Nothing
// happens (an empty box is returned) for an empty source or a rectangle that
// does not lie inside it.
TRect MapBitmapToQuad(TBitmap& destination, TPoint p0, TPoint p1, TPoint p2, TPoint p3,
                      const TBitmap& source, const TRect& sourceRect, TColor background);

// Rotates source by angle whole degrees (clockwise on screen for positive
// angles) into destination, sized to the rotated bounding box. size is the
// rectangle, before rotation, onto which the whole source is mapped: normally
// the source's own size, anything else stretches it.
void RotateBitmap(const TBitmap& source, TBitmap& destination, int angle, TColor background, TSize size);

// RotateBitmap with a white background. A transparent source comes with its
// mask (white = transparent, any pixel format; null or empty for an opaque
// source): the mask is rotated the same way as a 24-bit bitmap with white
// corners into destinationMask. For an opaque source destinationMask, when
// given, is emptied.
void RotateBitmapKeepTransparency(const TBitmap& source, const TBitmap* sourceMask, TBitmap& destination,
                                  TBitmap* destinationMask, int angle, TSize size);

}  // namespace orvella
