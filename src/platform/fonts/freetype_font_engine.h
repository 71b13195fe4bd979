#pragma once
// The font engine on fontconfig (finding families), FreeType (metrics and
// outlines, read unscaled and scaled exactly) and HarfBuzz (glyph choice,
// with the vertical forms of vertical faces). Glyphs are drawn from their
// outlines, so text looks the same at any size and on any device.

#include "platform/fonts/font_engine.h"

namespace orvella {

std::shared_ptr<IFontEngine> CreateFreeTypeFontEngine();

}  // namespace orvella
