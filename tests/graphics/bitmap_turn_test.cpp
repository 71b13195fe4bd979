#include "graphics/bitmap_turn.h"
#include "pixel_picture.h"
#include "transform_test_util.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using test::BasicLegend;
using test::MaxDifference;
using test::PixelPicture;

// r r .
// # . b
TBitmap* MakeSmall(TBitmap& bitmap, TPixelFormat format = TPixelFormat::pf24bit)
{
    bitmap.SetSize(3, 2, format);
    if (format == TPixelFormat::pf8bit) {
        std::vector<TColor> palette(256, clWhite);
        palette[1] = clRed, palette[2] = clBlack, palette[3] = clBlue;
        bitmap.SetPalette(palette);
    }
    const TColor colours[2][3] = {{clRed, clRed, clWhite}, {clBlack, clWhite, clBlue}};
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            WritePixel(bitmap.Row(y), x, format, bitmap.ColorToPixel(colours[y][x]));
    return &bitmap;
}

struct TurnCase {
    TQuarterTurn turn;
    TMirror mirror;
    const char* picture;
};

class Turns : public ::testing::TestWithParam<TurnCase> {};

TEST_P(Turns, MoveEveryPixelWhereTheCodesSay)
{
    for (const auto format : {TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap source;
        MakeSmall(source, format);
        TBitmap destination;
        TurnBitmap(destination, source, GetParam().turn, GetParam().mirror);
        EXPECT_EQ(destination.PixelFormat(), TPixelFormat::pf24bit);
        EXPECT_EQ(PixelPicture(destination, BasicLegend()), GetParam().picture) << int(format);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Turns,
                         ::testing::Values(TurnCase{TQuarterTurn::None, TMirror::None, "rr.\n#.b\n"},
                                           TurnCase{TQuarterTurn::Clockwise, TMirror::None, "#r\n.r\nb.\n"},
                                           TurnCase{TQuarterTurn::Half, TMirror::None, "b.#\n.rr\n"},
                                           TurnCase{TQuarterTurn::CounterClockwise, TMirror::None, ".b\nr.\nr#\n"},
                                           TurnCase{TQuarterTurn::None, TMirror::Horizontal, ".rr\nb.#\n"},
                                           TurnCase{TQuarterTurn::None, TMirror::Vertical, "#.b\nrr.\n"},
                                           TurnCase{TQuarterTurn::Clockwise, TMirror::Horizontal, "r#\nr.\n.b\n"},
                                           TurnCase{TQuarterTurn::Clockwise, TMirror::Both, ".b\nr.\nr#\n"}));

TEST(TurnBitmap, TheDestinationMayBeTheSource)
{
    TBitmap bitmap;
    MakeSmall(bitmap);
    TurnBitmap(bitmap, bitmap, TQuarterTurn::Clockwise, TMirror::None);
    EXPECT_EQ(PixelPicture(bitmap, BasicLegend()), "#r\n.r\nb.\n");
}

// ImageMagick turns clockwise with -rotate and mirrors with -flop (rows
// reversed) and -flip (row order reversed), in that order.
TEST(TurnBitmap, AgreesWithImageMagickOnEveryCombination)
{
    ORVELLA_REQUIRE_TOOL(test::HaveImageMagick(), "ImageMagick");
    TBitmap source(67, 41, TPixelFormat::pf24bit);
    test::FillPhoto(source, 2);
    const test::TempDir dir;
    test::WritePpm(source, dir.File("in.ppm"));
    for (int turn = 0; turn < 4; ++turn)
        for (int mirror = 0; mirror < 4; ++mirror) {
            std::vector<std::string> arguments{dir.File("in.ppm"), "-rotate", std::to_string(90 * turn)};
            if (mirror & 1)
                arguments.push_back("-flop");
            if (mirror & 2)
                arguments.push_back("-flip");
            arguments.push_back(dir.File("out.ppm"));
            ASSERT_EQ(test::RunProgram(test::kConvert, arguments).status, 0);
            TBitmap theirs;
            ASSERT_TRUE(test::ReadPpm(theirs, dir.File("out.ppm")));
            TBitmap ours;
            TurnBitmap(ours, source, TQuarterTurn(turn), TMirror(mirror));
            EXPECT_EQ(MaxDifference(ours, theirs), 0) << turn << ' ' << mirror;
        }
}

}  // namespace
}  // namespace orvella
