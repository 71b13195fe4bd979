#pragma once
// A font stored by its point size. Its pixel height is never stored: it
// follows from the resolution of the surface the font is used on, so a
// document measures the same on the 254-dpi measuring surface, the screen
// and the printer. Stored as Charset, Color, Name, Pitch, Size and Style.

#include "formats/persistent.h"
#include "graphics/canvas_tools.h"

#include <cstdint>
#include <functional>
#include <string>

namespace orvella {

enum class TFontPitch : int32_t { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

// Bit n is element n of the stored style set.
enum TFontStyleBits : int32_t {
    fsBold = 1 << 0,
    fsItalic = 1 << 1,
    fsUnderline = 1 << 2,
    fsStrikeOut = 1 << 3,
};

class TPointBasedFont : public TPersistent {
    ORVELLA_PERSISTENT(TPointBasedFont)

public:
    static constexpr const char* kDefaultName = "ＭＳ Ｐゴシック";

    int32_t Charset() const { return charset_; }
    void SetCharset(int32_t charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int32_t Size() const { return size_; }
    void SetSize(int32_t points);
    // A set of TFontStyleBits.
    int32_t Style() const { return style_; }
    void SetStyle(int32_t style);

    bool Bold() const { return style_ & fsBold; }
    bool Italic() const { return style_ & fsItalic; }
    bool Underline() const { return style_ & fsUnderline; }
    bool StrikeOut() const { return style_ & fsStrikeOut; }

    // The canvas font for a surface of the given resolution.
    TFont ToFont(int32_t pixelsPerInch) const;
    // Takes name, size, style, colour and character set from a canvas font.
    void AssignFont(const TFont& font);
    void Assign(const TPointBasedFont& source);
    friend bool operator==(const TPointBasedFont& a, const TPointBasedFont& b);

    // Raised after any value changed.
    std::function<void()> OnChange;

private:
    // One change report for several values.
    void setAll(int32_t charset, TColor color, const std::string& name, TFontPitch pitch, int32_t size,
                int32_t style);
    void changed();

    int32_t charset_ = 128;
    TColor color_ = clBlack;
    std::string name_ = kDefaultName;
    TFontPitch pitch_ = TFontPitch::fpDefault;
    int32_t size_ = 24;
    int32_t style_ = 0;
};

}  // namespace orvella
