#include "objects/text_layout.h"

#include "graphics/canvas.h"
#include "objects/point_based_font.h"
#include "platform/fonts/font_engine.h"
#include "platform/utf8.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace orvella {

namespace {

// Tried in order when a text's face is not installed.
constexpr std::array<const char*, 7> kFallbackFaces{
    "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ 明朝", "標準ゴシック", "標準明朝", "System",
};

// The face a text font is drawn with; answers are kept per face name.
const std::string& installedFace(const std::string& name)
{
    static std::map<std::string, std::string, std::less<>> answers;
    if (const auto known = answers.find(name); known != answers.end())
        return known->second;
    std::string face = name;
    if (!FontEngine().IsInstalled(name)) {
        face = kFallbackFaces.back();
        for (const char* candidate : kFallbackFaces) {
            if (FontEngine().IsInstalled(candidate)) {
                face = candidate;
                break;
            }
        }
    }
    return answers.emplace(name, std::move(face)).first->second;
}

bool hasVerticalFace(const std::string& face)
{
    static std::map<std::string, bool, std::less<>> answers;
    if (const auto known = answers.find(face); known != answers.end())
        return known->second;
    return answers.emplace(face, FontEngine().IsInstalled("@" + face)).first->second;
}

}  // namespace

void PlaceCharacters(const TABCArray& widths, int32_t width, int32_t spacing, int32_t align, TCharLayout& layout)
{
    const std::size_t n = widths.size();
    layout.Positions.assign(n, 0);
    int64_t pen = 0;
    int64_t inkLeft = std::numeric_limits<int64_t>::max();
    int64_t inkRight = std::numeric_limits<int64_t>::min();
    for (std::size_t i = 0; i < n; ++i) {
        layout.Positions[i] = int32_t(pen);
        pen += widths[i].A;
        inkLeft = std::min(inkLeft, pen);
        inkRight = std::max(inkRight, pen + widths[i].B);
        pen += int64_t(widths[i].B) + widths[i].C;
        if (align != 3)
            pen += spacing;
    }
    if (n == 0) {
        layout.InkLeft = layout.InkRight = 0;
        return;
    }
    if (align == 3) {
        const int64_t free = int64_t(width) + inkLeft - inkRight;
        const auto extra = [&](std::size_t k) { return n > 1 ? free * int64_t(k) / int64_t(n - 1) : 0; };
        pen = -inkLeft;
        for (std::size_t i = 0; i < n; ++i) {
            layout.Positions[i] = int32_t(pen);
            pen += int64_t(widths[i].A) + widths[i].B + widths[i].C;
            if (n > 1)
                pen += extra(i + 1) - extra(i);
        }
        layout.InkLeft = 0;
        layout.InkRight = width;
        return;
    }
    int64_t shift = -inkLeft;
    if (align == 2)
        shift = width - inkRight;
    else if (align == 1)
        shift = (int64_t(width) - inkRight - inkLeft) / 2;
    for (int32_t& position : layout.Positions)
        position = int32_t(position + shift);
    layout.InkLeft = int32_t(inkLeft + shift);
    layout.InkRight = int32_t(inkRight + shift);
}

TABCArray CharacterWidths(const IFont& font, std::u32string_view text)
{
    TABCArray widths(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\t') {
            widths[i] = {0, font.CharABC(U'0').Advance() * int32_t(8 - i % 8), 0};
            continue;
        }
        widths[i] = font.CharABC(text[i]);
    }
    return widths;
}

TFont PrepareTextFont(const TPointBasedFont& font, bool vertical, TColor color)
{
    TFont result = font.ToFont(kMeasuringPixelsPerInch);
    result.Underline = false;
    result.StrikeOut = false;
    result.Color = color;
    result.Name = installedFace(font.Name());
    if (vertical) {
        if (hasVerticalFace(result.Name))
            result.Name = "@" + result.Name;
        result.Orientation = 2700;
    }
    return result;
}

TCanvas& MeasuringCanvas()
{
    // No surface: measuring needs only the font and the identity mapping.
    static TCanvas canvas;
    return canvas;
}

std::u32string ToCodePoints(std::string_view utf8)
{
    std::u32string text;
    text.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        text.push_back(Utf8Decode(utf8, pos));
        pos += std::max<std::size_t>(1, Utf8CharLength(utf8, pos));
    }
    return text;
}

std::string FromCodePoints(std::u32string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (char32_t c : text)
        Utf8Append(utf8, c);
    return utf8;
}

}  // namespace orvella
