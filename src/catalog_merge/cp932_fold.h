#pragma once
// Case-insensitive comparison of CP932 bytes as the catalogs need it: ASCII
// letters fold, everything else compares by byte value. Double-byte
// characters are skipped whole, because their second byte may fall in the
// ASCII letter range (0x8341 is ア, 0x8361 is ヂ) and must not fold.

#include <string>
#include <string_view>

namespace orvella::velmont {

std::string FoldCp932(std::string_view bytes);

bool SameCp932Text(std::string_view a, std::string_view b);

// < 0, 0 or > 0, comparing the folded bytes as unsigned values.
int CompareCp932Text(std::string_view a, std::string_view b);

}  // namespace orvella::velmont
