#include "frame/macro_string.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

// The table every case expands through.
TMacroString makeTable(bool stripQuotes)
{
    TMacroString table;
    table.SetText(
        "ExeDir=C:\\App\\\n"
        "A=$(B)\n"
        "B=$(A)\n"
        "SysApplicationFolder=\n"
        "X=D:\\Data\n"
        "Kind=Key\n"
        "SysKey=Software\\Orvella\n"
        "Quoted=\"word\"\n"
        "Quote=\"\n"
        "Eq=a=b\n"
        "NoEqualsLine\n"
        "A(B=paren\n"
        "日本=にほん\n"
        "Self=x$(Self)\n");
    table.StripQuotes = stripQuotes;
    return table;
}

struct ExpandCase {
    const char* text;
    const char* want;   // expected result, or the expected error message
    bool raises;
    bool stripQuotes = true;
};

class MacroExpand : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(MacroExpand, ExpandsAsTheTableSays)
{
    const ExpandCase& c = GetParam();
    TMacroString table = makeTable(c.stripQuotes);
    if (c.raises) {
        try {
            const std::string got = table.Expand(c.text);
            FAIL() << "expected an error, got " << got;
        } catch (const EMacroString& error) {
            EXPECT_STREQ(error.what(), c.want);
        }
    } else {
        EXPECT_EQ(table.Expand(c.text), c.want);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MacroExpand, ::testing::Values(
    ExpandCase{"$(ExeDir)Plugins", "C:\\App\\Plugins", false},
    ExpandCase{"$(exeDir)Plugins", "C:\\App\\Plugins", false},
    ExpandCase{"$(A)", "A マクロが循環参照されています", true},
    ExpandCase{"$(Self)", "Self マクロが循環参照されています", true},
    ExpandCase{"$(Missing:inessential)", "", false},
    ExpandCase{"[$(Missing:Unessential)]", "[]", false},
    ExpandCase{"$(Missing)", "未定義のMissingマクロが使用されています", true},
    ExpandCase{"$(SysApplicationFolder)", "未定義のSysApplicationFolderマクロが使用されています", true},
    ExpandCase{"$(Missing:Upper)", "未定義のMissingマクロが使用されています", true},  // lookup fails first
    ExpandCase{"$(X:Drive)", "D", false},
    ExpandCase{"$(X:shortPath)", "D:\\Data", false},
    ExpandCase{"$(X:Upper)", "未定義のフォーマット指定(Upper)が使用されています", true},
    ExpandCase{"abc$(", "abc$(の5文字目から始まるマクロが閉じていません", true},
    ExpandCase{"$()", "$()の2文字目から始まるマクロが間違っています", true},
    ExpandCase{"日本$(", "日本$(の4文字目から始まるマクロが閉じていません", true},  // characters, not bytes
    ExpandCase{"100$", "100$", false},
    ExpandCase{"a)b", "a)b", false},
    ExpandCase{"$ (X)", "$ (X)", false},
    ExpandCase{"$(Sys$(Kind))", "Software\\Orvella", false},   // nested name
    ExpandCase{"$(A(B))", "paren)", false},                     // a lone ( does not nest
    ExpandCase{"$(Eq)", "a=b", false},
    ExpandCase{"$(NoEqualsLine:inessential)", "", false},
    ExpandCase{"$(日本)", "にほん", false},
    ExpandCase{"$(Quoted)", "word", false},
    ExpandCase{"$(Quote)", "\"", false},
    ExpandCase{"\"x\"", "x", false},
    ExpandCase{"$(Quote)x$(Quote)", "x", false},
    ExpandCase{"$(Quoted)", "\"word\"", false, false},
    ExpandCase{"\"x\"", "\"x\"", false, false}));

TEST(MacroString, FailedExpansionLeavesTheExpanderUsable)
{
    TMacroString table = makeTable(true);
    const std::vector<std::string> before = table.Lines();
    EXPECT_THROW(table.Expand("$(A)"), EMacroString);
    EXPECT_THROW(table.Expand("$(X:Upper)"), EMacroString);
    EXPECT_EQ(table.Expand("$(X:Drive)$(ExeDir)"), "DC:\\App\\");
    EXPECT_THROW(table.Expand("$(B)"), EMacroString);  // and still finds the cycle
    EXPECT_EQ(table.Lines(), before);
}

TEST(MacroString, HostileNestingIsAnErrorNotACrash)
{
    TMacroString table;
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "$(";
    text += std::string(100000, ')');
    EXPECT_THROW(table.Expand(text), EMacroString);
}

TEST(MacroString, ModifierIsCutAt255Characters)
{
    TMacroString table = makeTable(true);
    const std::string modifier = std::string(255, 'm');
    try {
        table.Expand("$(X:" + modifier + "tail)");
        FAIL();
    } catch (const EMacroString& error) {
        EXPECT_EQ(std::string(error.what()), "未定義のフォーマット指定(" + modifier + ")が使用されています");
    }
}

TEST(MacroString, ValuesAreSetReplacedAndDeletedByName)
{
    TMacroString table;
    table.SetValue("AppName", "Project");
    table.SetValue("appname", "Orvella");
    EXPECT_EQ(table.Lines(), std::vector<std::string>{"appname=Orvella"});
    table.Add("Other=1");
    table.SetValue("APPNAME", "");
    EXPECT_EQ(table.Lines(), std::vector<std::string>{"Other=1"});
    table.SetValue("Missing", "");
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.IndexOfName("other"), 0);
    table.SetText("A=1\r\nB=2\rC=3\n\nD=4");
    EXPECT_EQ(table.Lines(), (std::vector<std::string>{"A=1", "B=2", "C=3", "", "D=4"}));
    EXPECT_EQ(table.Text(), "A=1\r\nB=2\r\nC=3\r\n\r\nD=4\r\n");
}

TEST(MacroString, UnquoteRemovesOnePairOnly)
{
    EXPECT_EQ(Unquote("\"\"x\"\""), "\"x\"");
    EXPECT_EQ(Unquote("\""), "\"");
    EXPECT_EQ(Unquote("\"\""), "");
    EXPECT_EQ(Unquote("\"x"), "\"x");
}

}  // namespace
}  // namespace orvella
