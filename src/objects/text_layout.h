#pragma once
// Measuring and placing the characters of one line of text. Lines are
// measured once on a shared surface of 254 pixels per inch, where a pixel is
// one logical unit (a tenth of a millimetre), and drawn on any device spread
// to exactly the measured width, so screen, print and preview agree.

#include "graphics/canvas_tools.h"
#include "platform/fonts/log_font.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class IFont;
class TCanvas;
class TPointBasedFont;

using TABCArray = std::vector<TABC>;

// The resolution of the measuring surface: one pixel per logical unit.
inline constexpr int32_t kMeasuringPixelsPerInch = 254;

// One measured line: per-character widths, the pen position of each
// character, the ink extent and the cell height, in logical units.
struct TCharLayout {
    std::u32string Text;
    TABCArray Widths;
    std::vector<int32_t> Positions;
    int32_t InkLeft = 0;
    int32_t InkRight = 0;
    int32_t CellHeight = 0;

    int32_t InkWidth() const { return InkRight - InkLeft; }
};

// Pen positions for characters of the given widths on a line of width W:
// 0 left, 1 centre, 2 right, 3 justify (the ink spread over exactly W;
// spacing is not added then).
void PlaceCharacters(const TABCArray& widths, int32_t width, int32_t spacing, int32_t align, TCharLayout& layout);

// The widths of each character as the font gives them; a tab is as wide as
// "0" times the places left to the next multiple of eight characters.
TABCArray CharacterWidths(const IFont& font, std::u32string_view text);

// The canvas font for drawing or measuring a text font: without underline
// and strike-out (the text draws those itself), on an installed face (the
// first installed of the usual Japanese faces when the named one is not),
// and for vertical writing the "@" face turned to run downwards.
TFont PrepareTextFont(const TPointBasedFont& font, bool vertical, TColor color);

// The shared measuring surface (user-interface thread only).
TCanvas& MeasuringCanvas();

std::u32string ToCodePoints(std::string_view utf8);
std::string FromCodePoints(std::u32string_view text);

}  // namespace orvella
