#pragma once
// System colours as stored colours name them (0x80000000 + the index of the
// display element) and the RGB values of the standard light scheme they
// stand for here.

#include "graphics/graphics_types.h"

namespace orvella {

constexpr TColor clSystemColor = 0x80000000u;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;

// The RGB value of a system colour; an unknown index gives black.
TColor SystemColorToRGB(TColor color);
// Any colour as RGB: system colours resolved, other high bytes dropped.
TColor ColorToRGB(TColor color);

}  // namespace orvella
