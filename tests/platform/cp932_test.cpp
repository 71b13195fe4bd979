#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

struct Cp932Case {
    const char* utf8;
    const char* bytes;
};

class Cp932RoundTrip : public ::testing::TestWithParam<Cp932Case> {};

TEST_P(Cp932RoundTrip, EncodesAndDecodesExactly)
{
    const Cp932Case& c = GetParam();
    EXPECT_EQ(EncodeCp932(c.utf8), c.bytes);
    EXPECT_EQ(DecodeCp932(c.bytes, Cp932Mode::Strict), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(Cases, Cp932RoundTrip, ::testing::Values(
    Cp932Case{"Orvella 1.0", "Orvella 1.0"},
    Cp932Case{"①", "\x87\x40"},                    // NEC special character
    Cp932Case{"ｱｲｳ", "\xB1\xB2\xB3"},              // half-width kana are single bytes
    Cp932Case{"～", "\x81\x60"},                    // U+FF5E, Microsoft's mapping of 0x8160
    Cp932Case{"ー", "\x81\x5B"},
    Cp932Case{"表示", "\x95\x5C\x8E\xA6"},          // second byte 0x5C is not a backslash
    Cp932Case{"Ⅳ髙", "\x87\x57\xFB\xFC"},          // NEC and IBM extensions
    Cp932Case{"", ""}));

TEST(Cp932, ReportsTheFirstUnencodableCharacter)
{
    const std::string text = "ab😀c€";
    try {
        EncodeCp932(text, Cp932Mode::Strict);
        FAIL() << "encoding should have been refused";
    } catch (const ECp932& error) {
        EXPECT_EQ(error.CharIndex(), 2u);
        EXPECT_EQ(error.CodePoint(), U'😀');
        EXPECT_NE(std::string(error.what()).find("😀"), std::string::npos);
    }
    EXPECT_EQ(FirstNonCp932Char(text), 2u);
    EXPECT_EQ(FirstNonCp932Char("全部ＯＫ①"), std::nullopt);
    EXPECT_EQ(EncodeCp932(text, Cp932Mode::Replace), "ab?c?");
}

TEST(Cp932, DamagedBytesDecodeWithoutFailing)
{
    // A lead byte with no trail byte, and an unassigned lead byte.
    EXPECT_EQ(DecodeCp932("A\x82"), "A\xEF\xBF\xBD");
    EXPECT_EQ(DecodeCp932("\xA0Z"), "\xEF\xBF\xBDZ");
    EXPECT_THROW(DecodeCp932("A\x82", Cp932Mode::Strict), ECp932);
}

}  // namespace
}  // namespace orvella
