#pragma once
// Pixels of a bitmap as text, one character a pixel, so that tests can state
// exact pixel expectations as small pictures.

#include "graphics/bitmap.h"

#include <map>
#include <string>

namespace orvella::test {

// Each pixel becomes the character its colour has in legend, '?' otherwise;
// rows end with '\n'.
inline std::string PixelPicture(const TBitmap& bitmap, const std::map<TColor, char>& legend, TRect area = {})
{
    if (area.IsEmpty())
        area = {0, 0, bitmap.Width(), bitmap.Height()};
    std::string text;
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        for (int32_t x = area.Left; x < area.Right; ++x) {
            const auto found = legend.find(bitmap.GetPixelColor(x, y));
            text += found == legend.end() ? '?' : found->second;
        }
        text += '\n';
    }
    return text;
}

inline const std::map<TColor, char>& BasicLegend()
{
    static const std::map<TColor, char> legend{{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'}, {clLime, 'g'}};
    return legend;
}

}  // namespace orvella::test
