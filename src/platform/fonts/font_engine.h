#pragma once
// The one interface through which the program selects fonts, measures text
// and gets glyph outlines. The real engine sits on fontconfig, FreeType and
// HarfBuzz (freetype_font_engine.h); tests of layout code use the fixed-metrics
// engine (fake_font_engine.h). Used from the user-interface thread only.

#include "platform/fonts/glyph_outline.h"
#include "platform/fonts/log_font.h"

#include <QPainterPath>
#include <QTransform>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

// One character of a laid-out run. Run coordinates: x along the direction
// of the text from the start of the run, y downwards (away from the ascent),
// both before the escapement turns the run.
struct TPlacedGlyph {
    uint32_t GlyphId = 0;
    uint32_t CharIndex = 0;  // index of the character in the text (code points)
    double X = 0;            // pen position along the run
    int32_t Advance = 0;     // along the run
    bool Upright = false;    // a full-width character of a vertical face
    // Where the glyph's own origin lies from (X, 0): shaping offsets, and for
    // an upright glyph the move to the centre of the cell.
    double Dx = 0;
    double Dy = 0;
    // The glyph's outline in run coordinates. Glyphs are filled one by one:
    // the cost of filling a path grows with its bounding box.
    QPainterPath Path;
};

struct TGlyphRun {
    std::vector<TPlacedGlyph> Glyphs;
    int32_t Advance = 0;  // the run's length along its direction
    // The union of the glyphs' bounding boxes in run coordinates.
    QRectF InkBounds() const;
};

class IFont {
public:
    virtual ~IFont() = default;

    virtual const TLogFont& LogFont() const = 0;
    // The installed family that serves this font.
    virtual std::string FamilyName() const = 0;
    bool IsVertical() const { return LogFont().FaceName.starts_with('@'); }

    virtual TTextMetric TextMetric() const = 0;
    virtual TOutlineMetrics OutlineMetrics() const = 0;
    // As the character would be drawn in a horizontal run; for a vertical face
    // an upright character's widths run along the column.
    virtual TABC CharABC(char32_t character) const = 0;
    // The character's outline, unturned, as it stands in a run of this font.
    virtual TGlyphOutline CharOutline(char32_t character) const = 0;
    // Lays out a UTF-8 text; repeated calls with the same text are cheap.
    virtual std::shared_ptr<const TGlyphRun> Layout(std::string_view text) const = 0;

    int32_t TextWidth(std::string_view text) const { return Layout(text)->Advance; }
};

struct TFontFamilyInfo {
    std::string Name;  // as the program lists it; "@" + name for vertical faces
    uint8_t CharSet = ANSI_CHARSET;
};

class IFontEngine {
public:
    virtual ~IFontEngine() = default;
    virtual std::shared_ptr<const IFont> CreateFont(const TLogFont& logFont) = 0;
    // Families in display order; Japanese families also as "@" faces.
    virtual std::vector<TFontFamilyInfo> Families() = 0;
    virtual bool IsInstalled(std::string_view faceName) = 0;
};

// The process's engine: the FreeType engine unless a test installed another.
IFontEngine& FontEngine();
// Replaces the engine (tests); nullptr restores the real one.
void SetFontEngine(std::shared_ptr<IFontEngine> engine);

// Maps run coordinates to the page (y down) for a run whose reference point
// is (x, y) and whose direction is turned by `escapement` tenths of a degree
// counter-clockwise; quarter turns are exact.
QTransform RunTransform(int32_t escapement, double x, double y);

// Whether a character stands upright in a vertical run: characters stored as
// two bytes in the program's code page do, single-byte ones lie on their side.
bool StandsUprightInVerticalText(char32_t character);

}  // namespace orvella
