#include "paper/numbered_name.h"

#include "paper/paper_error.h"

#include <algorithm>
#include <cstdio>

namespace orvella {

std::string NumberedName(uint32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", unsigned(number));
    return text;
}

uint32_t NameNumber(std::string_view name)
{
    if (name.size() != 9 || name[0] != '$')
        return 0;
    uint32_t number = 0;
    for (char c : name.substr(1)) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return 0;
        number = number * 16 + uint32_t(digit);
    }
    return number;
}

uint32_t NextNameNumber(const std::vector<std::string>& names)
{
    uint32_t highest = 0;
    for (const std::string& name : names)
        highest = std::max(highest, NameNumber(name));
    if (highest == UINT32_MAX)
        throw EPaperCatalog("用紙情報の番号が尽きました");
    return highest + 1;
}

}  // namespace orvella
