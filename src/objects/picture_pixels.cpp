#include "objects/picture_pixels.h"

#include "graphics/canvas.h"
#include "graphics/rect_utils.h"
#include "objects/transformer.h"
#include "objects/widened_path.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orvella {

namespace {

uint8_t greyOf(uint8_t b, uint8_t g, uint8_t r) { return uint8_t((int(b) + g + r + 1) / 3); }

// The source column (row) for each target column (row) of a stretch of
// sourceLength over targetLength, sampled at pixel centres.
std::vector<int32_t> sampleIndices(int32_t targetLength, int32_t sourceLength, int32_t first, int32_t count)
{
    std::vector<int32_t> indices(std::size_t(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i) {
        const int64_t at = (2 * int64_t(first + i) + 1) * sourceLength / (2 * int64_t(targetLength));
        indices[std::size_t(i)] = int32_t(std::clamp<int64_t>(at, 0, sourceLength - 1));
    }
    return indices;
}

void readBGR(const TBitmap& bitmap, int32_t x, int32_t y, uint8_t& b, uint8_t& g, uint8_t& r)
{
    const uint8_t* row = bitmap.Row(y);
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf8bit: {
        const uint8_t index = row[x];
        const std::vector<TColor>& palette = bitmap.Palette();
        if (index < palette.size()) {
            const TColor c = palette[index];
            r = uint8_t(c & 0xFF);
            g = uint8_t((c >> 8) & 0xFF);
            b = uint8_t((c >> 16) & 0xFF);
        } else {
            b = g = r = index;
        }
        return;
    }
    case TPixelFormat::pf24bit:
        b = row[3 * x];
        g = row[3 * x + 1];
        r = row[3 * x + 2];
        return;
    case TPixelFormat::pf32bit:
        b = row[4 * x];
        g = row[4 * x + 1];
        r = row[4 * x + 2];
        return;
    }
}

TColor colorAt24(const TBitmap& bitmap, int32_t x, int32_t y)
{
    const uint8_t* p = bitmap.Row(y) + 3 * x;
    return TColor(p[2]) | TColor(p[1]) << 8 | TColor(p[0]) << 16;
}

}  // namespace

uint8_t GreyAt(const TBitmap& bitmap, int32_t x, int32_t y)
{
    uint8_t b = 0, g = 0, r = 0;
    readBGR(bitmap, x, y, b, g, r);
    return greyOf(b, g, r);
}

void FillCoverage(TBitmap& coverage, uint8_t value)
{
    for (int32_t y = 0; y < coverage.Height(); ++y)
        std::memset(coverage.Row(y), value, std::size_t(coverage.Width()));
}

void FillCoverageRect(TBitmap& coverage, const TRect& logical, uint8_t value)
{
    const TRect device = NormalizeRect(coverage.Canvas().LPtoDP(logical));
    const TRect inside = IntersectRect(device, {0, 0, coverage.Width(), coverage.Height()});
    for (int32_t y = inside.Top; y < inside.Bottom; ++y)
        std::memset(coverage.Row(y) + inside.Left, value, std::size_t(RectWidth(inside)));
}

void StretchIntoCoverage(TBitmap& coverage, const TRect& logical, const TBitmap& source, TCoverageOp op)
{
    if (source.Width() <= 0 || source.Height() <= 0 || coverage.PixelFormat() != TPixelFormat::pf8bit)
        return;
    const TRect device = NormalizeRect(coverage.Canvas().LPtoDP(logical));
    const int32_t width = RectWidth(device), height = RectHeight(device);
    if (width <= 0 || height <= 0)
        return;
    const TRect inside = IntersectRect(device, {0, 0, coverage.Width(), coverage.Height()});
    if (inside.IsEmpty())
        return;
    const std::vector<int32_t> columns =
        sampleIndices(width, source.Width(), inside.Left - device.Left, RectWidth(inside));
    const std::vector<int32_t> rows = sampleIndices(height, source.Height(), inside.Top - device.Top, RectHeight(inside));
    for (int32_t y = inside.Top; y < inside.Bottom; ++y) {
        uint8_t* out = coverage.Row(y);
        const int32_t sy = rows[std::size_t(y - inside.Top)];
        for (int32_t x = inside.Left; x < inside.Right; ++x) {
            const uint8_t grey = GreyAt(source, columns[std::size_t(x - inside.Left)], sy);
            switch (op) {
            case TCoverageOp::Copy:
                out[x] = grey;
                break;
            case TCoverageOp::Invert:
                out[x] = uint8_t(255 - grey);
                break;
            case TCoverageOp::And:
                out[x] = uint8_t(out[x] & grey);
                break;
            }
        }
    }
}

