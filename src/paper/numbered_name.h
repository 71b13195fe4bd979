#pragma once
// Catalog elements are named by number: "$" and eight upper-case
// hexadecimal digits ("$0000001A"). New elements take one more than the
// highest number in use, so numbers are never reused while higher ones live.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

std::string NumberedName(uint32_t number);
// The number of a numbered name; 0 for any other name.
uint32_t NameNumber(std::string_view name);
// 1 + the highest number among the names (1 when there is none). A catalog
// whose numbers are used up raises EPaperCatalog.
uint32_t NextNameNumber(const std::vector<std::string>& names);

}  // namespace orvella
