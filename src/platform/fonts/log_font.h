#pragma once
// What a program asks of a font, and what it gets back, in the terms of the
// platform the documents were made on: a logical font description, text
// metrics, A/B/C widths and outline metrics. All lengths are in the pixels of
// the surface the font is made for (logical units on the 254-dpi measuring
// surface).

#include <cstdint>
#include <string>

namespace orvella {

enum TFontCharset : uint8_t {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    SHIFTJIS_CHARSET = 128,
};

constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;

struct TLogFont {
    // < 0: the character (em) height; > 0: the cell height (ascent + descent);
    // 0: a default cell height of 16.
    int32_t Height = 0;
    int32_t Escapement = 0;  // direction of the text, tenths of a degree counter-clockwise
    int32_t Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t CharSet = DEFAULT_CHARSET;
    // UTF-8. A leading '@' asks for the vertical face of the family: full-width
    // characters stand upright when the text runs down (escapement 2700).
    std::string FaceName;

    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

struct TTextMetric {
    int32_t Height = 0;  // Ascent + Descent
    int32_t Ascent = 0;
    int32_t Descent = 0;
    int32_t InternalLeading = 0;  // Height minus the em height
    int32_t ExternalLeading = 0;
    int32_t AveCharWidth = 0;
    int32_t MaxCharWidth = 0;
    int32_t Weight = FW_NORMAL;
    bool Italic = false;
    uint8_t CharSet = DEFAULT_CHARSET;
};

// A: space before the ink, B: ink width, C: space after; A + B + C is the advance.
struct TABC {
    int32_t A = 0;
    int32_t B = 0;
    int32_t C = 0;
    int32_t Advance() const { return A + B + C; }
    friend bool operator==(const TABC&, const TABC&) = default;
};

// Positions are distances above the baseline (negative: below).
struct TOutlineMetrics {
    int32_t EmHeight = 0;
    int32_t UnderscorePosition = 0;
    int32_t UnderscoreSize = 0;
    int32_t StrikeoutPosition = 0;
    int32_t StrikeoutSize = 0;
};

}  // namespace orvella
