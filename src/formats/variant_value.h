#pragma once
// The value of a variant property: empty (unassigned, never stored), null,
// or one value of the kinds a stream can carry.

#include <cstdint>
#include <string>
#include <variant>

namespace orvella {

struct TVarNull {
    bool operator==(const TVarNull&) const = default;
};
struct TVarCurrency {
    std::int64_t TenThousandths = 0;
    bool operator==(const TVarCurrency&) const = default;
};
struct TVarDate {
    double Days = 0;  // since 30 December 1899; the fraction is the time of day
    bool operator==(const TVarDate&) const = default;
};
// A wide (OLE) string, UTF-8 in memory, stored as UTF-16.
struct TVarWide {
    std::string Text;
    bool operator==(const TVarWide&) const = default;
};

using TVariant = std::variant<std::monostate, TVarNull, std::int32_t, std::int64_t, float, long double, TVarCurrency,
                              TVarDate, bool, std::string, TVarWide>;

}  // namespace orvella
