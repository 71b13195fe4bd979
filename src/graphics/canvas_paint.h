#pragma once
// Inside the canvas: how a pen or brush colours a run of pixels, and the
// bit-wise pen mixes and raster operations. Not for use outside graphics/.

#include "graphics/canvas.h"

#include <QRegion>

#include <cstring>

namespace orvella {

struct TSpanPaint {
    enum class Kind { Solid, Hatch };
    Kind kind = Kind::Solid;
    uint32_t fore = 0;  // pixel values of the surface
    uint32_t back = 0;
    bool opaqueBack = false;  // hatch gaps take the background colour
    TBrushStyle hatch = TBrushStyle::bsSolid;
    int mix = R2_COPYPEN;
};

// Whether a hatch sets device pixel (x, y); the pattern repeats every 8
// pixels from device (0, 0).
inline bool HatchBit(TBrushStyle style, int32_t x, int32_t y)
{
    const int32_t hx = x & 7, hy = y & 7;
    const bool horizontal = hy == 0;
    const bool vertical = hx == 0;
    const bool forward = ((hx - hy) & 7) == 0;
    const bool backward = ((hx + hy) & 7) == 7;
    switch (style) {
    case TBrushStyle::bsHorizontal: return horizontal;
    case TBrushStyle::bsVertical: return vertical;
    case TBrushStyle::bsFDiagonal: return forward;
    case TBrushStyle::bsBDiagonal: return backward;
    case TBrushStyle::bsCross: return horizontal || vertical;
    case TBrushStyle::bsDiagCross: return forward || backward;
    default: return true;
    }
}

inline uint32_t MixPen(int mix, uint32_t pen, uint32_t dest)
{
    switch (mix) {
    case R2_COPYPEN: return pen;
    case R2_XORPEN: return pen ^ dest;
    case R2_NOT: return ~dest;
    case R2_NOP: return dest;
    default: break;
    }
    const unsigned table = unsigned(mix - 1) & 15;
    uint32_t result = 0;
    if (table & 1) result |= ~pen & ~dest;
    if (table & 2) result |= ~pen & dest;
    if (table & 4) result |= pen & ~dest;
    if (table & 8) result |= pen & dest;
    return result;
}

inline uint32_t RasterOp3(uint32_t rop, uint32_t pattern, uint32_t source, uint32_t dest)
{
    const unsigned table = (rop >> 16) & 0xFF;
    switch (table) {
    case 0xCC: return source;
    case 0x88: return source & dest;
    case 0xEE: return source | dest;
    case 0x66: return source ^ dest;
    case 0x33: return ~source;
    case 0xF0: return pattern;
    case 0x5A: return pattern ^ dest;
    case 0x55: return ~dest;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFF;
    case 0xB8: return (source & dest) | (~source & pattern);  // pattern where the mask is clear
    default: break;
    }
    uint32_t result = 0;
    for (unsigned i = 0; i < 8; ++i)
        if (table & (1u << i))
            result |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) & ((i & 1) ? dest : ~dest);
    return result;
}

inline uint32_t PixelMask(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf8bit: return 0xFF;
    case TPixelFormat::pf24bit: return 0xFFFFFF;
    case TPixelFormat::pf32bit: return 0xFFFFFF;  // drawing leaves the fourth byte 0
    }
    return 0xFFFFFF;
}

// Colours pixels x0..x1-1 of one row.
void PaintRow(uint8_t* row, TPixelFormat format, int32_t y, int32_t x0, int32_t x1, const TSpanPaint& paint);

// The region covering the spans (sorted by row and x, as the scan converter gives them).
QRegion RegionFromSpans(const std::vector<TSpan>& spans);

}  // namespace orvella
