#include "formats/extended_float.h"

#include <cmath>
#include <limits>

namespace orvella {

namespace {

constexpr int kBias = 16383;
constexpr std::uint64_t kIntegerBit = std::uint64_t(1) << 63;

TExtendedBytes pack(bool negative, unsigned exponent, std::uint64_t significand) noexcept
{
    TExtendedBytes bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[i] = std::uint8_t(significand >> (8 * i));
    const unsigned signAndExponent = (negative ? 0x8000u : 0u) | (exponent & 0x7FFFu);
    bytes[8] = std::uint8_t(signAndExponent);
    bytes[9] = std::uint8_t(signAndExponent >> 8);
    return bytes;
}

}  // namespace

TExtendedBytes EncodeExtended(long double value) noexcept
{
    const bool negative = std::signbit(value);
    if (std::isnan(value))
        return pack(negative, 0x7FFF, kIntegerBit | (kIntegerBit >> 1));
    if (std::isinf(value))
        return pack(negative, 0x7FFF, kIntegerBit);
    if (value == 0)
        return pack(negative, 0, 0);

    const long double magnitude = std::fabs(value);
    int exponent = 0;
    const long double fraction = std::frexp(magnitude, &exponent);  // [0.5, 1)
    const int biased = exponent - 1 + kBias;
    if (biased >= 0x7FFF)
        return pack(negative, 0x7FFF, kIntegerBit);
    if (biased >= 1)
        return pack(negative, unsigned(biased), std::uint64_t(std::ldexp(fraction, 64)));
    // Denormal: the significand counts units of 2^-16445, without integer bit.
    const long double units = std::nearbyint(std::ldexp(magnitude, kBias - 1 + 63));
    return pack(negative, 0, std::uint64_t(units));
}

long double DecodeExtended(const TExtendedBytes& bytes) noexcept
{
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i)
        significand = (significand << 8) | bytes[i];
    const unsigned signAndExponent = unsigned(bytes[8]) | (unsigned(bytes[9]) << 8);
    const bool negative = (signAndExponent & 0x8000u) != 0;
    const int exponent = int(signAndExponent & 0x7FFFu);

    long double magnitude;
    if (exponent == 0x7FFF) {
        if (significand == kIntegerBit)
            magnitude = std::numeric_limits<long double>::infinity();
        else
            magnitude = std::numeric_limits<long double>::quiet_NaN();
    } else if (exponent == 0) {
        magnitude = std::ldexp(static_cast<long double>(significand), 1 - kBias - 63);
    } else if ((significand & kIntegerBit) == 0) {
        magnitude = std::numeric_limits<long double>::quiet_NaN();
    } else {
        magnitude = std::ldexp(static_cast<long double>(significand), exponent - kBias - 63);
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace orvella
