// Text objects put into a document by orvella-tool as a script would: the
// dump shows them normalised, and the rendered face carries their ink.

#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <QImage>

namespace orvella {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(TextDocument, PutTextsAreStoredNormalisedAndRendered)
{
    test::TempDir dir;
    const std::string doc = dir.File("texts.ovd");
    const test::ToolRun made = test::RunTool(
        {"doc", "new", "CD・DVDラベル(2面)", "Avery L6015 CD/DVDラベル A4 2面", doc});
    ASSERT_EQ(made.status, 0) << made.err;
    // Japanese typed in UTF-8 and as the code-page bytes the dump prints
    // (#130#160 is あ); an angle of -90 and a shadow that is no preset.
    test::WriteFile(dir.File("objects.txt"), "object TLOText\n"
                                             "  Left = 200\n"
                                             "  Top = 300\n"
                                             "  Width = 700\n"
                                             "  Height = 150\n"
                                             "  Text.Strings = (\n"
                                             "    '夏の記録'\n"
                                             "    #130#160'bc')\n"
                                             "  Font.Size = 24\n"
                                             "  Angle = -90\n"
                                             "  ShadowOffsetX = 10\n"
                                             "  ShadowOffsetY = 10\n"
                                             "end\n");
    const test::ToolRun put = test::RunTool({"doc", "put", doc, dir.File("objects.txt")});
    ASSERT_EQ(put.status, 0) << put.err;

    const test::ToolRun dump = test::RunTool({"doc", "dump", doc});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_TRUE(contains(dump.out, "object TLOText")) << dump.out;
    EXPECT_TRUE(contains(dump.out, "Angle = 270\n")) << dump.out;
    EXPECT_TRUE(contains(dump.out, "ShadowOffsetX = 10\n")) << dump.out;
    EXPECT_TRUE(contains(dump.out, "ShadowOffsetY = 10\n")) << dump.out;
    EXPECT_TRUE(contains(dump.out, "Version = 1\n")) << dump.out;
    // 夏の記録 in the code page, as the dump prints a document's bytes.
    EXPECT_TRUE(contains(dump.out, "#137#196#130#204#139'L'#152'^'")) << dump.out;
    EXPECT_TRUE(contains(dump.out, "#130#160'bc'")) << dump.out;

    const test::ToolRun render = test::RunTool({"render", doc, dir.File("face.png"), "--face", "0", "--dpi", "96"});
    ASSERT_EQ(render.status, 0) << render.err;
    const QImage face(QString::fromStdString(dir.File("face.png")));
    ASSERT_FALSE(face.isNull());
    // Turned a quarter the text stands upright about its rectangle's centre
    // (55 mm, 37.5 mm): dark ink there, none far to its left.
    int inkNearCentre = 0, inkFarLeft = 0;
    const int cx = 550 * 96 / 254, cy = 375 * 96 / 254;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            if (qGray(face.pixel(x, y)) > 100)
                continue;
            if (std::abs(x - cx) < 40 && std::abs(y - cy) < 150)
                ++inkNearCentre;
            if (x < 60 && y > cy - 20 && y < cy + 20)
                ++inkFarLeft;
        }
    }
    EXPECT_GT(inkNearCentre, 200);
    EXPECT_EQ(inkFarLeft, 0);
}

}  // namespace
}  // namespace orvella
