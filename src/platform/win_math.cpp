#include "platform/win_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvella {

EDivByZero::EDivByZero() : EMathError("0 で除算しました") {}
EIntOverflow::EIntOverflow() : EMathError("整数オーバーフローが発生しました") {}
EInvalidOp::EInvalidOp() : EMathError("無効な浮動小数点演算です") {}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) noexcept
{
    if (c == 0)
        return -1;
    int64_t product = int64_t(a) * int64_t(b);
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;  // |a*b| <= 2^62, so the negation cannot overflow
        divisor = -divisor;
    }
    const int64_t half = divisor / 2;
    const int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > std::numeric_limits<int32_t>::max() || result < std::numeric_limits<int32_t>::min())
        return -1;
    return int32_t(result);
}

namespace {

// The largest magnitude a long double may have before conversion to T overflows.
template <typename T>
T checkedConvert(long double integral)
{
    if (std::isnan(integral) || std::isinf(integral))
        throw EInvalidOp();
    // Compare against 2^(bits-1), which long double represents exactly.
    const long double limit = std::ldexp(1.0L, std::numeric_limits<T>::digits);
    if (integral >= limit || integral < -limit)
        throw EIntOverflow();
    return T(integral);
}

long double roundHalfAway(long double value)
{
    // roundl rounds halfway cases away from zero, independent of the FPU mode.
    return std::roundl(value);
}

}  // namespace

int32_t Round(long double value) { return checkedConvert<int32_t>(roundHalfAway(value)); }
int64_t Round64(long double value) { return checkedConvert<int64_t>(roundHalfAway(value)); }
int32_t Trunc(long double value) { return checkedConvert<int32_t>(std::truncl(value)); }
int64_t Trunc64(long double value) { return checkedConvert<int64_t>(std::truncl(value)); }

int32_t Div(int32_t a, int32_t b)
{
    if (b == 0)
        throw EDivByZero();
    if (a == std::numeric_limits<int32_t>::min() && b == -1)
        throw EIntOverflow();
    return a / b;
}

int32_t Mod(int32_t a, int32_t b)
{
    if (b == 0)
        throw EDivByZero();
    if (b == -1)
        return 0;
    return a % b;
}

int64_t Div64(int64_t a, int64_t b)
{
    if (b == 0)
        throw EDivByZero();
    if (a == std::numeric_limits<int64_t>::min() && b == -1)
        throw EIntOverflow();
    return a / b;
}

int64_t Mod64(int64_t a, int64_t b)
{
    if (b == 0)
        throw EDivByZero();
    if (b == -1)
        return 0;
    return a % b;
}

int32_t CheckedInt32(int64_t value)
{
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
        throw EIntOverflow();
    return int32_t(value);
}

int32_t SaturateInt32(int64_t value) noexcept
{
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace orvella
