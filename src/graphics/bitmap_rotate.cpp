#include "graphics/bitmap_rotate.h"

#include "graphics/bitmap_turn.h"
#include "graphics/parallel_bands.h"
#include "platform/win_math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace orvella {

namespace {

// A corner of the quadrilateral with the source position it carries.
struct Vertex {
    double x, y, u, v;
};

struct Crossing {
    double x, u, v;
};

// Where the horizontal line through pixel centres of one row crosses the
// quadrilateral's edges, sorted left to right. Edges include their upper end
// and exclude their lower one, so a vertex is never counted twice.
int RowCrossings(const std::array<Vertex, 4>& corners, double yc, std::array<Crossing, 4>& out)
{
    int count = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const Vertex& a = corners[i];
        const Vertex& b = corners[(i + 1) % 4];
        const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
        if (!(yc >= top && yc < bottom))
            continue;
        double extent = b.y - a.y;
        if (std::abs(extent) < 0.00001)
            extent = 1;
        const double t = (yc - a.y) / extent;
        out[std::size_t(count++)] = {a.x + t * (b.x - a.x), a.u + t * (b.u - a.u), a.v + t * (b.v - a.v)};
    }
    for (int i = 1; i < count; ++i)  // at most four: insertion order
        for (int j = i; j > 0 && out[std::size_t(j)].x < out[std::size_t(j - 1)].x; --j)
            std::swap(out[std::size_t(j)], out[std::size_t(j - 1)]);
    return count;
}

struct SpanSource {
    const std::vector<const uint8_t*>* rows;
    int64_t firstColumn, lastColumn, firstRow, lastRow;
};

// Copies the nearest source pixel to each pixel of the span; positions in
// 16.16 fixed point, limited to the source rectangle.
template <int C>
void FillSpan(uint8_t* out, int32_t count, int64_t u, int64_t v, int64_t du, int64_t dv, const SpanSource& s)
{
    const auto& rows = *s.rows;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t column = std::clamp(u >> 16, s.firstColumn, s.lastColumn);
        const int64_t row = std::clamp(v >> 16, s.firstRow, s.lastRow);
        std::memcpy(out, rows[std::size_t(row)] + column * C, C);
        out += C;
        u += du;
        v += dv;
    }
}

void MapRows(TBitmap& destination, const std::array<Vertex, 4>& corners, const SpanSource& source, int C,
             int32_t firstRow, int32_t lastRow)
{
    const int32_t width = destination.Width();
    std::array<Crossing, 4> crossings{};
    for (int32_t y = firstRow; y < lastRow; ++y) {
        const int count = RowCrossings(corners, y + 0.5, crossings);
        for (int pair = 0; pair + 1 < count; pair += 2) {
            const Crossing& l = crossings[std::size_t(pair)];
            const Crossing& r = crossings[std::size_t(pair + 1)];
            const double first = std::max(std::ceil(l.x - 0.5), 0.0);
            const double last = std::min(std::floor(r.x - 0.5), double(width - 1));
            if (last < first)
                continue;
            double extent = r.x - l.x;
            if (extent < 0.00001)
                extent = 1;
            const double du = (r.u - l.u) / extent, dv = (r.v - l.v) / extent;
            const double offset = first + 0.5 - l.x;
            const int64_t u = std::llround((l.u + offset * du) * 65536);
            const int64_t v = std::llround((l.v + offset * dv) * 65536);
            const int64_t stepU = std::llround(du * 65536), stepV = std::llround(dv * 65536);
            const int32_t start = int32_t(first), pixels = int32_t(last) - start + 1;
            uint8_t* out = destination.Row(y) + std::size_t(start) * std::size_t(C);
            switch (C) {
            case 1: FillSpan<1>(out, pixels, u, v, stepU, stepV, source); break;
            case 3: FillSpan<3>(out, pixels, u, v, stepU, stepV, source); break;
            default: FillSpan<4>(out, pixels, u, v, stepU, stepV, source); break;
            }
        }
    }
}

void FillBackground(TBitmap& bitmap, TColor background)
{
    const uint32_t pixel = bitmap.ColorToPixel(background);
    const TPixelFormat format = bitmap.PixelFormat();
    if (bitmap.Height() == 0 || bitmap.Width() == 0)
        return;
    uint8_t* first = bitmap.Row(0);
    for (int32_t x = 0; x < bitmap.Width(); ++x)
        WritePixel(first, x, format, pixel);
    for (int32_t y = 1; y < bitmap.Height(); ++y)
        std::memcpy(bitmap.Row(y), first, std::size_t(bitmap.Stride()));
}

