#include "frame/split_tokens.h"

#include "platform/utf8.h"

namespace orvella {

namespace {

bool isDelimiter(std::string_view character, std::string_view delimiters)
{
    for (std::size_t pos = 0; pos < delimiters.size();) {
        const std::size_t length = Utf8CharLength(delimiters, pos);
        if (delimiters.substr(pos, length) == character)
            return true;
        pos += length;
    }
    return false;
}

}  // namespace

std::vector<std::string> SplitTokens(std::string_view text, std::string_view delimiters, bool keepEmpty)
{
    constexpr std::size_t kNone = std::string_view::npos;
    std::vector<std::string> tokens;
    bool insideQuotes = false;
    std::size_t tokenStart = kNone;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8CharLength(text, pos);
        const std::string_view character = text.substr(pos, length);
        if (character == "\"") {
            insideQuotes = !insideQuotes;
            if (insideQuotes)
                tokenStart = pos;
        } else if (!insideQuotes) {
            if (isDelimiter(character, delimiters)) {
                if (tokenStart != kNone || keepEmpty)
                    tokens.emplace_back(tokenStart == kNone ? std::string_view() : text.substr(tokenStart, pos - tokenStart));
                tokenStart = kNone;
            } else if (tokenStart == kNone) {
                tokenStart = pos;
            }
        }
        pos += length;
    }
    if (tokenStart != kNone)
        tokens.emplace_back(text.substr(tokenStart));
    return tokens;
}

}  // namespace orvella
