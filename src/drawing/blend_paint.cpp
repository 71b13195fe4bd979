#include "drawing/blend_paint.h"

#include "graphics/rect_utils.h"

#include <algorithm>

namespace orvella {

namespace {

int32_t bytesPerPixel(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf24bit: return 3;
    case TPixelFormat::pf32bit: return 4;
    default: return 0;
    }
}

}  // namespace

void BlendThroughMask(TBitmap& target, const TRect& clip, TPoint at, const TBitmap& image, const TBitmap& mask,
                      int32_t ratio)
{
    const int32_t targetBytes = bytesPerPixel(target.PixelFormat());
    const int32_t imageBytes = bytesPerPixel(image.PixelFormat());
    if (targetBytes == 0 || imageBytes == 0 || mask.PixelFormat() != TPixelFormat::pf8bit)
        return;
    ratio = std::clamp(ratio, 0, 100);
    const int32_t width = std::min(image.Width(), mask.Width());
    const int32_t height = std::min(image.Height(), mask.Height());
    const TRect area = IntersectRect(IntersectRect(clip, {0, 0, target.Width(), target.Height()}),
                                     {at.x, at.y, at.x + width, at.y + height});
    if (area.IsEmpty())
        return;
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        uint8_t* out = target.Row(y);
        const uint8_t* in = image.Row(y - at.y);
        const uint8_t* cover = mask.Row(y - at.y);
        for (int32_t x = area.Left; x < area.Right; ++x) {
            const int32_t sx = x - at.x;
            // Coverage in 0..25500: the mask times the ratio.
            const int32_t weight = cover[sx] * ratio;
            if (weight == 0)
                continue;
            uint8_t* d = out + std::size_t(x) * targetBytes;
            const uint8_t* s = in + std::size_t(sx) * imageBytes;
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t(d[c] + ((s[c] - d[c]) * weight + (s[c] >= d[c] ? 12750 : -12750)) / 25500);
        }
    }
}

}  // namespace orvella
