#pragma once
// One font file opened with FreeType and HarfBuzz: its tables, its glyph
// outlines in font units (cached; every size of the face shares them) and
// shaping of runs. Synthetic bold and italic are applied to the outlines
// when the family has no such face of its own.

#include "platform/fonts/glyph_outline.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvella {

// Font-unit values of the tables that metrics are computed from.
struct TFaceTables {
    long double unitsPerEm = 1000;
    long double winAscent = 0;
    long double winDescent = 0;
    long double hheaAscender = 0;
    long double hheaDescender = 0;  // negative below the baseline
    long double lineGap = 0;
    long double averageWidth = 0;
    long double maxAdvance = 0;
    long double underlinePosition = 0;
    long double underlineThickness = 0;
    long double strikeoutPosition = 0;
    long double strikeoutSize = 0;
};

// A glyph as HarfBuzz places it, in font units (y up).
struct TShapedGlyph {
    uint32_t glyphId = 0;
    uint32_t cluster = 0;  // index of its first character in the shaped text
    double xAdvance = 0;
    double yAdvance = 0;
    double xOffset = 0;
    double yOffset = 0;
};

class TFreeTypeFace {
public:
    TFreeTypeFace(const std::string& file, int index, bool syntheticBold, bool syntheticItalic);
    ~TFreeTypeFace();
    TFreeTypeFace(const TFreeTypeFace&) = delete;
    TFreeTypeFace& operator=(const TFreeTypeFace&) = delete;

    const TFaceTables& Tables() const { return tables_; }
    // The glyph's outline in font units, y up, origin at the glyph origin.
    const TGlyphOutline& Outline(uint32_t glyphId);
    // Shapes a run without kerning or ligatures; `vertical` shapes it top to
    // bottom with the font's vertical forms.
    std::vector<TShapedGlyph> Shape(std::u32string_view text, bool vertical);

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    TFaceTables tables_;
    bool syntheticBold_;
    bool syntheticItalic_;
    double boldStrength_ = 0;
    std::unordered_map<uint32_t, TGlyphOutline> outlines_;
};

}  // namespace orvella
