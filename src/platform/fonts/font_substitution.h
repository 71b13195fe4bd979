#pragma once
// The face names documents were written with are those of another system's
// Japanese fonts. Each maps to the installed families that look most like it,
// best first; the fallback list ends in whatever Japanese font is installed.

#include <string>
#include <string_view>
#include <vector>

namespace orvella {

// The families to try for a face name (without its '@'): the substitutes of
// a known name, or the name itself.
std::vector<std::string> SubstitutesFor(std::string_view faceName);

// Families tried when none of a name's candidates is installed.
const std::vector<std::string>& FallbackFamilies();

// The known face names, with their full-width spellings first.
const std::vector<std::string>& SubstitutedFaceNames();

}  // namespace orvella