void StretchNearest24(const TBitmap& source, TBitmap& target, int32_t width, int32_t height)
{
    target.SetSize(width, height, TPixelFormat::pf24bit);
    if (width <= 0 || height <= 0 || source.Width() <= 0 || source.Height() <= 0)
        return;
    const std::vector<int32_t> columns = sampleIndices(width, source.Width(), 0, width);
    const std::vector<int32_t> rows = sampleIndices(height, source.Height(), 0, height);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = target.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            readBGR(source, columns[std::size_t(x)], rows[std::size_t(y)], out[3 * x], out[3 * x + 1], out[3 * x + 2]);
        }
    }
}

void LayFrameOver(TBitmap& image, TBitmap& mask, const TBitmap& frame)
{
    TBitmap stretched;
    StretchNearest24(frame, stretched, image.Width(), image.Height());
    for (int32_t y = 0; y < image.Height(); ++y) {
        uint8_t* pixels = image.Row(y);
        uint8_t* maskRow = mask.Row(y);
        const uint8_t* framePixels = stretched.Row(y);
        for (int32_t x = 0; x < image.Width(); ++x) {
            const TColor color = colorAt24(stretched, x, y);
            if (color == kFrameWindowColor)
                continue;
            std::memcpy(pixels + 3 * x, framePixels + 3 * x, 3);
            // A frame pixel is opaque over see-through parts of the picture,
            // except where it marks the outside of the frame.
            const uint8_t level = color == kFrameOutsideColor ? 255 : 0;
            std::memset(maskRow + 3 * x, level, 3);
        }
    }
}

void WhitenMasked(TBitmap& image, const TBitmap& mask)
{
    for (int32_t y = 0; y < image.Height(); ++y) {
        uint8_t* pixels = image.Row(y);
        for (int32_t x = 0; x < image.Width(); ++x)
            if (GreyAt(mask, x, y) >= 128)
                std::memset(pixels + 3 * x, 255, 3);
    }
}

std::array<TPoint, 4> TurnRectCorners(const TRect& r, int32_t angle)
{
    std::array<TPoint, 4> corners{TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Right, r.Bottom},
                                  TPoint{r.Left, r.Bottom}};
    if (angle != 0) {
        const TPoint centre{int32_t((int64_t(r.Left) + r.Right) / 2), int32_t((int64_t(r.Top) + r.Bottom) / 2)};
        const TRotator rotator(angle, centre);
        for (TPoint& p : corners)
            p = TurnClamped(rotator, p);
    }
    return corners;
}

TRect CornersBounds(const std::array<TPoint, 4>& corners)
{
    TRect bounds{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const TPoint& p : corners) {
        bounds.Left = std::min(bounds.Left, p.x);
        bounds.Top = std::min(bounds.Top, p.y);
        bounds.Right = std::max(bounds.Right, p.x);
        bounds.Bottom = std::max(bounds.Bottom, p.y);
    }
    return bounds;
}

bool MaskIsOpaque(const TBitmap& mask)
{
    for (int32_t y = 0; y < mask.Height(); ++y)
        for (int32_t x = 0; x < mask.Width(); ++x)
            if (GreyAt(mask, x, y) >= 128)
                return false;
    return true;
}

}  // namespace orvella
