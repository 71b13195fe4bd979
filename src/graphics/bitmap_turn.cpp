#include "graphics/bitmap_turn.h"

#include <algorithm>
#include <cstring>

namespace orvella {

namespace {

// Tiles keep both the rows read and the rows written in cache while a
// quarter turn walks the source across its rows.
constexpr int32_t kTile = 32;

// The source as 24-bit colour (8-bit through its palette, 32-bit without its
// fourth byte).
void ToColour(const TBitmap& source, TBitmap& work)
{
    work.SetSize(source.Width(), source.Height(), TPixelFormat::pf24bit);
    const TPixelFormat format = source.PixelFormat();
    for (int32_t y = 0; y < source.Height(); ++y) {
        const uint8_t* in = source.Row(y);
        uint8_t* out = work.Row(y);
        for (int32_t x = 0; x < source.Width(); ++x)
            WritePixel(out, x, TPixelFormat::pf24bit, work.ColorToPixel(source.PixelToColor(ReadPixel(in, x, format))));
    }
}

}  // namespace

void TurnBitmap(TBitmap& destination, const TBitmap& source, TQuarterTurn turn, TMirror mirror)
{
    TBitmap converted;
    const TBitmap* work = &source;
    if (source.PixelFormat() != TPixelFormat::pf24bit || &source == &destination) {
        ToColour(source, converted);
        work = &converted;
    }
    const int32_t w = work->Width(), h = work->Height();
    const bool swaps = turn == TQuarterTurn::Clockwise || turn == TQuarterTurn::CounterClockwise;
    const int32_t width = swaps ? h : w, height = swaps ? w : h;
    destination.SetSize(width, height, TPixelFormat::pf24bit);
    if (width == 0 || height == 0)
        return;

    // Source column and row as  base + k * step  for destination column k and
    // row r, the mirror folded in by reversing k or r first.
    const bool reverseColumns = mirror == TMirror::Horizontal || mirror == TMirror::Both;
    const bool reverseRows = mirror == TMirror::Vertical || mirror == TMirror::Both;
    // For each case: source x = x0 + xk * k + xr * r, source y = y0 + yk * k + yr * r.
    int32_t x0 = 0, xk = 1, xr = 0, y0 = 0, yk = 0, yr = 1;
    switch (turn) {
    case TQuarterTurn::None: break;
    case TQuarterTurn::Clockwise: x0 = 0, xk = 0, xr = 1, y0 = h - 1, yk = -1, yr = 0; break;
    case TQuarterTurn::Half: x0 = w - 1, xk = -1, xr = 0, y0 = h - 1, yk = 0, yr = -1; break;
    case TQuarterTurn::CounterClockwise: x0 = w - 1, xk = 0, xr = -1, y0 = 0, yk = 1, yr = 0; break;
    }
    if (reverseColumns) {  // k -> width - 1 - k
        x0 += xk * (width - 1), y0 += yk * (width - 1);
        xk = -xk, yk = -yk;
    }
    if (reverseRows) {  // r -> height - 1 - r
        x0 += xr * (height - 1), y0 += yr * (height - 1);
        xr = -xr, yr = -yr;
    }
    for (int32_t rowTile = 0; rowTile < height; rowTile += kTile) {
        for (int32_t columnTile = 0; columnTile < width; columnTile += kTile) {
            const int32_t rowEnd = std::min(height, rowTile + kTile);
            const int32_t columnEnd = std::min(width, columnTile + kTile);
            for (int32_t r = rowTile; r < rowEnd; ++r) {
                uint8_t* out = destination.Row(r) + std::size_t(columnTile) * 3;
                int32_t x = x0 + xk * columnTile + xr * r;
                int32_t y = y0 + yk * columnTile + yr * r;
                for (int32_t k = columnTile; k < columnEnd; ++k) {
                    std::memcpy(out, work->Row(y) + std::size_t(x) * 3, 3);
                    out += 3;
                    x += xk;
                    y += yk;
                }
            }
        }
    }
}

}  // namespace orvella
