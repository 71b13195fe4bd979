#pragma once
// The readable text form of a component stream, line for line as Free
// Pascal's ObjectBinaryToText prints it ("object Name: TClass", two spaces
// of indent per level, #NNN for bytes outside printable ASCII, floats as
// " 5.00000000000000000000E-0001") and back as ObjectTextToBinary reads it.
// The single, currency and date tags, which that converter cannot print,
// are printed as floats with the suffix s, c or d and read back to the same
// tag.

#include <string>
#include <string_view>

namespace orvella {

// The bytes may start with the resource wrapper, which is skipped. Damaged
// input raises EReadError.
std::string ObjectBinaryToText(std::string_view bytes);

// How strings outside ASCII are read. FreePascal: as that converter reads
// them, every #NNN above 127 making the string wide. CodePage: as the text
// form prints a document's strings, #NNN up to 255 being the bytes of the
// program's code page; a quoted run in UTF-8 is read as the characters it
// spells.
enum class TTextStrings { FreePascal, CodePage };

// The stream (signature included, no wrapper). A syntax error raises
// EReadError naming the line.
std::string ObjectTextToBinary(std::string_view text, TTextStrings strings = TTextStrings::FreePascal);

// A float in the converter's fixed layout: sign or space, one digit, 20
// decimals, "E", sign, four exponent digits; infinities and NaN right-aligned
// in the same 29 columns.
std::string FormatStreamFloat(long double value);

}  // namespace orvella
