#include "code_readers.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace orvella {
namespace {

// A document made, filled and rendered by orvella-tool as a user's script
// would; what zbarimg reads from the page is exactly what was stored.
TEST(CodeDocument, StoredCodesRenderToWhatTheyHold)
{
    ORVELLA_REQUIRE_TOOL(test::HaveZbar(), "zbarimg (zbar-tools)");
    test::TempDir dir;
    const std::string doc = dir.File("codes.ovd");
    const test::ToolRun made = test::RunTool(
        {"doc", "new", "CD・DVDラベル(2面)", "Avery L6015 CD/DVDラベル A4 2面", doc});
    ASSERT_EQ(made.status, 0) << made.err;
    test::WriteFile(dir.File("objects.txt"), "object TLOJANCode\n"
                                             "  Left = 300\n"
                                             "  Top = 300\n"
                                             "  Width = 400\n"
                                             "  Height = 140\n"
                                             "  Angle = 0\n"
                                             "  JANCode = '4901234567894'\n"
                                             "  Font.Size = 8\n"
                                             "end\n"
                                             "object TLOQRStd\n"
                                             "  Left = 750\n"
                                             "  Top = 250\n"
                                             "  Width = 250\n"
                                             "  Height = 250\n"
                                             "  QRType = sqtVodafone\n"
                                             "  QRKind = sqkURL\n"
                                             "  QRUrl = 'example.jp/orvella'\n"
                                             "end\n");
    const test::ToolRun put = test::RunTool({"doc", "put", doc, dir.File("objects.txt")});
    ASSERT_EQ(put.status, 0) << put.err;
    const test::ToolRun render = test::RunTool({"render", doc, dir.File("page.png"), "--dpi", "300"});
    ASSERT_EQ(render.status, 0) << render.err;

    const test::ToolRun read = test::RunProgram("/usr/bin/zbarimg", {"-q", "--nodbus", dir.File("page.png")});
    std::vector<std::string> symbols;
    std::istringstream lines(read.out);
    for (std::string line; std::getline(lines, line);)
        symbols.push_back(line);
    std::sort(symbols.begin(), symbols.end());
    EXPECT_EQ(symbols, (std::vector<std::string>{"EAN-13:4901234567894", "QR-Code:http://example.jp/orvella"}));
}

}  // namespace
}  // namespace orvella
