#include "drawing/blend_paint.h"

#include "graphics/gr_blender.h"
#include "graphics/rect_utils.h"

#include <algorithm>
#include <cstring>

namespace orvella {

namespace {

// The image in the target's pixel format (the blender blends like with
// like); a 32-bit copy gets a zero fourth byte.
TBitmap* inTargetFormat(TBitmap& image, TPixelFormat format, TBitmap& converted)
{
    if (image.PixelFormat() == format)
        return &image;
    if (image.PixelFormat() != TPixelFormat::pf24bit || format != TPixelFormat::pf32bit)
        return nullptr;
    converted.SetSize(image.Width(), image.Height(), format);
    for (int32_t y = 0; y < image.Height(); ++y) {
        const uint8_t* in = image.Row(y);
        uint8_t* out = converted.Row(y);
        for (int32_t x = 0; x < image.Width(); ++x)
            std::memcpy(out + 4 * std::size_t(x), in + 3 * std::size_t(x), 3);
    }
    return &converted;
}

}  // namespace

void BlendThroughMask(TBitmap& target, const TRect& clip, TPoint at, TBitmap& image, TBitmap& mask, int32_t ratio)
{
    const int32_t width = std::min(image.Width(), mask.Width());
    const int32_t height = std::min(image.Height(), mask.Height());
    const TRect area = IntersectRect(IntersectRect(clip, {0, 0, target.Width(), target.Height()}),
                                     {at.x, at.y, at.x + width, at.y + height});
    if (area.IsEmpty())
        return;
    TBitmap converted;
    TBitmap* source = inTargetFormat(image, target.PixelFormat(), converted);
    if (!source)
        return;
    TGRBlendAlphaMapRatio blender;
    blender.Dest = &target;
    blender.DestRect = area;
    blender.Source = source;
    blender.SourceRect = OffsetRect(area, -at.x, -at.y);
    blender.AlphaMap = &mask;
    blender.AlphaMapRect = blender.SourceRect;
    blender.Ratio = ratio;
    blender.Execute();
}

}  // namespace orvella