// A point turned about the origin by whole degrees, clockwise on screen for
// positive angles, rounded half away from zero.
TPoint Turn(TPoint p, int angle)
{
    const int normal = ((angle % 360) + 360) % 360;
    double cosine, sine;
    switch (normal) {
    case 0: cosine = 1, sine = 0; break;
    case 90: cosine = 0, sine = 1; break;
    case 180: cosine = -1, sine = 0; break;
    case 270: cosine = 0, sine = -1; break;
    default:
        cosine = std::cos(normal * std::numbers::pi / 180);
        sine = std::sin(normal * std::numbers::pi / 180);
    }
    return {Round(p.x * cosine - p.y * sine), Round(p.x * sine + p.y * cosine)};
}

}  // namespace

TRect MapBitmapToQuad(TBitmap& destination, TPoint p0, TPoint p1, TPoint p2, TPoint p3, const TBitmap& source,
                      const TRect& sourceRect, TColor background)
{
    const TPixelFormat format = source.PixelFormat();
    const int C = BytesPerPixel(format);
    if (source.Width() < 1 || source.Height() < 1 || sourceRect.IsEmpty() || sourceRect.Left < 0 ||
        sourceRect.Top < 0 || sourceRect.Right > source.Width() || sourceRect.Bottom > source.Height())
        return {};
    if (&source == &destination) {
        TBitmap copy(source.Width(), source.Height(), format);
        copy.SetPalette(source.Palette());
        std::memcpy(copy.Bits(), source.Row(0), source.ByteCount());
        return MapBitmapToQuad(destination, p0, p1, p2, p3, copy, sourceRect, background);
    }
    const std::array<TPoint, 4> points = {p0, p1, p2, p3};
    int64_t minX = p0.x, maxX = p0.x, minY = p0.y, maxY = p0.y;
    for (const TPoint& p : points) {
        minX = std::min<int64_t>(minX, p.x), maxX = std::max<int64_t>(maxX, p.x);
        minY = std::min<int64_t>(minY, p.y), maxY = std::max<int64_t>(maxY, p.y);
    }
    destination.SetSize(CheckedInt32(maxX - minX), CheckedInt32(maxY - minY), format);
    if (format == TPixelFormat::pf8bit)
        destination.SetPalette(source.Palette());
    FillBackground(destination, background);

    const double left = sourceRect.Left, top = sourceRect.Top, right = sourceRect.Right, bottom = sourceRect.Bottom;
    const std::array<std::array<double, 2>, 4> carried = {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
    std::array<Vertex, 4> corners{};
    for (std::size_t i = 0; i < 4; ++i)
        corners[i] = {double(points[i].x - minX), double(points[i].y - minY), carried[i][0], carried[i][1]};

    std::vector<const uint8_t*> rows(std::size_t(source.Height()));
    for (int32_t y = 0; y < source.Height(); ++y)
        rows[std::size_t(y)] = source.Row(y);
    const SpanSource span{&rows, sourceRect.Left, sourceRect.Right - 1, sourceRect.Top, sourceRect.Bottom - 1};
    ForEachBand(destination.Height(), int64_t(destination.Width()) * C, [&](int32_t first, int32_t last) {
        MapRows(destination, corners, span, C, first, last);
    });
    return TRect{int32_t(minX), int32_t(minY), int32_t(maxX), int32_t(maxY)};
}

void RotateBitmap(const TBitmap& source, TBitmap& destination, int angle, TColor background, TSize size)
{
    const TPoint p0 = Turn({0, 0}, angle);
    const TPoint p1 = Turn({size.cx, 0}, angle);
    const TPoint p2 = Turn({size.cx, size.cy}, angle);
    const TPoint p3 = Turn({0, size.cy}, angle);
    MapBitmapToQuad(destination, p0, p1, p2, p3, source, TRect{0, 0, source.Width(), source.Height()}, background);
}

void RotateBitmapKeepTransparency(const TBitmap& source, const TBitmap* sourceMask, TBitmap& destination,
                                  TBitmap* destinationMask, int angle, TSize size)
{
    RotateBitmap(source, destination, angle, clWhite, size);
    if (!destinationMask)
        return;
    if (!sourceMask || sourceMask->Width() < 1 || sourceMask->Height() < 1) {
        destinationMask->SetSize(0, 0, TPixelFormat::pf24bit);
        return;
    }
    // White is transparent in the mask, so the corners the turn uncovers
    // become transparent too.
    TBitmap colourMask;
    TurnBitmap(colourMask, *sourceMask, TQuarterTurn::None, TMirror::None);
    RotateBitmap(colourMask, *destinationMask, angle, clWhite, size);
}

}  // namespace orvella
