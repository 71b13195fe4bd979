// Text on the canvas. The fixed-metrics engine draws each glyph as a box on
// whole pixels, so placement can be checked pixel for pixel: at a height of
// 10 an em is 10 pixels, the ascent 8, the descent 2, and "a" advances 5 with
// its ink in columns 1..3 of its cell.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "platform/fonts/fake_font_engine.h"
#include "platform/fonts/font_engine.h"
#include "pixel_picture.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using test::BasicLegend;
using test::PixelPicture;

class CanvasText : public ::testing::Test {
protected:
    void SetUp() override { SetFontEngine(std::make_shared<TFakeFontEngine>()); }
    void TearDown() override { SetFontEngine(nullptr); }

    // A white bitmap with a canvas whose font is the fake one at em 10.
    void prepare(int32_t width, int32_t height)
    {
        bitmap.SetSize(width, height, TPixelFormat::pf24bit);
        canvas.SelectSurface(&bitmap);
        canvas.Brush().Style = TBrushStyle::bsSolid;
        canvas.Brush().Color = clWhite;
        canvas.FillRect({0, 0, width, height});
        canvas.Brush().Style = TBrushStyle::bsClear;
        canvas.Font().Name = "Fake";
        canvas.Font().Height = -10;
        canvas.Font().Color = clBlack;
    }

    // The smallest rectangle holding every pixel that is not white.
    TRect inkBounds() const
    {
        TRect ink{bitmap.Width(), bitmap.Height(), 0, 0};
        for (int32_t y = 0; y < bitmap.Height(); ++y)
            for (int32_t x = 0; x < bitmap.Width(); ++x)
                if (bitmap.GetPixelColor(x, y) != clWhite) {
                    ink.Left = std::min(ink.Left, x);
                    ink.Top = std::min(ink.Top, y);
                    ink.Right = std::max(ink.Right, x + 1);
                    ink.Bottom = std::max(ink.Bottom, y + 1);
                }
        return ink;
    }

    TBitmap bitmap;
    TCanvas canvas;
};

const char* const kTwoLetters =
    "..............\n"
    "...###..###...\n"
    "...###..###...\n"
    "...###..###...\n"
    "...###..###...\n"
    "...###..###...\n"
    "...###..###...\n"
    "...###..###...\n"
    "...###..###...\n"
    "..............\n"
    "..............\n"
    "..............\n";

struct AlignCase {
    uint32_t align;
    TPoint reference;  // every case puts "aa" in the same place
};

class CanvasTextAlign : public CanvasText, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(CanvasTextAlign, PlacesTheCellByTheReferencePoint)
{
    prepare(14, 12);
    canvas.SetTextAlign(GetParam().align);
    canvas.TextOut(GetParam().reference.x, GetParam().reference.y, "aa");
    EXPECT_EQ(PixelPicture(bitmap, BasicLegend()), kTwoLetters);
}

INSTANTIATE_TEST_SUITE_P(Table, CanvasTextAlign,
                         ::testing::Values(AlignCase{TA_LEFT | TA_TOP, {2, 1}}, AlignCase{TA_LEFT | TA_BASELINE, {2, 9}},
                                           AlignCase{TA_LEFT | TA_BOTTOM, {2, 11}},
                                           AlignCase{TA_RIGHT | TA_TOP, {12, 1}},
                                           AlignCase{TA_CENTER | TA_TOP, {7, 1}}));

TEST_F(CanvasText, LogicalHeightsAreScaledByTheMapping)
{
    prepare(14, 12);
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({20, 20});
    canvas.SetViewportExt({10, 10});
    canvas.Font().Height = -20;
    canvas.TextOut(4, 2, "aa");
    EXPECT_EQ(PixelPicture(bitmap, BasicLegend()), kTwoLetters);
    EXPECT_EQ(canvas.TextExtent("aa"), (TSize{20, 20}));
}

TEST_F(CanvasText, OrientationTurnsTheRunAboutTheReferencePoint)
{
    prepare(30, 30);
    // A quarter turn counter-clockwise: the text runs up the page and its
    // top faces left, so the ink lies right of and above (15, 15).
    canvas.Font().Orientation = 900;
    canvas.TextOut(15, 15, "aa");
    EXPECT_EQ(inkBounds(), (TRect{15, 6, 23, 14}));

    prepare(30, 30);
    canvas.Font().Orientation = 2700;
    canvas.TextOut(15, 15, "aa");
    EXPECT_EQ(inkBounds(), (TRect{7, 16, 15, 24}));
}

