#pragma once
// Splitting of semicolon- or comma-separated lists (extension lists, content
// lists, the updater's name and folder lists). Text inside double quotes is
// never split, and the quotes stay in the token. Plain C++: the catalog merge
// library compiles this file too.

#include <string>
#include <string_view>
#include <vector>

namespace orvella {

// Every character of `delimiters` separates tokens. Empty tokens are kept
// only when keepEmpty is true; a trailing delimiter never adds one.
std::vector<std::string> SplitTokens(std::string_view text, std::string_view delimiters, bool keepEmpty);

inline std::vector<std::string> SplitTokens(std::string_view text, std::string_view delimiters)
{
    return SplitTokens(text, delimiters, false);
}

inline std::vector<std::string> SplitTokensKeepEmpty(std::string_view text, std::string_view delimiters)
{
    return SplitTokens(text, delimiters, true);
}

}  // namespace orvella
