// Block transfers: pattern fills, copies and stretches with raster operations.

#include "graphics/canvas.h"

#include "graphics/bitmap.h"
#include "graphics/canvas_paint.h"
#include "graphics/rect_utils.h"
#include "graphics/stretch_resample.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace orvella {

namespace {

bool usesSource(uint32_t rop)
{
    const unsigned table = (rop >> 16) & 0xFF;
    return ((table >> 2) & 0x33) != (table & 0x33);
}

// Source index of each of count target pixels when length source pixels
// starting at start are spread over them (nearest pixel; mirrored when asked).
std::vector<int32_t> nearestMap(int32_t start, int32_t length, int32_t count, bool mirrored)
{
    std::vector<int32_t> map(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t offset = int32_t((int64_t(2 * i + 1) * length) / (int64_t(2) * count));
        map[std::size_t(i)] = mirrored ? start + length - 1 - offset : start + offset;
    }
    return map;
}

}  // namespace

void TCanvas::transfer(const TRect& dest, TPixelSurface* source, const std::vector<int32_t>& columns,
                       const std::vector<int32_t>& rows, uint32_t rop)
{
    TPixelSurface* surface = Surface();
    if (!surface)
        return;
    const TRect area = IntersectRect(dest, drawableBounds());
    if (area.IsEmpty())
        return;
    const TPixelFormat format = surface->PixelFormat();
    const uint32_t mask = format == TPixelFormat::pf8bit ? 0xFF : format == TPixelFormat::pf24bit ? 0xFFFFFF : 0xFFFFFFFF;

    // The pattern: the brush, hatches over the background colour.
    const uint32_t brushPixel = surface->ColorToPixel(state_.Brush.Color);
    const uint32_t backPixel = surface->ColorToPixel(state_.BkColor);
    const bool hatched = state_.Brush.Style != TBrushStyle::bsSolid && state_.Brush.Style != TBrushStyle::bsClear;

    // A copy within one surface reads the pixels as they were before it.
    std::optional<TBitmap> snapshot;
    if (source && source == surface) {
        snapshot.emplace(source->Width(), source->Height(), source->PixelFormat());
        for (int32_t y = 0; y < source->Height(); ++y)
            std::copy_n(source->Row(y), RowStride(source->Width(), source->PixelFormat()), snapshot->Row(y));
        source = &*snapshot;
    }
    const TPixelFormat sourceFormat = source ? source->PixelFormat() : format;
    const bool rawSource = sourceFormat == format ||
                           (sourceFormat != TPixelFormat::pf8bit && format != TPixelFormat::pf8bit);
    uint32_t cachedRaw = 0, cachedPixel = 0;
    bool cacheValid = false;
    auto convert = [&](uint32_t raw) {
        if (rawSource)
            return raw;
        if (!cacheValid || raw != cachedRaw) {
            cachedRaw = raw;
            cachedPixel = surface->ColorToPixel(source->PixelToColor(raw));
            cacheValid = true;
        }
        return cachedPixel;
    };

    // A plain copy between surfaces of one format at one scale moves whole
    // runs of bytes: what a double-buffered repaint does with every frame.
    const int bytesPerPixel = BytesPerPixel(format);
    bool straightCopy = source && rop == SRCCOPY && sourceFormat == format && !columns.empty();
    for (std::size_t i = 1; straightCopy && i < columns.size(); ++i)
        straightCopy = columns[i] == columns[0] + int32_t(i);

    const auto* clip = state_.Clip ? &clipRows() : nullptr;
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        const uint8_t* sourceRow = nullptr;
        if (source) {
            const int32_t sy = rows[std::size_t(y - dest.Top)];
            if (sy < 0 || sy >= source->Height())
                continue;
            sourceRow = source->Row(sy);
        }
        uint8_t* row = surface->Row(y);
        auto run = [&](int32_t x0, int32_t x1) {
            if (straightCopy) {
                // Columns outside the source are left alone, as below.
                const int64_t shift = int64_t(columns[0]) - dest.Left;
                x0 = int32_t(std::max<int64_t>(x0, -shift));
                x1 = int32_t(std::min<int64_t>(x1, int64_t(source->Width()) - shift));
                if (x1 > x0)
                    std::copy_n(sourceRow + (x0 + shift) * bytesPerPixel, std::size_t(x1 - x0) * bytesPerPixel,
                                row + std::size_t(x0) * bytesPerPixel);
                return;
            }
            for (int32_t x = x0; x < x1; ++x) {
                uint32_t s = 0;
                if (sourceRow) {
                    const int32_t sx = columns[std::size_t(x - dest.Left)];
                    if (sx < 0 || sx >= source->Width())
                        continue;
                    s = convert(ReadPixel(sourceRow, sx, sourceFormat));
                }
                const uint32_t p = hatched && !HatchBit(state_.Brush.Style, x, y) ? backPixel : brushPixel;
                const uint32_t d = ReadPixel(row, x, format);
                WritePixel(row, x, format, RasterOp3(rop, p, s, d) & mask);
            }
        };
        if (!clip) {
            run(area.Left, area.Right);
            continue;
        }
        for (const auto& [left, right] : (*clip)[std::size_t(y - clipRowsTop_)])
            run(std::max(left, area.Left), std::min(right, area.Right));
    }
}

