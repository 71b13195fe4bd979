// The 80-bit extended layout against known bit patterns.

#include "formats/extended_float.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace orvella {
namespace {

std::string hex(const TExtendedBytes& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

TExtendedBytes fromHex(const std::string& text)
{
    TExtendedBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(std::stoi(text.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

struct ExtendedCase {
    long double value;
    const char* bytes;  // little-endian, as stored
};

class ExtendedLayout : public ::testing::TestWithParam<ExtendedCase> {};

TEST_P(ExtendedLayout, EncodesAndDecodesBitForBit)
{
    const ExtendedCase& c = GetParam();
    EXPECT_EQ(hex(EncodeExtended(c.value)), c.bytes);
    const long double decoded = DecodeExtended(fromHex(c.bytes));
    EXPECT_EQ(decoded, c.value);
    EXPECT_EQ(std::signbit(decoded), std::signbit(c.value));
}

INSTANTIATE_TEST_SUITE_P(Table, ExtendedLayout, ::testing::Values(
    ExtendedCase{0.5L, "0000000000000080FE3F"},
    ExtendedCase{1.0L, "0000000000000080FF3F"},
    ExtendedCase{-2.0L, "000000000000008000C0"},
    ExtendedCase{0.1L, "CDCCCCCCCCCCCCCCFB3F"},
    ExtendedCase{0.0L, "00000000000000000000"},
    ExtendedCase{-0.0L, "00000000000000000080"},
    ExtendedCase{std::numeric_limits<long double>::infinity(), "0000000000000080FF7F"},
    ExtendedCase{-std::numeric_limits<long double>::infinity(), "0000000000000080FFFF"},
    ExtendedCase{std::numeric_limits<long double>::max(), "FFFFFFFFFFFFFFFFFE7F"},
    ExtendedCase{std::numeric_limits<long double>::min(), "00000000000000800100"},
    ExtendedCase{std::numeric_limits<long double>::denorm_min(), "01000000000000000000"},
    ExtendedCase{-std::numeric_limits<long double>::denorm_min() * 0x123456789LL, "89674523010000000080"},
    ExtendedCase{45000.25L, "000000000040C8AF0E40"}));

TEST(ExtendedLayout, NaNKeepsItsSignAndUnnormalsReadAsNaN)
{
    EXPECT_EQ(hex(EncodeExtended(std::numeric_limits<long double>::quiet_NaN())), "00000000000000C0FF7F");
    EXPECT_EQ(hex(EncodeExtended(-std::numeric_limits<long double>::quiet_NaN())), "00000000000000C0FFFF");
    EXPECT_TRUE(std::isnan(DecodeExtended(fromHex("00000000000000C0FF7F"))));
    // Integer bit clear with a non-zero exponent: the x87 calls it invalid.
    EXPECT_TRUE(std::isnan(DecodeExtended(fromHex("0000000000000000FF3F"))));
    // Pseudo-infinity (integer bit clear) is a NaN as well.
    EXPECT_TRUE(std::isnan(DecodeExtended(fromHex("0000000000000000FF7F"))));
}

TEST(ExtendedLayout, DoubleValuesWidenExactly)
{
    for (double value : {1e-310, 1.0 / 3.0, -123456.789, 1e300}) {
        const long double decoded = DecodeExtended(EncodeExtended(value));
        EXPECT_EQ(static_cast<double>(decoded), value);
        EXPECT_EQ(decoded, static_cast<long double>(value));
    }
}

}  // namespace
}  // namespace orvella
