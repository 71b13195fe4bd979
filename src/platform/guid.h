#pragma once
// GUIDs as the program's change kinds and object capabilities name them,
// written in the registry form and checked while compiling. The plug-in
// boundary uses the same type, so this header stays free of Orvella code.

#include <cstdint>
#include <string>

namespace orvella {

struct TGuid {
    uint32_t D1 = 0;
    uint16_t D2 = 0;
    uint16_t D3 = 0;
    uint8_t D4[8] = {};
    friend bool operator==(const TGuid&, const TGuid&) = default;
};

namespace guid_detail {
consteval uint32_t HexDigit(char c)
{
    if (c >= '0' && c <= '9') return uint32_t(c - '0');
    if (c >= 'A' && c <= 'F') return uint32_t(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return uint32_t(c - 'a' + 10);
    throw "not a hexadecimal digit";
}
consteval uint32_t Hex(const char* text, int first, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 4 | HexDigit(text[first + i]);
    return value;
}
}  // namespace guid_detail

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", checked while compiling.
consteval TGuid MakeGuid(const char (&text)[39])
{
    using guid_detail::Hex;
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' || text[37] != '}')
        throw "malformed GUID";
    TGuid guid;
    guid.D1 = Hex(text, 1, 8);
    guid.D2 = uint16_t(Hex(text, 10, 4));
    guid.D3 = uint16_t(Hex(text, 15, 4));
    guid.D4[0] = uint8_t(Hex(text, 20, 2));
    guid.D4[1] = uint8_t(Hex(text, 22, 2));
    for (int i = 0; i < 6; ++i)
        guid.D4[2 + i] = uint8_t(Hex(text, 25 + 2 * i, 2));
    return guid;
}

std::string GuidToString(const TGuid& guid);

}  // namespace orvella
