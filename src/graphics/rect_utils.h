#pragma once
// Rectangle, size and rounding helpers shared by everything that lays out or
// draws. Rectangles are Left, Top, Right, Bottom with Right and Bottom
// exclusive; products that can pass 32 bits at printer resolutions are taken
// in 64 bits.

#include "graphics/graphics_types.h"

namespace orvella {

int32_t RectWidth(const TRect& r);
int32_t RectHeight(const TRect& r);
TPoint RectCenter(const TRect& r);
TRect CenterRectAt(const TRect& r, TPoint center);
TRect OffsetRect(const TRect& r, int32_t dx, int32_t dy);
TRect InflateRect(const TRect& r, int32_t dx, int32_t dy);

// Aspect-preserving size of r inside w x h, placed at r's top-left.
TRect FitSize(const TRect& r, int32_t w, int32_t h);
TRect FitRect(const TRect& r, const TRect& box);
// Aspect-preserving size of r covering w x h, placed at r's top-left.
TRect CoverSize(const TRect& r, int32_t w, int32_t h);
TRect CoverRect(const TRect& r, const TRect& box);

TRect NormalizeRect(const TRect& r);
// The intersection; an empty result is (0, 0, 0, 0), as Windows gives it.
TRect IntersectRect(const TRect& a, const TRect& b);
TRect UnionRect(const TRect& a, const TRect& b);
bool RectInside(const TRect& a, const TRect& b);
bool PtInRect(const TRect& r, TPoint p);
TPoint ClampPoint(TPoint p, const TRect& r);

// Floating value to the nearest integer, halves away from zero.
int32_t RoundHalfAway(long double x);

// a * b / c rounded half away from zero, all in 64 bits; -1 for a zero divisor.
int64_t MulDiv64(int64_t a, int64_t b, int64_t c);

}  // namespace orvella
