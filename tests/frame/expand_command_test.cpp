// orvella-tool expand, run as a person or a script would run it.

#include "support/tool_runner.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

class ExpandCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        table_ = dir_.File("table.txt");
        WriteFile(table_, "\xEF\xBB\xBFRoot=/opt/orvella/\r\nName=\"Orvella\"\n");
    }
    TempDir dir_;
    std::string table_;
};

TEST_F(ExpandCommand, PrintsOneLinePerText)
{
    const ToolRun run = RunTool({"expand", "-t", table_, "$(root)Plugins", "$(Name) $(Missing:inessential)!", "plain"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "/opt/orvella/Plugins\nOrvella !\nplain\n");
}

TEST_F(ExpandCommand, KeepQuotesTurnsStrippingOff)
{
    const ToolRun run = RunTool({"expand", "--keep-quotes", "-t", table_, "$(Name)"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "\"Orvella\"\n");
}

TEST_F(ExpandCommand, AnErrorPrintsTheMessageAndExitsOne)
{
    const ToolRun run = RunTool({"expand", "-t", table_, "$(Root)", "$(Nothing)"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "/opt/orvella/\n");
    EXPECT_EQ(run.err, "未定義のNothingマクロが使用されています\n");
}

TEST_F(ExpandCommand, UsageErrorsExitTwo)
{
    EXPECT_EQ(RunTool({"expand", "a)b"}).out, "a)b\n");
    EXPECT_EQ(RunTool({"expand"}).status, 2);
    EXPECT_EQ(RunTool({"expand", "-t"}).status, 2);
    EXPECT_EQ(RunTool({"expand", "-t", dir_.File("none"), "x"}).status, 1);
    EXPECT_EQ(RunTool({"no-such-command"}).status, 2);
}

}  // namespace
}  // namespace orvella::test
