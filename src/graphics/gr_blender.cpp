#include "graphics/gr_blender.h"

#include "platform/win_math.h"

#include <algorithm>
#include <vector>

namespace orvella {

namespace {

// trunc(a × d / 255) for every alpha a and difference d + 255 (0 … 510),
// built once.
const std::vector<int16_t>& BlendTable()
{
    static const auto table = [] {
        std::vector<int16_t> t(256 * 511);
        for (int a = 0; a < 256; ++a)
            for (int d = -255; d <= 255; ++d)
                t[std::size_t(a) * 511 + std::size_t(d + 255)] = int16_t(a * d / 255);
        return t;
    }();
    return table;
}

bool IsBlendFormat(const TBitmap* bitmap)
{
    return bitmap && (bitmap->PixelFormat() == TPixelFormat::pf24bit || bitmap->PixelFormat() == TPixelFormat::pf32bit);
}

// Moves the rectangle's edges inside (0, 0, width, height) and the same
// amounts on the partner rectangles.
void ClipTogether(TRect& own, int32_t width, int32_t height, TRect& a, TRect& b)
{
    const int32_t left = std::max(0, -own.Left), top = std::max(0, -own.Top);
    const int32_t right = std::max(0, own.Right - width), bottom = std::max(0, own.Bottom - height);
    for (TRect* r : {&own, &a, &b}) {
        r->Left += left;
        r->Top += top;
        r->Right -= right;
        r->Bottom -= bottom;
    }
}

}  // namespace

bool TGRBlender::CanBlend() const
{
    return IsBlendFormat(Dest) && IsBlendFormat(Source) && Dest->PixelFormat() == Source->PixelFormat() &&
           AlphaMap && AlphaMap->PixelFormat() == TPixelFormat::pf8bit;
}

void TGRBlender::Execute()
{
    if (!CanBlend())
        return;
    TRect dest = DestRect, source = SourceRect, alpha = AlphaMapRect;
    if (alpha.Left < 0 || alpha.Top < 0 || alpha.Right > AlphaMap->Width() || alpha.Bottom > AlphaMap->Height())
        return;
    ClipTogether(source, Source->Width(), Source->Height(), dest, alpha);
    ClipTogether(dest, Dest->Width(), Dest->Height(), source, alpha);
    auto width = [](const TRect& r) { return r.Right - r.Left; };
    auto height = [](const TRect& r) { return r.Bottom - r.Top; };
    if (dest.IsEmpty() || source.IsEmpty() || alpha.IsEmpty())
        return;
    if (width(dest) != width(source) || height(dest) != height(source) || width(dest) != width(alpha) ||
        height(dest) != height(alpha))
        return;
    const auto& table = BlendTable();
    const int bpp = BytesPerPixel(Dest->PixelFormat());
    const int32_t rows = height(dest);
    if (Progress)
        Progress->Begin(rows / 64 + 1);
    for (int32_t y = 0; y < rows; ++y) {
        uint8_t* d = Dest->Row(dest.Top + y) + std::size_t(dest.Left) * bpp;
        const uint8_t* s = Source->Row(source.Top + y) + std::size_t(source.Left) * bpp;
        const uint8_t* m = AlphaMap->Row(alpha.Top + y) + alpha.Left;
        for (int32_t x = 0; x < width(dest); ++x) {
            const std::size_t row = std::size_t(Alpha(m[x])) * 511;
            for (int c = 0; c < 3; ++c) {
                uint8_t& target = d[bpp * x + c];
                target = uint8_t(target + table[row + std::size_t(s[bpp * x + c] - target + 255)]);
            }
        }
        if (Progress && (y + 1) % 64 == 0)
            Progress->Step();
    }
    if (Progress)
        Progress->End();
}

uint8_t TGRBlendAlphaMapRatio::Alpha(uint8_t mapValue) const
{
    const int ratio = std::clamp(Ratio, 0, 100);
    return uint8_t(std::min(255, MulDiv(mapValue, ratio, 100)));
}

}  // namespace orvella
