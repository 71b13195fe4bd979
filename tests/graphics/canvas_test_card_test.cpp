// orvella-tool canvas-test: the card is written and its known pixels sit
// where the canvas rules put them, at both zooms.

#include "support/tool_runner.h"

#include <QImage>

#include <gtest/gtest.h>

namespace orvella {
namespace {

TEST(CanvasTestCard, DrawsBothZoomsIntoAPng)
{
    test::TempDir dir;
    const std::string file = dir.File("card.png");
    const test::ToolRun run = test::RunTool({"canvas-test", file});
    ASSERT_EQ(run.status, 0) << run.err;
    QImage card(QString::fromStdString(file));
    ASSERT_EQ(card.size(), QSize(1600, 1500));
    // The pink rectangle (130, 130, 160, 150): outline, fill, and the pixel
    // past its right and bottom edge.
    EXPECT_EQ(card.pixel(130, 130) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(card.pixel(131, 131) & 0xFFFFFF, 0xFFA0A0u);
    EXPECT_EQ(card.pixel(160, 150) & 0xFFFFFF, 0xFFFFFFu);
    // At 400 % the pen of one logical unit is four pixels wide.
    EXPECT_EQ(card.pixel(521, 300 + 521) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(card.pixel(530, 300 + 530) & 0xFFFFFF, 0xFFA0A0u);
    EXPECT_EQ(card.pixel(650, 300 + 610) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(CanvasTestCard, WantsExactlyOneFileName)
{
    EXPECT_EQ(test::RunTool({"canvas-test"}).status, 2);
}

}  // namespace
}  // namespace orvella
