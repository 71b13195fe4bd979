#include "platform/text_case.h"

#include "platform/utf8.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <locale.h>

namespace orvella {

namespace {

// glibc's built-in C.UTF-8 locale carries the full Unicode case tables and
// exists on every system, whatever the user's own locale is.
locale_t unicodeLocale() noexcept
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    return locale;
}

bool isAscii(std::string_view text) noexcept
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

char asciiUpper(char c) noexcept { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

char32_t UpperCaseOf(char32_t codePoint) noexcept
{
    if (codePoint < 0x80)
        return (codePoint >= 'a' && codePoint <= 'z') ? codePoint - 'a' + 'A' : codePoint;
    const locale_t locale = unicodeLocale();
    if (locale == locale_t(0))
        return codePoint;
    return char32_t(towupper_l(wint_t(codePoint), locale));
}

std::string UpperCase(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8CharLength(text, pos);
        const char32_t codePoint = Utf8Decode(text, pos);
        if (codePoint == 0xFFFD && length == 1 && static_cast<unsigned char>(text[pos]) >= 0x80)
            result.append(text.substr(pos, 1));  // keep stray bytes as they are
        else
            Utf8Append(result, UpperCaseOf(codePoint));
        pos += length;
    }
    return result;
}

int CompareText(std::string_view a, std::string_view b) noexcept
{
    if (isAscii(a) && isAscii(b)) {
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i) {
            const char ca = asciiUpper(a[i]);
            const char cb = asciiUpper(b[i]);
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    std::size_t pa = 0;
    std::size_t pb = 0;
    while (pa < a.size() && pb < b.size()) {
        // Stray bytes compare by their byte value, above every valid code point.
        const std::size_t la = Utf8CharLength(a, pa);
        const std::size_t lb = Utf8CharLength(b, pb);
        const char32_t ca = (la == 1 && static_cast<unsigned char>(a[pa]) >= 0x80)
                                ? 0x110000 + static_cast<unsigned char>(a[pa])
                                : UpperCaseOf(Utf8Decode(a, pa));
        const char32_t cb = (lb == 1 && static_cast<unsigned char>(b[pb]) >= 0x80)
                                ? 0x110000 + static_cast<unsigned char>(b[pb])
                                : UpperCaseOf(Utf8Decode(b, pb));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        pa += la;
        pb += lb;
    }
    if (pa < a.size())
        return 1;
    if (pb < b.size())
        return -1;
    return 0;
}

bool SameText(std::string_view a, std::string_view b) noexcept
{
    if (a.size() == b.size() && a == b)
        return true;
    return CompareText(a, b) == 0;
}

std::size_t FindText(std::string_view haystack, std::string_view needle) noexcept
{
    if (needle.empty())
        return 0;
    const std::size_t needleChars = Utf8CharCount(needle);
    for (std::size_t pos = 0; pos < haystack.size(); pos += Utf8CharLength(haystack, pos)) {
        const std::string_view candidate = Utf8Left(haystack.substr(pos), needleChars);
        if (SameText(candidate, needle))
            return pos;
    }
    return std::string_view::npos;
}

}  // namespace orvella
