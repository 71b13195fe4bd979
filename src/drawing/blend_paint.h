#pragma once
// Blending an object's off-screen image into the bitmap a canvas draws on,
// through an 8-bit coverage mask and a ratio in percent.

#include "graphics/bitmap.h"
#include "graphics/graphics_types.h"

namespace orvella {

// image and mask are the same size and land at device position at of
// target; only pixels inside clip (device) and the target change. Mask 255
// and ratio 100 copy the image pixel. The picture layer's ratio blender
// does the arithmetic, so objects blend as text fills and backgrounds do.
void BlendThroughMask(TBitmap& target, const TRect& clip, TPoint at, TBitmap& image, TBitmap& mask, int32_t ratio);

}  // namespace orvella
