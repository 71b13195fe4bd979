#include "music/tag_text.h"

#include "platform/cp932.h"
#include "platform/utf8.h"

namespace orvella {

namespace {

std::u16string Utf16Units(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a));
    }
    return units;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndianDefault)
{
    bool bigEndian = bigEndianDefault;
    if (bytes.size() >= 2) {
        const auto a = static_cast<unsigned char>(bytes[0]);
        const auto b = static_cast<unsigned char>(bytes[1]);
        if (a == 0xFF && b == 0xFE) {
            bigEndian = false;
            bytes.remove_prefix(2);
        } else if (a == 0xFE && b == 0xFF) {
            bigEndian = true;
            bytes.remove_prefix(2);
        }
    }
    std::u16string units = Utf16Units(bytes, bigEndian);
    // Lone surrogates would not survive the conversion; a damaged tag still reads.
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            units[i] = 0xFFFD;
        }
    }
    return Utf16ToUtf8(units);
}

std::string FirstLineTrimmed(std::string text)
{
    const std::size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
    if (end != std::string::npos)
        text.resize(end);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

} // namespace

std::string TagText(std::string_view bytes, TTagEncoding encoding)
{
    const bool marked = bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF
        && static_cast<unsigned char>(bytes[1]) == 0xFE;
    switch (encoding) {
    case TTagEncoding::Utf16:
        return FirstLineTrimmed(DecodeUtf16(bytes, false));
    case TTagEncoding::Utf16BigEndian:
        return FirstLineTrimmed(DecodeUtf16(bytes, true));
    case TTagEncoding::Utf8:
        if (IsValidUtf8(bytes))
            return FirstLineTrimmed(std::string(bytes));
        return FirstLineTrimmed(DecodeCp932(bytes));
    case TTagEncoding::SystemCodePage:
        break;
    }
    if (marked)
        return FirstLineTrimmed(DecodeUtf16(bytes, false));
    // Cut at the first zero before decoding: fixed-width fields are padded with zeros.
    const std::size_t zero = bytes.find('\0');
    return FirstLineTrimmed(DecodeCp932(bytes.substr(0, zero)));
}

std::string DecodeTextFile(std::string_view bytes)
{
    if (bytes.size() >= 2) {
        const auto a = static_cast<unsigned char>(bytes[0]);
        const auto b = static_cast<unsigned char>(bytes[1]);
        if ((a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF))
            return DecodeUtf16(bytes, false);
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    std::string text;
    if (IsValidUtf8(bytes))
        text = bytes;
    else
        text = DecodeCp932(bytes);
    for (char& c : text)
        if (c == '\0')
            c = ' ';
    return text;
}

} // namespace orvella
