#pragma once
// Integer types whose values have names in a stream (colours, font
// character sets, cursors): such a value is written as its identifier and
// read back from either form. Lookup by name ignores case.

#include "platform/color_value.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orvella {

struct TIdentMapEntry {
    std::int32_t Value;
    const char* Name;
};

using TIdentTable = std::span<const TIdentMapEntry>;

TIdentTable ColorIdents() noexcept;
TIdentTable CharsetIdents() noexcept;
TIdentTable CursorIdents() noexcept;

std::optional<std::int32_t> IdentToInt(TIdentTable table, std::string_view name) noexcept;
// The first name with that value (crSizeAll for -22), or nullptr.
const char* IntToIdent(TIdentTable table, std::int32_t value) noexcept;

}  // namespace orvella
