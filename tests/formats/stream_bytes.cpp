#include "stream_bytes.h"

namespace orvella::test {

std::string Hex(std::string_view text)
{
    std::string bytes;
    int high = -1;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            continue;
        if (high < 0) {
            high = digit;
        } else {
            bytes += char(high * 16 + digit);
            high = -1;
        }
    }
    return bytes;
}

std::string Short(std::string_view bytes)
{
    return char(std::uint8_t(bytes.size())) + std::string(bytes);
}

std::string Prop(std::string_view name, std::string_view value)
{
    return Short(name) + std::string(value);
}

std::string Record(std::string_view className, std::string_view name, std::string_view properties,
                   std::string_view children)
{
    return Short(className) + Short(name) + std::string(properties) + '\0' + std::string(children) + '\0';
}

std::string Stream(std::string_view className, std::string_view name, std::string_view properties,
                   std::string_view children)
{
    return "TPF0" + Record(className, name, properties, children);
}

std::string Int32(std::int32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += char(std::uint8_t(std::uint32_t(value) >> (8 * i)));
    return bytes;
}

std::string ShowBytes(std::string_view bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (char c : bytes) {
        if (!text.empty())
            text += ' ';
        text += kDigits[std::uint8_t(c) >> 4];
        text += kDigits[std::uint8_t(c) & 15];
    }
    return text;
}

}  // namespace orvella::test
