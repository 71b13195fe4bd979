#pragma once
// Names for new sheets: a stem followed by the first number from 1 upward
// that gives a name no other sheet has ("新規シート1", "表のコピー2").

#include <string>
#include <string_view>
#include <vector>

namespace orvella {

inline constexpr char kNewSheetStem[] = "新規シート";
inline constexpr char kCopySheetSuffix[] = "のコピー";

// Names compare without regard to case. After 1001 numbers the last one
// tried is taken even when it is in use, so a name is always found.
std::string NumberedSheetName(std::string_view stem, const std::vector<std::string>& usedNames);

// The stem a copy of the named sheet is numbered from. The sheet's name is
// taken as plain text: a "%" in it is kept as it stands.
std::string CopySheetStem(std::string_view sheetName);

}  // namespace orvella
