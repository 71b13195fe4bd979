#pragma once
// The rectangle of an object turned about its centre (the codes): its
// corners, bounding box, hit test, outline and the resize of a turned
// rectangle. The corners are the inclusive pixels (Left, Top),
// (Right - 1, Top), (Right - 1, Bottom - 1), (Left, Bottom - 1).

#include "graphics/graphics_types.h"

#include <array>

namespace orvella {

class TCanvas;
class TRotator;

std::array<TPoint, 4> RotatedCorners(const TRect& rect, const TRotator& rotator);
// Right and Bottom exclusive; the rectangle itself when the angle is 0.
TRect RotatedBounds(const TRect& rect, const TRotator& rotator);
// Inside the turned polygon (winding rule).
bool HitsRotatedRect(const TRect& rect, const TRotator& rotator, TPoint point);
// The turned rectangle as a filled polygon with the canvas's pen and brush.
void FillRotatedRect(TCanvas& canvas, const TRect& rect, const TRotator& rotator);
// The turned rectangle as a closed line with the canvas's pen.
void OutlineRotatedRect(TCanvas& canvas, const TRect& rect, const TRotator& rotator);
// The unturned size that gives the requested bounding extent: the request
// itself at angle 0, else the size scaled by request / current bounds.
TSize ExtentForBounds(const TRect& rect, const TRotator& rotator, int32_t width, int32_t height);

}  // namespace orvella
