#pragma once
// Gaussian blur of a bitmap region in place with a recursive (fourth-order
// IIR) filter, so that its cost does not depend on the radius.

#include "graphics/pixel_surface.h"

namespace orvella {

// Blurs rect (clipped to the surface) of an 8-, 24- or 32-bit surface; every
// byte of a pixel is a channel. A radius below 1 leaves that axis alone; the
// Gaussian falls to 1/255 at distance |radius| + 1.
void GaussianBlur(TPixelSurface& bitmap, const TRect& rect, double horizontalRadius, double verticalRadius);

}  // namespace orvella
