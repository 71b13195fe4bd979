#include "graphics/rect_utils.h"

#include "platform/win_math.h"

#include <algorithm>

namespace orvella {

namespace {
__extension__ typedef __int128 Int128;
}  // namespace

int32_t RectWidth(const TRect& r) { return r.Right - r.Left; }
int32_t RectHeight(const TRect& r) { return r.Bottom - r.Top; }

TPoint RectCenter(const TRect& r)
{
    return {int32_t((int64_t(r.Left) + r.Right) / 2), int32_t((int64_t(r.Top) + r.Bottom) / 2)};
}

TRect OffsetRect(const TRect& r, int32_t dx, int32_t dy)
{
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

TRect InflateRect(const TRect& r, int32_t dx, int32_t dy)
{
    return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}

TRect CenterRectAt(const TRect& r, TPoint center)
{
    const TPoint now = RectCenter(r);
    return OffsetRect(r, center.x - now.x, center.y - now.y);
}

TRect FitSize(const TRect& r, int32_t w, int32_t h)
{
    int32_t width = MulDiv(RectWidth(r), h, RectHeight(r));
    int32_t height = h;
    if (width > w) {
        height = MulDiv(RectHeight(r), w, RectWidth(r));
        width = w;
    }
    return {r.Left, r.Top, r.Left + width, r.Top + height};
}

TRect FitRect(const TRect& r, const TRect& box)
{
    return CenterRectAt(FitSize(r, RectWidth(box), RectHeight(box)), RectCenter(box));
}

TRect CoverSize(const TRect& r, int32_t w, int32_t h)
{
    int32_t width = MulDiv(h, RectWidth(r), RectHeight(r));
    int32_t height = h;
    if (width < w) {
        height = MulDiv(w, RectHeight(r), RectWidth(r));
        width = w;
    }
    return {r.Left, r.Top, r.Left + width, r.Top + height};
}

TRect CoverRect(const TRect& r, const TRect& box)
{
    return CenterRectAt(CoverSize(r, RectWidth(box), RectHeight(box)), RectCenter(box));
}

TRect NormalizeRect(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

TRect IntersectRect(const TRect& a, const TRect& b)
{
    const TRect result{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                       std::min(a.Bottom, b.Bottom)};
    return result.IsEmpty() ? TRect{} : result;
}

TRect UnionRect(const TRect& a, const TRect& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

bool RectInside(const TRect& a, const TRect& b)
{
    const TRect both{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                     std::min(a.Bottom, b.Bottom)};
    return both == a;
}

bool PtInRect(const TRect& r, TPoint p)
{
    return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

TPoint ClampPoint(TPoint p, const TRect& r)
{
    return {std::clamp(p.x, r.Left, std::max(r.Left, r.Right)), std::clamp(p.y, r.Top, std::max(r.Top, r.Bottom))};
}

int32_t RoundHalfAway(long double x) { return Round(x); }

int64_t MulDiv64(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return -1;
    // Products here are coordinates times extents, far below 2^63; __int128
    // keeps even hostile values from wrapping.
    Int128 product = Int128(a) * b;
    Int128 divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const Int128 half = divisor / 2;
    return int64_t(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace orvella
