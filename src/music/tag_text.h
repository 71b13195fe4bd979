#pragma once
// Texts of music tags and playlists turned into the program's UTF-8: the
// byte-order-marked UTF-16 that taggers write, UTF-8, and otherwise the
// system code page (CP932) that older Japanese tags use.

#include <string>
#include <string_view>

namespace orvella {

// How the bytes of a text are encoded.
enum class TTagEncoding { SystemCodePage, Utf16, Utf16BigEndian, Utf8 };

// Decodes `bytes`, keeps only the text up to the first line break or zero
// character, and cuts trailing blanks. Utf16 honours a byte-order mark
// (little-endian without one); SystemCodePage also recognises FF FE.
std::string TagText(std::string_view bytes, TTagEncoding encoding = TTagEncoding::SystemCodePage);

// The text of a whole file (playlists): UTF-16 with a byte-order mark, UTF-8
// (with or without its mark, when the bytes are valid UTF-8), else CP932.
std::string DecodeTextFile(std::string_view bytes);

} // namespace orvella
