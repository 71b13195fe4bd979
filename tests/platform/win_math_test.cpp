#include "platform/win_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvella {
namespace {

struct MulDivCase {
    int32_t a, b, c, want;
};

class MulDivTable : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTable, RoundsHalfAwayFromZeroIn64Bits)
{
    const MulDivCase& c = GetParam();
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want) << c.a << " * " << c.b << " / " << c.c;
}

INSTANTIATE_TEST_SUITE_P(Cases, MulDivTable, ::testing::Values(
    MulDivCase{454, 96, 254, 172},          // 171.59 -> 172
    MulDivCase{1, 1, 2, 1},                 // tie rounds up
    MulDivCase{-1, 1, 2, -1},               // tie rounds away from zero
    MulDivCase{1, -1, 2, -1},
    MulDivCase{-1, -1, 2, 1},
    MulDivCase{3, 1, -2, -2},               // negative divisor, tie
    MulDivCase{-3, 1, -2, 2},
    MulDivCase{5, 1, 4, 1},                 // 1.25
    MulDivCase{7, 1, 4, 2},                 // 1.75
    MulDivCase{-7, 1, 4, -2},
    MulDivCase{2, 1, 3, 1},                 // 0.67, odd divisor
    MulDivCase{1, 1, 3, 0},
    MulDivCase{100000, 100000, 100000, 100000},          // product beyond 32 bits
    MulDivCase{2147483647, 2147483647, 2147483647, 2147483647},
    MulDivCase{2147483647, 2, 1, -1},      // result beyond 32 bits
    MulDivCase{12, 34, 0, -1},             // zero divisor
    MulDivCase{0, 5, 7, 0}));

struct RoundCase {
    long double value;
    int32_t round, trunc;
};

class RoundTable : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundTable, RoundsAndTruncates)
{
    const RoundCase& c = GetParam();
    EXPECT_EQ(Round(c.value), c.round) << double(c.value);
    EXPECT_EQ(Trunc(c.value), c.trunc) << double(c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundTable, ::testing::Values(
    RoundCase{0.5L, 1, 0}, RoundCase{1.5L, 2, 1}, RoundCase{2.5L, 3, 2},  // no banker's rounding
    RoundCase{-0.5L, -1, 0}, RoundCase{-2.5L, -3, -2}, RoundCase{2.4999L, 2, 2},
    RoundCase{-2.6L, -3, -2}, RoundCase{2147483647.4L, 2147483647, 2147483647},
    RoundCase{-2147483648.0L, -2147483647 - 1, -2147483647 - 1}));

TEST(WinMath, ConversionsRaiseInsteadOfUndefinedBehaviour)
{
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_THROW(Round(nan), EInvalidOp);
    EXPECT_THROW(Trunc(inf), EInvalidOp);
    EXPECT_THROW(Round(-inf), EInvalidOp);
    EXPECT_THROW(Round(2147483647.5L), EIntOverflow);
    EXPECT_THROW(Trunc(-2147483649.0L), EIntOverflow);
    EXPECT_THROW(Round64(1e30L), EIntOverflow);
    EXPECT_EQ(Round64(-4294967296.5L), -4294967297LL);
    EXPECT_EQ(Trunc64(9007199254740993.9L), 9007199254740993LL);  // needs the 64-bit mantissa
}

TEST(WinMath, IntegerDivisionRaisesOnZeroAndOverflow)
{
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_EQ(Mod(-7, 2), -1);
    EXPECT_EQ(Mod(7, -2), 1);
    EXPECT_EQ(Mod(std::numeric_limits<int32_t>::min(), -1), 0);
    EXPECT_THROW(Div(1, 0), EDivByZero);
    EXPECT_THROW(Mod(1, 0), EDivByZero);
    EXPECT_THROW(Div64(1, 0), EDivByZero);
    EXPECT_THROW(Div(std::numeric_limits<int32_t>::min(), -1), EIntOverflow);
    EXPECT_THROW(CheckedInt32(int64_t(1) << 31), EIntOverflow);
}

}  // namespace
}  // namespace orvella
