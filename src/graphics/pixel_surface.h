#pragma once
// What a canvas draws into: rows of pixels in one of the device-independent
// bitmap layouts (top-down; 8-bit palette indices, 24-bit B,G,R, 32-bit
// B,G,R,X). A pixel value is the bytes of one pixel read as a little-endian
// number: 0x00RRGGBB for the colour formats, the index for 8 bits.

#include "graphics/graphics_types.h"

#include <cstdint>
#include <vector>

namespace orvella {

enum class TPixelFormat { pf8bit = 8, pf24bit = 24, pf32bit = 32 };

int BytesPerPixel(TPixelFormat format);
// A row padded to whole 32-bit words, as device-independent bitmaps store it.
int32_t RowStride(int32_t width, TPixelFormat format);

class TPixelSurface {
public:
    virtual ~TPixelSurface() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual TPixelFormat PixelFormat() const = 0;
    // Row y (0 <= y < Height) for reading and writing.
    virtual uint8_t* Row(int32_t y) = 0;
    // The colour table of 8-bit surfaces; empty for the colour formats.
    virtual const std::vector<TColor>& Palette() const;

    uint32_t ColorToPixel(TColor color) const;
    TColor PixelToColor(uint32_t pixel) const;
    // The palette index nearest to the colour (8-bit surfaces).
    uint8_t NearestIndex(TColor color) const;
};

inline uint32_t ReadPixel(const uint8_t* row, int32_t x, TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf8bit:
        return row[x];
    case TPixelFormat::pf24bit: {
        const uint8_t* p = row + 3 * x;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    }
    case TPixelFormat::pf32bit: {
        const uint8_t* p = row + 4 * x;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    }
    return 0;
}

inline void WritePixel(uint8_t* row, int32_t x, TPixelFormat format, uint32_t pixel)
{
    switch (format) {
    case TPixelFormat::pf8bit:
        row[x] = uint8_t(pixel);
        return;
    case TPixelFormat::pf24bit: {
        uint8_t* p = row + 3 * x;
        p[0] = uint8_t(pixel);
        p[1] = uint8_t(pixel >> 8);
        p[2] = uint8_t(pixel >> 16);
        return;
    }
    case TPixelFormat::pf32bit: {
        uint8_t* p = row + 4 * x;
        p[0] = uint8_t(pixel);
        p[1] = uint8_t(pixel >> 8);
        p[2] = uint8_t(pixel >> 16);
        p[3] = uint8_t(pixel >> 24);
        return;
    }
    }
}

}  // namespace orvella
