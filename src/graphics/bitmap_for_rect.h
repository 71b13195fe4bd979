#pragma once
// Off-screen bitmaps for the visible part of a logical rectangle, whose canvas
// already maps the same logical coordinates at the same scale.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"

#include <memory>
#include <optional>

namespace orvella {

// The clip box of canvas grown by margin on every side and cut to rect gives
// the area; drawing at its logical top-left lands on pixel (0, 0). With
// copyBackground the canvas's pixels there are copied in first.
std::unique_ptr<TBitmap> CreateBitmapForRect(TCanvas& canvas, const TRect& rect, TPixelFormat pixelFormat,
                                             int32_t margin, bool copyBackground,
                                             const std::optional<std::vector<TColor>>& palette = std::nullopt);

}  // namespace orvella
