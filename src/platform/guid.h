#pragma once
// GUIDs as the program's change kinds and object capabilities name them,
// written in the registry form and checked while compiling. The plug-in
// boundary uses the same type, so this header stays free of Orvella code.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvella {

struct TGuid {
    uint32_t D1 = 0;
    uint16_t D2 = 0;
    uint16_t D3 = 0;
    uint8_t D4[8] = {};
    friend bool operator==(const TGuid&, const TGuid&) = default;
};

namespace guid_detail {
// -1 for a character that is no hexadecimal digit.
constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
constexpr bool Hex(std::string_view text, std::size_t first, std::size_t count, uint32_t& value)
{
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int digit = HexDigit(text[first + i]);
        if (digit < 0)
            return false;
        value = value << 4 | uint32_t(digit);
    }
    return true;
}
}  // namespace guid_detail

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", or nothing for any other text.
constexpr std::optional<TGuid> ParseGuid(std::string_view text)
{
    using guid_detail::Hex;
    if (text.size() != 38 || text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' ||
        text[24] != '-' || text[37] != '}')
        return std::nullopt;
    TGuid guid;
    uint32_t part = 0;
    if (!Hex(text, 1, 8, guid.D1))
        return std::nullopt;
    if (!Hex(text, 10, 4, part))
        return std::nullopt;
    guid.D2 = uint16_t(part);
    if (!Hex(text, 15, 4, part))
        return std::nullopt;
    guid.D3 = uint16_t(part);
    for (std::size_t i = 0; i < 8; ++i) {
        if (!Hex(text, i < 2 ? 20 + 2 * i : 21 + 2 * i, 2, part))
            return std::nullopt;
        guid.D4[i] = uint8_t(part);
    }
    return guid;
}

// The same, checked while compiling.
consteval TGuid MakeGuid(const char (&text)[39])
{
    const std::optional<TGuid> guid = ParseGuid(std::string_view(text, 38));
    if (!guid)
        throw "malformed GUID";
    return *guid;
}

std::string GuidToString(const TGuid& guid);

}  // namespace orvella
