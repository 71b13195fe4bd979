#pragma once
// The tools a canvas draws with (pen, brush, font slot) and the numeric codes
// of its modes: pen mixes, raster operations, background, fill and stretch
// modes, map modes and clip combinations, with the values callers and stored
// data know them by.

#include "graphics/graphics_types.h"
#include "platform/win_math.h"

#include <cstdint>
#include <string>

namespace orvella {

// Pen mixes: the result bit for pen bit P and destination bit D is bit
// (P << 1 | D) of (mode - 1).
enum : int {
    R2_BLACK = 1, R2_NOTMERGEPEN, R2_MASKNOTPEN, R2_NOTCOPYPEN, R2_MASKPENNOT, R2_NOT, R2_XORPEN,
    R2_NOTMASKPEN, R2_MASKPEN, R2_NOTXORPEN, R2_NOP, R2_MERGENOTPEN, R2_COPYPEN, R2_MERGEPENNOT,
    R2_MERGEPEN, R2_WHITE
};

// Raster operations: bits 16..23 are the truth table over pattern, source and
// destination, bit (P << 2 | S << 1 | D).
enum : uint32_t {
    SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6, MERGECOPY = 0x00C000CA,
    MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062
};

enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { ALTERNATE = 1, WINDING = 2 };
// Text alignment: where the reference point of TextOut lies on the text's
// cell, and whether TextOut starts at and moves the pen position.
enum : uint32_t {
    TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6,
    TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24
};
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
enum : int { MM_TEXT = 1, MM_ANISOTROPIC = 8 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// Point types of a path, the same numbers a stroke stores as flags.
enum : uint8_t { PT_CLOSEFIGURE = 1, PT_LINETO = 2, PT_BEZIERTO = 4, PT_MOVETO = 6 };

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

struct TPen {
    TColor Color = clBlack;
    int32_t Width = 1;  // logical units; 0 and anything that maps below 2 pixels is one device pixel
    TPenStyle Style = TPenStyle::psSolid;
    int Mode = R2_COPYPEN;
    friend bool operator==(const TPen&, const TPen&) = default;
};

// Hatches are 8 x 8 patterns aligned to device pixel (0, 0).
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

// The font a canvas has selected; the font engine realises it when text is
// measured or drawn. Height < 0 is the character height in logical units,
// Size the height in points; Orientation turns the text.
struct TFont {
    std::string Name = "ＭＳ Ｐゴシック";
    int32_t Height = -12;
    int32_t PixelsPerInch = 96;
    TColor Color = clBlack;
    int32_t Orientation = 0;  // tenths of a degree
    int32_t Charset = 128;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    int32_t Size() const { return -MulDiv(Height, 72, PixelsPerInch); }
    void SetSize(int32_t points) { Height = -MulDiv(points, PixelsPerInch, 72); }
    // Keeps the point size, as a font moved to another device does.
    void SetPixelsPerInch(int32_t ppi)
    {
        const int32_t points = Size();
        PixelsPerInch = ppi;
        SetSize(points);
    }
    friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TDeviceTechnology { Display, RasterPrinter, Plotter, Metafile };

}  // namespace orvella
