#pragma once
// Walking UTF-8 text character by character without Qt. Bytes that do not
// form a valid sequence count as one character each, so nothing is lost or
// altered when text is only scanned and cut.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvella {

// Length in bytes of the character that starts at text[pos] (1 for a stray
// or invalid byte). pos must be < text.size().
std::size_t Utf8CharLength(std::string_view text, std::size_t pos) noexcept;

// The code point at text[pos]; an invalid byte decodes as 0xFFFD.
char32_t Utf8Decode(std::string_view text, std::size_t pos) noexcept;

// Number of characters in text.
std::size_t Utf8CharCount(std::string_view text) noexcept;

// The first `count` characters of text.
std::string_view Utf8Left(std::string_view text, std::size_t count) noexcept;

void Utf8Append(std::string& out, char32_t codePoint);

// UTF-16 (as Windows wide strings and COM strings carry it) to UTF-8 and
// back; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// True when every byte of text belongs to a valid UTF-8 sequence.
bool IsValidUtf8(std::string_view text) noexcept;

}  // namespace orvella
