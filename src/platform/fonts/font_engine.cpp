#include "platform/fonts/font_engine.h"

#include "platform/cp932.h"
#include "platform/fonts/freetype_font_engine.h"
#include "platform/utf8.h"

#include <cmath>
#include <unordered_map>

namespace orvella {

namespace {

std::shared_ptr<IFontEngine>& engineSlot()
{
    static std::shared_ptr<IFontEngine> engine;
    return engine;
}

// East Asian wide and full-width characters, for those the code page lacks.
bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

IFontEngine& FontEngine()
{
    std::shared_ptr<IFontEngine>& engine = engineSlot();
    if (!engine)
        engine = CreateFreeTypeFontEngine();
    return *engine;
}

void SetFontEngine(std::shared_ptr<IFontEngine> engine) { engineSlot() = std::move(engine); }

QRectF TGlyphRun::InkBounds() const
{
    QRectF bounds;
    for (const TPlacedGlyph& glyph : Glyphs)
        bounds = bounds.united(glyph.Path.boundingRect());
    return bounds;
}

QTransform RunTransform(int32_t escapement, double x, double y)
{
    int32_t tenths = escapement % 3600;
    if (tenths < 0)
        tenths += 3600;
    double c;
    double s;
    switch (tenths) {
    case 0: c = 1; s = 0; break;
    case 900: c = 0; s = 1; break;
    case 1800: c = -1; s = 0; break;
    case 2700: c = 0; s = -1; break;
    default: {
        const double radians = tenths * 3.14159265358979323846 / 1800.0;
        c = std::cos(radians);
        s = std::sin(radians);
    }
    }
    // Counter-clockwise on the page: the run's x axis goes to (c, -s), its
    // downward axis to (s, c).
    return QTransform(c, -s, s, c, x, y);
}

bool StandsUprightInVerticalText(char32_t character)
{
    if (character < 0x80 || (character >= 0xFF61 && character <= 0xFF9F))
        return false;  // ASCII and half-width kana are single bytes
    static std::unordered_map<char32_t, bool> known;
    if (auto found = known.find(character); found != known.end())
        return found->second;
    std::string utf8;
    Utf8Append(utf8, character);
    bool upright;
    try {
        upright = EncodeCp932(utf8, Cp932Mode::Strict).size() == 2;
    } catch (const ECp932&) {
        upright = isWide(character);
    }
    known.emplace(character, upright);
    return upright;
}

}  // namespace orvella