TEST_F(CanvasText, OpaqueBrushFillsTheCellUnderTheInk)
{
    prepare(8, 12);
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = clRed;
    canvas.Font().Color = clBlue;
    canvas.TextOut(1, 1, "a");
    EXPECT_EQ(PixelPicture(bitmap, BasicLegend()),
              "........\n"
              ".rbbbr..\n"
              ".rbbbr..\n"
              ".rbbbr..\n"
              ".rbbbr..\n"
              ".rbbbr..\n"
              ".rbbbr..\n"
              ".rbbbr..\n"
              ".rbbbr..\n"
              ".rrrrr..\n"
              ".rrrrr..\n"
              "........\n");
}

TEST_F(CanvasText, InkStaysInsideTheClipRegion)
{
    prepare(14, 12);
    canvas.IntersectClipRect({0, 0, 7, 5});
    canvas.TextOut(2, 1, "aa");
    EXPECT_EQ(inkBounds(), (TRect{3, 1, 6, 5}));
}

TEST_F(CanvasText, UpdateCpStartsAtAndMovesThePen)
{
    prepare(14, 12);
    canvas.MoveTo(2, 1);
    canvas.SetTextAlign(TA_UPDATECP);
    canvas.TextOut(100, 100, "aa");
    EXPECT_EQ(PixelPicture(bitmap, BasicLegend()), kTwoLetters);
    EXPECT_EQ(canvas.PenPos(), (TPoint{12, 1}));
}

TEST_F(CanvasText, InAnOpenPathTheOutlinesJoinThePath)
{
    prepare(14, 12);
    canvas.BeginPath();
    canvas.TextOut(2, 1, "aa");
    canvas.EndPath();
    EXPECT_EQ(inkBounds(), (TRect{14, 12, 0, 0})) << "nothing is drawn while the path is open";

    std::vector<TPoint> points;
    std::vector<uint8_t> types;
    canvas.GetPath(points, types);
    ASSERT_EQ(points.size(), 8u);
    EXPECT_EQ(points[0], (TPoint{3, 1}));
    EXPECT_EQ(types[0], PT_MOVETO);
    EXPECT_EQ(types[3], PT_LINETO | PT_CLOSEFIGURE);

    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = clBlack;
    canvas.FillPath();
    EXPECT_EQ(PixelPicture(bitmap, BasicLegend()), kTwoLetters);
}

TEST_F(CanvasText, UnderlineRunsUnderTheWholeText)
{
    prepare(14, 14);
    canvas.Font().Underline = true;
    canvas.TextOut(2, 1, "aa");
    const TRect ink = inkBounds();
    EXPECT_EQ(ink.Left, 2);
    EXPECT_EQ(ink.Right, 12);
    EXPECT_GT(ink.Bottom, 9) << "the bar lies below the baseline";
}

TEST(CanvasTextRealFont, JapaneseTextIsAntiAliasedInTheFontColour)
{
    TBitmap bitmap(200, 60, TPixelFormat::pf32bit);
    TCanvas canvas(&bitmap);
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, 200, 60});
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.Font().Name = "ＭＳ ゴシック";
    canvas.Font().Height = -40;
    canvas.Font().Color = clBlue;
    canvas.TextOut(5, 5, "ディスク");

    int ink = 0, partial = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            const TColor colour = bitmap.GetPixelColor(x, y);
            if (colour == clWhite)
                continue;
            ++ink;
            // Blends of blue over white keep blue at full strength.
            ASSERT_EQ(colour & 0xFF0000, 0xFF0000u) << x << "," << y;
            if (colour != clBlue)
                ++partial;
        }
    EXPECT_GT(ink, 400);
    EXPECT_GT(partial, 50) << "edges are anti-aliased";
    EXPECT_EQ(canvas.TextWidth("ディスク"), 160) << "a monospaced face: four ems";
}

}  // namespace
}  // namespace orvella
