#include "graphics/system_colors.h"

#include <array>

namespace orvella {

namespace {

// The standard light scheme, by display element index.
constexpr std::array<TColor, 31> kSchemeColors{
    RGB(200, 200, 200),  // scroll bar
    RGB(0, 0, 0),        // desktop
    RGB(153, 180, 209),  // active caption
    RGB(191, 205, 219),  // inactive caption
    RGB(240, 240, 240),  // menu
    RGB(255, 255, 255),  // window
    RGB(100, 100, 100),  // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(0, 0, 0),        // caption text
    RGB(180, 180, 180),  // active border
    RGB(244, 247, 252),  // inactive border
    RGB(171, 171, 171),  // application workspace
    RGB(0, 120, 215),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(240, 240, 240),  // button face
    RGB(160, 160, 160),  // button shadow
    RGB(109, 109, 109),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(67, 78, 84),     // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(105, 105, 105),  // 3-D dark shadow
    RGB(227, 227, 227),  // 3-D light
    RGB(0, 0, 0),        // tool tip text
    RGB(255, 255, 225),  // tool tip background
    RGB(0, 0, 0),        // (unused)
    RGB(0, 102, 204),    // hot light
    RGB(185, 209, 234),  // gradient active caption
    RGB(215, 228, 242),  // gradient inactive caption
    RGB(0, 120, 215),    // menu highlight
    RGB(240, 240, 240),  // menu bar
};

}  // namespace

TColor SystemColorToRGB(TColor color)
{
    const TColor index = color & 0xFF;
    return index < kSchemeColors.size() ? kSchemeColors[index] : 0;
}

TColor ColorToRGB(TColor color)
{
    if ((color & 0xFF000000u) == clSystemColor)
        return SystemColorToRGB(color);
    return color & 0xFFFFFF;
}

}  // namespace orvella
