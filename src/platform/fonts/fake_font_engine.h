#pragma once
// A font engine with fixed, round metrics for testing layout code without
// depending on installed fonts. Every em is `Height` (or 16) pixels: ascent
// 4/5, descent 1/5 of it; characters that stand upright in vertical text are
// one em wide, others half an em; each glyph is a box inset by a tenth of an
// em on both sides. CharABC of 'i' and 'W' break the pattern (A 0, narrower
// and wider ink) so that layout code cannot pass by assuming equal widths.

#include "platform/fonts/font_engine.h"

namespace orvella {

class TFakeFontEngine : public IFontEngine {
public:
    std::shared_ptr<const IFont> CreateFont(const TLogFont& logFont) override;
    std::vector<TFontFamilyInfo> Families() override;
    bool IsInstalled(std::string_view faceName) override;
};

}  // namespace orvella
