#include "objects/point_based_font.h"

#include "formats/property_table.h"
#include "platform/win_math.h"

#include <array>

namespace orvella {

namespace {

constexpr std::array<const char*, 3> kPitchNames{"fpDefault", "fpVariable", "fpFixed"};
constexpr std::array<const char*, 4> kStyleNames{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

}  // namespace

const TClassInfo& TPointBasedFont::StaticClassInfo()
{
    using C = TPointBasedFont;
    static const TClassInfo info = DeclareClass<C, TPersistent>("TPointBasedFont", {
        IntegerProperty("Charset", &C::Charset, &C::SetCharset).Idents(CharsetIdents()),
        IntegerProperty("Color", &C::Color, &C::SetColor).Idents(ColorIdents()),
        StringProperty("Name", &C::Name, &C::SetName),
        EnumProperty("Pitch", kPitchNames, &C::Pitch, &C::SetPitch).Default(0),
        IntegerProperty("Size", &C::Size, &C::SetSize),
        SetProperty("Style", kStyleNames, &C::Style, &C::SetStyle),
    });
    return info;
}

void TPointBasedFont::SetCharset(int32_t charset)
{
    charset = charset & 0xFF;
    if (charset == charset_)
        return;
    charset_ = charset;
    changed();
}

void TPointBasedFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    changed();
}

void TPointBasedFont::SetName(const std::string& name)
{
    if (name == name_)
        return;
    name_ = name;
    changed();
}

void TPointBasedFont::SetPitch(TFontPitch pitch)
{
    if (pitch == pitch_)
        return;
    pitch_ = pitch;
    changed();
}

void TPointBasedFont::SetSize(int32_t points)
{
    if (points == size_)
        return;
    size_ = points;
    changed();
}

void TPointBasedFont::SetStyle(int32_t style)
{
    style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (style == style_)
        return;
    style_ = style;
    changed();
}

TFont TPointBasedFont::ToFont(int32_t pixelsPerInch) const
{
    TFont font;
    font.Name = name_;
    font.PixelsPerInch = pixelsPerInch;
    font.SetSize(size_);
    font.Color = color_;
    font.Charset = charset_;
    font.Bold = Bold();
    font.Italic = Italic();
    font.Underline = Underline();
    font.StrikeOut = StrikeOut();
    return font;
}

void TPointBasedFont::AssignFont(const TFont& font)
{
    int32_t style = 0;
    if (font.Bold)
        style |= fsBold;
    if (font.Italic)
        style |= fsItalic;
    if (font.Underline)
        style |= fsUnderline;
    if (font.StrikeOut)
        style |= fsStrikeOut;
    setAll(font.Charset & 0xFF, font.Color, font.Name, pitch_, font.Size(), style);
}

void TPointBasedFont::Assign(const TPointBasedFont& source)
{
    if (&source != this)
        setAll(source.charset_, source.color_, source.name_, source.pitch_, source.size_, source.style_);
}

bool operator==(const TPointBasedFont& a, const TPointBasedFont& b)
{
    return a.charset_ == b.charset_ && a.color_ == b.color_ && a.name_ == b.name_ && a.pitch_ == b.pitch_ &&
           a.size_ == b.size_ && a.style_ == b.style_;
}

void TPointBasedFont::setAll(int32_t charset, TColor color, const std::string& name, TFontPitch pitch,
                             int32_t size, int32_t style)
{
    if (charset == charset_ && color == color_ && name == name_ && pitch == pitch_ && size == size_ &&
        style == style_)
        return;
    charset_ = charset;
    color_ = color;
    name_ = name;
    pitch_ = pitch;
    size_ = size;
    style_ = style;
    changed();
}

void TPointBasedFont::changed()
{
    if (OnChange)
        OnChange();
}

}  // namespace orvella
