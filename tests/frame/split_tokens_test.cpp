#include "frame/split_tokens.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

struct SplitCase {
    const char* text;
    const char* delimiters;
    bool keepEmpty;
    std::vector<std::string> want;
};

class SplitTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, SplitsOutsideQuotes)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitTokens(c.text, c.delimiters, c.keepEmpty), c.want) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, SplitTable, ::testing::Values(
    SplitCase{"a;;b;", ";", false, {"a", "b"}},
    SplitCase{"a;;b;", ";", true, {"a", "", "b"}},
    SplitCase{"\"x;y\";z", ";", false, {"\"x;y\"", "z"}},
    SplitCase{";a", ";", true, {"", "a"}},
    SplitCase{"", ";", true, {}},
    SplitCase{"ab\"c;d\"", ";", false, {"\"c;d\""}},        // a quote restarts the token
    SplitCase{"*.bmp;*.jpg,*.png", ";,", false, {"*.bmp", "*.jpg", "*.png"}},
    SplitCase{"ジャズ、ロック", "、", false, {"ジャズ", "ロック"}},
    SplitCase{"\"open;end", ";", false, {"\"open;end"}}));

TEST(SplitTokens, EntryPointsDifferOnlyInEmptyTokens)
{
    EXPECT_EQ(SplitTokens("a,,b", ","), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitTokensKeepEmpty("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace orvella
