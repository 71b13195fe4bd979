#pragma once
// The genre names of the one-byte genre field of ID3v1 tags, also named by
// "(n)" groups in ID3v2 genre texts.

#include <string>

namespace orvella {

// The name of genre `index`; an index outside the table reads "Unknown(n)".
std::string GenreName(int index);

// Replaces every "(n)" group with a decimal n by the genre's name and keeps
// all other text, so "(17)Live" becomes "RockLive". A text that is only a
// number (as newer taggers write it) is a genre index too.
std::string ExpandGenreText(const std::string& text);

} // namespace orvella
