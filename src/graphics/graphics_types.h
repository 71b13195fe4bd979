#pragma once
// The plain value types every drawing call speaks: integer points, sizes and
// rectangles (Right and Bottom exclusive) and colours as 0x00BBGGRR.

#include "platform/color_value.h"

#include <cstdint>

namespace orvella {

struct TPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;

constexpr uint8_t GetRValue(TColor color) { return uint8_t(color); }
constexpr uint8_t GetGValue(TColor color) { return uint8_t(color >> 8); }
constexpr uint8_t GetBValue(TColor color) { return uint8_t(color >> 16); }
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) { return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16); }

}  // namespace orvella