void TCanvas::PatBlt(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop)
{
    const TRect dest = LPtoDP(TRect{x, y, x + width, y + height});
    if (rop == PATCOPY && state_.Brush.Style == TBrushStyle::bsSolid) {
        TSpanPaint paint = brushPaint();
        paint.mix = R2_COPYPEN;
        paintRect(dest, paint);
        return;
    }
    transfer(dest, nullptr, {}, {}, rop);
}

void TCanvas::BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx, int32_t sy,
                     uint32_t rop)
{
    TCanvas::StretchBlt(x, y, width, height, source, sx, sy, width, height, rop);
}

void TCanvas::StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx,
                         int32_t sy, int32_t sourceWidth, int32_t sourceHeight, uint32_t rop)
{
    const TPoint d0 = LPtoDP(TPoint{x, y});
    const TPoint d1 = LPtoDP(TPoint{CheckedInt32(int64_t(x) + width), CheckedInt32(int64_t(y) + height)});
    const TRect dest = NormalizeRect({d0.x, d0.y, d1.x, d1.y});
    if (dest.IsEmpty())
        return;
    if (!usesSource(rop)) {
        transfer(dest, nullptr, {}, {}, rop);
        return;
    }
    TPixelSurface* sourceSurface = source.Surface();
    if (!sourceSurface)
        return;
    const TPoint s0 = source.LPtoDP(TPoint{sx, sy});
    const TPoint s1 = source.LPtoDP(TPoint{CheckedInt32(int64_t(sx) + sourceWidth), CheckedInt32(int64_t(sy) + sourceHeight)});
    const TRect from = NormalizeRect({s0.x, s0.y, s1.x, s1.y});
    if (from.IsEmpty())
        return;
    const bool mirrorX = (d1.x < d0.x) != (s1.x < s0.x);
    const bool mirrorY = (d1.y < d0.y) != (s1.y < s0.y);
    const int32_t destWidth = RectWidth(dest), destHeight = RectHeight(dest);
    const bool sameSize = destWidth == RectWidth(from) && destHeight == RectHeight(from);

    if (state_.StretchBltMode == HALFTONE && !sameSize) {
        const TRect inside = IntersectRect(from, {0, 0, sourceSurface->Width(), sourceSurface->Height()});
        if (inside != from)
            return;
        TBitmap resampled(destWidth, destHeight, TPixelFormat::pf32bit);
        HalftoneResample(*sourceSurface, from, resampled);
        transfer(dest, &resampled, nearestMap(0, destWidth, destWidth, mirrorX),
                 nearestMap(0, destHeight, destHeight, mirrorY), rop);
        return;
    }
    transfer(dest, sourceSurface, nearestMap(from.Left, RectWidth(from), destWidth, mirrorX),
             nearestMap(from.Top, RectHeight(from), destHeight, mirrorY), rop);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect)
{
    StretchBlt(dest.Left, dest.Top, RectWidth(dest), RectHeight(dest), source, sourceRect.Left, sourceRect.Top,
               RectWidth(sourceRect), RectHeight(sourceRect), state_.CopyMode);
}

}  // namespace orvella
