#pragma once
// The 10-byte x87 extended-precision layout of stored floating values
// (64-bit significand with an explicit integer bit, 15-bit exponent biased by
// 16383, sign bit), converted arithmetically so that it does not depend on
// the host's long double. On x86-64, where long double is that very format,
// every finite value, infinity and signed zero converts bit for bit.

#include <array>
#include <cstdint>

namespace orvella {

using TExtendedBytes = std::array<std::uint8_t, 10>;

TExtendedBytes EncodeExtended(long double value) noexcept;

// Unnormals, pseudo-infinities and pseudo-NaNs decode as NaN, the way the
// x87 treats them.
long double DecodeExtended(const TExtendedBytes& bytes) noexcept;

}  // namespace orvella
