#include "platform/utf8.h"

namespace orvella {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one well-formed sequence (no overlong forms, no surrogates, at most
// U+10FFFF); length 0 means the byte at pos does not start one.
struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

Decoded decode(std::string_view text, std::size_t pos) noexcept
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length;
    char32_t codePoint;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return {0xFFFD, 0};
    }
    if (text.size() - pos < length)
        return {0xFFFD, 0};
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(byte))
            return {0xFFFD, 0};
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {0xFFFD, 0};
    return {codePoint, length};
}

}  // namespace

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) noexcept
{
    const std::size_t length = decode(text, pos).length;
    return length == 0 ? 1 : length;
}

char32_t Utf8Decode(std::string_view text, std::size_t pos) noexcept { return decode(text, pos).codePoint; }

std::size_t Utf8CharCount(std::string_view text) noexcept
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos))
        ++count;
    return count;
}

std::string_view Utf8Left(std::string_view text, std::size_t count) noexcept
{
    std::size_t pos = 0;
    for (; pos < text.size() && count > 0; --count)
        pos += Utf8CharLength(text, pos);
    return text.substr(0, pos);
}

void Utf8Append(std::string& out, char32_t codePoint)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out += char(codePoint);
    } else if (codePoint < 0x800) {
        out += char(0xC0 | (codePoint >> 6));
        out += char(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += char(0xE0 | (codePoint >> 12));
        out += char(0x80 | ((codePoint >> 6) & 0x3F));
        out += char(0x80 | (codePoint & 0x3F));
    } else {
        out += char(0xF0 | (codePoint >> 18));
        out += char(0x80 | ((codePoint >> 12) & 0x3F));
        out += char(0x80 | ((codePoint >> 6) & 0x3F));
        out += char(0x80 | (codePoint & 0x3F));
    }
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            Utf8Append(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else {
            Utf8Append(out, unit);  // lone surrogates come out as U+FFFD
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos)) {
        const char32_t codePoint = Utf8Decode(text, pos);
        if (codePoint >= 0x10000) {
            out += char16_t(0xD800 + ((codePoint - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            out += char16_t(codePoint);
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view text) noexcept
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = decode(text, pos).length;
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

}  // namespace orvella
