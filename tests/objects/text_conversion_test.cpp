#include "objects/text_conversions.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

struct ConversionCase {
    const char16_t* text;
    char16_t except;
    const char16_t* want;
};

class HanToZen : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(HanToZen, ConvertsAsTheTablesSay)
{
    const ConversionCase& c = GetParam();
    const QChar except = c.except ? QChar(c.except) : QChar();
    EXPECT_EQ(HanToZenConvert(QString::fromUtf16(c.text), except), QString::fromUtf16(c.want));
}

INSTANTIATE_TEST_SUITE_P(
    Table, HanToZen,
    ::testing::Values(
        ConversionCase{u"ｶﾞ", 0, u"ガ"}, ConversionCase{u"ｳﾞ", 0, u"ヴ"},
        ConversionCase{u"ﾌﾞ", 0, u"ブ"},  // listed twice: the first entry wins
        ConversionCase{u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", 0, u"パピプペポ"},
        // Marks without a pair: the kana alone, then the mark alone.
        ConversionCase{u"ｱﾞ", 0, u"ア゛"}, ConversionCase{u"ｶﾟ", 0, u"カ゜"}, ConversionCase{u"ﾞ", 0, u"゛"},
        // Characters listed twice map by their first occurrence.
        ConversionCase{u"ｶｹｬｭﾜ", 0, u"カケャュワ"}, ConversionCase{u"ｦﾝｰ｡｢｣､･", 0, u"ヲンー。「」、・"},
        ConversionCase{u"\"*\\~'", 0, u"”×￥″’"}, ConversionCase{u"Az09!?", 0, u"Ａｚ０９！？"},
        ConversionCase{u"a-b", u'-', u"ａ-ｂ"}, ConversionCase{u"a-b", 0, u"ａ－ｂ"},
        // Spaces, full-width and other characters stay.
        ConversionCase{u" 漢字ガ€", 0, u" 漢字ガ€"}, ConversionCase{u"", 0, u""}));

TEST(NumToKnj, ConvertsFullWidthDigitsOnly)
{
    EXPECT_EQ(NumToKnjConvert(QStringLiteral("０１２３４５６７８９")), QStringLiteral("〇一二三四五六七八九"));
    EXPECT_EQ(NumToKnjConvert(QStringLiteral("12")), QStringLiteral("12"));
    // With both conversions, half-width digits reach kanji in two steps.
    EXPECT_EQ(NumToKnjConvert(HanToZenConvert(QStringLiteral("No.12"))), QStringLiteral("Ｎｏ．一二"));
}

}  // namespace
}  // namespace orvella
