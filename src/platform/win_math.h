#pragma once
// Windows arithmetic as the program's stored numbers expect it: MulDiv with a
// 64-bit intermediate, rounding half away from zero, truncation, and integer
// division that raises instead of trapping. Every conversion from a floating
// value is checked: NaN, infinity and out-of-range values raise EMathError,
// never undefined behaviour.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orvella {

class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EDivByZero : public EMathError {
public:
    EDivByZero();
};

class EIntOverflow : public EMathError {
public:
    EIntOverflow();
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp();
};

// a * b / c rounded half away from zero, computed in 64 bits. As on Windows,
// a zero divisor and a result outside the 32-bit range both give -1.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) noexcept;

// Nearest integer, halves away from zero (2.5 -> 3, -2.5 -> -3).
int32_t Round(long double value);
int64_t Round64(long double value);

// Towards zero.
int32_t Trunc(long double value);
int64_t Trunc64(long double value);

// Integer division and remainder with Pascal's div/mod semantics (truncating,
// remainder takes the sign of the dividend); zero divisors raise EDivByZero,
// INT_MIN / -1 raises EIntOverflow.
int32_t Div(int32_t a, int32_t b);
int32_t Mod(int32_t a, int32_t b);
int64_t Div64(int64_t a, int64_t b);
int64_t Mod64(int64_t a, int64_t b);

// Narrowing with a check, for values computed in 64 bits.
int32_t CheckedInt32(int64_t value);

// Narrowing that clamps to the 32-bit range, for lengths computed from stored
// numbers: damaged input then gives huge values rather than wrapped ones.
int32_t SaturateInt32(int64_t value) noexcept;

}  // namespace orvella
