#pragma once
// The one codec between the program's Unicode text (UTF-8 here) and the
// CP932 bytes of every stored 8-bit string, through glibc's iconv "CP932"
// (the Microsoft table: 0x8160 is U+FF5E, 0x8740 is ①).

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvella {

class ECp932 : public std::runtime_error {
public:
    ECp932(const std::string& message, std::size_t charIndex, char32_t codePoint);
    // 0-based character index of the offending character in the input text,
    // and the character itself (for decoding: the offending byte).
    std::size_t CharIndex() const noexcept { return charIndex_; }
    char32_t CodePoint() const noexcept { return codePoint_; }

private:
    std::size_t charIndex_;
    char32_t codePoint_;
};

enum class Cp932Mode {
    Strict,   // the first character that has no CP932 form raises ECp932
    Replace,  // such characters become '?', as Windows' default character
};

// UTF-8 text to CP932 bytes.
std::string EncodeCp932(std::string_view utf8, Cp932Mode mode = Cp932Mode::Strict);

// CP932 bytes to UTF-8. In Replace mode a byte that starts no valid
// character becomes U+FFFD, so reading damaged data never fails.
std::string DecodeCp932(std::string_view bytes, Cp932Mode mode = Cp932Mode::Replace);

// The 0-based character index of the first character of utf8 that CP932
// cannot represent, or nothing when all can. Used to refuse what a user
// types before it could be lost on saving.
std::optional<std::size_t> FirstNonCp932Char(std::string_view utf8);

// Formats the message shown when a text cannot be stored, naming the character.
std::string Cp932UnencodableMessage(char32_t codePoint);

}  // namespace orvella
