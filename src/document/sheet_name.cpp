#include "document/sheet_name.h"

#include "platform/text_case.h"

#include <algorithm>

namespace orvella {

namespace {

constexpr int kMaxSheetNumber = 1001;

}  // namespace

std::string NumberedSheetName(std::string_view stem, const std::vector<std::string>& usedNames)
{
    std::string name;
    for (int number = 1; number <= kMaxSheetNumber; ++number) {
        name = std::string(stem) + std::to_string(number);
        const bool used = std::any_of(usedNames.begin(), usedNames.end(),
                                      [&](const std::string& other) { return SameText(other, name); });
        if (!used)
            break;
    }
    return name;
}

std::string CopySheetStem(std::string_view sheetName) { return std::string(sheetName) + kCopySheetSuffix; }

}  // namespace orvella
