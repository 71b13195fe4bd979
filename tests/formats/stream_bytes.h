#pragma once
// Building expected stream bytes by hand in tests: short strings, tagged
// values and hex.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvella::test {

// "7F 00 80" -> bytes; blanks ignored.
std::string Hex(std::string_view text);
// Short string: a length byte, then the bytes.
std::string Short(std::string_view bytes);
// A property record: its name as a short string, then the tagged value.
std::string Prop(std::string_view name, std::string_view value);
// A whole stream: signature, class, name, properties, end, children, end.
std::string Stream(std::string_view className, std::string_view name, std::string_view properties,
                   std::string_view children = {});
// A child component record.
std::string Record(std::string_view className, std::string_view name, std::string_view properties,
                   std::string_view children = {});
std::string Int32(std::int32_t value);
std::string ShowBytes(std::string_view bytes);

}  // namespace orvella::test
