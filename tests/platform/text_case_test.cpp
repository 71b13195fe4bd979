#include "platform/text_case.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

TEST(TextCase, ComparesLikeWindowsIgnoringCase)
{
    EXPECT_TRUE(SameText("ExeDir", "exeDIR"));
    EXPECT_TRUE(SameText("ＡＢＣ", "ａｂｃ"));    // full-width letters fold too
    EXPECT_TRUE(SameText("Ärger", "äRGER"));
    EXPECT_FALSE(SameText("ExeDir", "ExeDir2"));
    EXPECT_FALSE(SameText("が", "か"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("abc", "ABCD"), 0);
    EXPECT_EQ(UpperCase("data\\Template.dat"), "DATA\\TEMPLATE.DAT");
    EXPECT_EQ(FindText("Data\\BackGrnd\\BackGrnd.dat", "backgrnd.DAT"), 14u);
    EXPECT_EQ(FindText("abc", "x"), std::string_view::npos);
}

TEST(TextCase, StrayBytesCompareByValueAndSurvive)
{
    EXPECT_FALSE(SameText("a\xFF", "a\xFE"));
    EXPECT_TRUE(SameText("A\xFF", "a\xFF"));
    EXPECT_EQ(UpperCase("x\xFFy"), "X\xFFY");
}

}  // namespace
}  // namespace orvella
