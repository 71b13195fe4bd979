#pragma once
// Windows-style case-insensitive comparison of UTF-8 text, without Qt (the
// catalog merge library compiles this file too). Characters are compared by
// their simple upper-case mapping, so "exeDir" matches "ExeDir" and full-width
// ａ matches Ａ; ordering is by the upper-cased code points.

#include <string>
#include <string_view>

namespace orvella {

char32_t UpperCaseOf(char32_t codePoint) noexcept;

std::string UpperCase(std::string_view text);

bool SameText(std::string_view a, std::string_view b) noexcept;

// < 0, 0 or > 0 as a sorts before, with or after b.
int CompareText(std::string_view a, std::string_view b) noexcept;

// Case-insensitive search; returns std::string_view::npos when absent.
std::size_t FindText(std::string_view haystack, std::string_view needle) noexcept;

}  // namespace orvella
