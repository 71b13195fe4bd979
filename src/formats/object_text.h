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

// The stream (signature included, no wrapper). A syntax error raises
// EReadError naming the line.
std::string ObjectTextToBinary(std::string_view text);

// A float in the converter's fixed layout: sign or space, one digit, 20
// decimals, "E", sign, four exponent digits; infinities and NaN right-aligned
// in the same 29 columns.
std::string FormatStreamFloat(long double value);

}  // namespace orvella
