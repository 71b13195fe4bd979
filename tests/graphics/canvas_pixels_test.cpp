// Exact pixels of lines, shapes, hatches, clipping and paths.

#include "graphics/canvas.h"

#include "graphics/bitmap.h"
#include "pixel_picture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvella {
namespace {

using test::BasicLegend;
using test::PixelPicture;

class CanvasPixels : public ::testing::Test {
protected:
    CanvasPixels() : bitmap(12, 8, TPixelFormat::pf32bit), canvas(bitmap.Canvas())
    {
        canvas.Brush().Color = clWhite;
        canvas.FillRect({0, 0, 12, 8});
    }
    std::string picture(TRect area = {}) const { return PixelPicture(bitmap, BasicLegend(), area); }

    TBitmap bitmap;
    TCanvas& canvas;
};

TEST_F(CanvasPixels, RectangleLeavesOutRightAndBottomEdge)
{
    canvas.Brush().Color = clRed;
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(picture(), "............\n"
                         ".#####......\n"
                         ".#rrr#......\n"
                         ".#rrr#......\n"
                         ".#####......\n"
                         "............\n"
                         "............\n"
                         "............\n");
}

TEST_F(CanvasPixels, RectangleWithoutPenFillsOnePixelLess)
{
    canvas.Brush().Color = clRed;
    canvas.Pen().Style = TPenStyle::psClear;
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(picture({0, 0, 7, 5}), ".......\n"
                                     ".rrrr..\n"
                                     ".rrrr..\n"
                                     ".rrrr..\n"
                                     ".......\n");
}

TEST_F(CanvasPixels, LineLeavesOutItsLastPixel)
{
    canvas.MoveTo(1, 1);
    canvas.LineTo(6, 1);
    canvas.MoveTo(1, 3);
    canvas.LineTo(5, 7);
    EXPECT_EQ(canvas.PenPos(), (TPoint{5, 7}));
    EXPECT_EQ(picture({0, 0, 8, 8}), "........\n"
                                     ".#####..\n"
                                     "........\n"
                                     ".#......\n"
                                     "..#.....\n"
                                     "...#....\n"
                                     "....#...\n"
                                     "........\n");
}

TEST_F(CanvasPixels, PenWidthIsLogicalAndZeroIsOnePixel)
{
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({1, 1});
    canvas.SetViewportExt({2, 2});
    canvas.Pen().Width = 0;
    canvas.MoveTo(0, 0);
    canvas.LineTo(6, 0);
    canvas.Pen().Width = 2;  // four device pixels
    canvas.MoveTo(1, 2);
    canvas.LineTo(4, 2);
    const std::string rows = picture();
    EXPECT_EQ(rows.substr(0, 13), "############\n");
    EXPECT_EQ(rows.substr(13, 13), "............\n");
    // The wide line is centred on device row 4: rows 2..5.
    EXPECT_EQ(picture({4, 2, 5, 7}), "#\n#\n#\n#\n.\n");
}

TEST_F(CanvasPixels, DotPenAlternatesThreeOnThreeOff)
{
    canvas.Pen().Style = TPenStyle::psDot;
    canvas.SetBkMode(TRANSPARENT);
    canvas.MoveTo(0, 1);
    canvas.LineTo(12, 1);
    canvas.SetBkMode(OPAQUE);
    canvas.SetBkColor(clRed);
    canvas.MoveTo(0, 2);
    canvas.LineTo(12, 2);
    EXPECT_EQ(picture({0, 1, 12, 3}), "###...###...\n"
                                      "###rrr###rrr\n");
}

TEST_F(CanvasPixels, XorPenTwiceLeavesNoTrace)
{
    canvas.Brush().Color = clRed;
    canvas.FillRect({0, 0, 12, 4});
    canvas.Pen().Mode = R2_XORPEN;
    canvas.Pen().Color = clWhite;
    canvas.MoveTo(0, 3);
    canvas.LineTo(12, 3);
    EXPECT_EQ(bitmap.GetPixelColor(5, 3), RGB(0, 255, 255));
    EXPECT_EQ(bitmap.GetPixelColor(5, 2), clRed);
    canvas.MoveTo(0, 3);
    canvas.LineTo(12, 3);
    EXPECT_EQ(bitmap.GetPixelColor(5, 3), clRed);
}

struct HatchCase {
    TBrushStyle style;
    const char* rows;  // the 8 x 8 tile at device (0, 0)
};

class Hatches : public ::testing::TestWithParam<HatchCase> {};

TEST_P(Hatches, AreTiledFromTheDeviceOrigin)
{
    TBitmap bitmap(16, 16, TPixelFormat::pf24bit);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, 16, 16});
    canvas.Brush().Style = GetParam().style;
    canvas.Brush().Color = clBlack;
    canvas.SetBkMode(TRANSPARENT);
    // Two fills with different logical origins still meet seamlessly.
    canvas.FillRect({0, 0, 16, 5});
    canvas.SetWindowOrg({3, 5});
    canvas.FillRect({3, 10, 19, 21});
    EXPECT_EQ(test::PixelPicture(bitmap, test::BasicLegend(), {0, 0, 8, 8}), GetParam().rows);
    EXPECT_EQ(test::PixelPicture(bitmap, test::BasicLegend(), {8, 8, 16, 16}), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Table, Hatches,
    ::testing::Values(
        HatchCase{TBrushStyle::bsHorizontal, "########\n........\n........\n........\n........\n........\n........\n........\n"},
        HatchCase{TBrushStyle::bsVertical, "#.......\n#.......\n#.......\n#.......\n#.......\n#.......\n#.......\n#.......\n"},
        HatchCase{TBrushStyle::bsFDiagonal, "#.......\n.#......\n..#.....\n...#....\n....#...\n.....#..\n......#.\n.......#\n"},
        HatchCase{TBrushStyle::bsBDiagonal, ".......#\n......#.\n.....#..\n....#...\n...#....\n..#.....\n.#......\n#.......\n"},
        HatchCase{TBrushStyle::bsCross, "########\n#.......\n#.......\n#.......\n#.......\n#.......\n#.......\n#.......\n"},
        HatchCase{TBrushStyle::bsDiagCross, "#......#\n.#....#.\n..#..#..\n...##...\n...##...\n..#..#..\n.#....#.\n#......#\n"}));

TEST_F(CanvasPixels, OpaqueHatchPaintsTheBackgroundColour)
{
    canvas.Brush().Style = TBrushStyle::bsHorizontal;
    canvas.Brush().Color = clBlack;
    canvas.SetBkColor(clRed);
    canvas.FillRect({0, 0, 2, 2});
    EXPECT_EQ(picture({0, 0, 3, 3}), "##.\nrr.\n...\n");
}

TEST_F(CanvasPixels, EllipseStaysInsideItsBox)
{
    canvas.Brush().Color = clRed;
    canvas.Ellipse(1, 0, 11, 8);
    EXPECT_EQ(picture(), "....####....\n"
                         "..##rrrr##..\n"
                         ".#rrrrrrrr#.\n"
                         ".#rrrrrrrr#.\n"
                         ".#rrrrrrrr#.\n"
                         ".#rrrrrrrr#.\n"
                         "..##rrrr##..\n"
                         "....####....\n");
}

TEST_F(CanvasPixels, FillModesDifferOnOverlaps)
{
    canvas.Pen().Style = TPenStyle::psClear;
    canvas.Brush().Color = clBlack;
    // One outline running twice around the middle square.
    const std::vector<TPoint> twice{{2, 2}, {10, 2}, {10, 6}, {2, 6}, {2, 2}, {4, 3}, {8, 3}, {8, 5}, {4, 5}, {4, 3}};
    canvas.SetPolyFillMode(ALTERNATE);
    canvas.Polygon(twice);
    EXPECT_EQ(bitmap.GetPixelColor(6, 4), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(3, 4), clBlack);
    canvas.SetPolyFillMode(WINDING);
    canvas.Polygon(twice);
    EXPECT_EQ(bitmap.GetPixelColor(6, 4), clBlack);
    EXPECT_EQ(bitmap.GetPixelColor(10, 4), clWhite);  // right edge left out
    EXPECT_EQ(bitmap.GetPixelColor(9, 5), clBlack);
    EXPECT_EQ(bitmap.GetPixelColor(9, 6), clWhite);  // bottom edge left out
}

TEST_F(CanvasPixels, ClipRegionLimitsEveryDrawing)
{
    canvas.IntersectClipRect({2, 2, 8, 6});
    canvas.ExcludeClipRect({4, 3, 6, 5});
    canvas.Brush().Color = clRed;
    canvas.FillRect({0, 0, 12, 8});
    canvas.MoveTo(0, 2);
    canvas.LineTo(12, 2);
    EXPECT_EQ(picture(), "............\n"
                         "............\n"
                         "..######....\n"
                         "..rr..rr....\n"
                         "..rr..rr....\n"
                         "..rrrrrr....\n"
                         "............\n"
                         "............\n");
    EXPECT_EQ(canvas.GetClipBox(), (TRect{2, 2, 8, 6}));
}

TEST_F(CanvasPixels, PathsReadBackFillAndClip)
{
    canvas.BeginPath();
    canvas.MoveTo(1, 1);
    canvas.LineTo(7, 1);
    canvas.LineTo(7, 5);
    canvas.LineTo(1, 5);
    canvas.CloseFigure();
    canvas.EndPath();
    std::vector<TPoint> points;
    std::vector<uint8_t> types;
    canvas.GetPath(points, types);
    EXPECT_EQ(points, (std::vector<TPoint>{{1, 1}, {7, 1}, {7, 5}, {1, 5}}));
    EXPECT_EQ(types, (std::vector<uint8_t>{6, 2, 2, 3}));

    canvas.SelectClipPath(RGN_COPY);
    canvas.Brush().Color = clRed;
    canvas.FillRect({0, 0, 12, 8});
    EXPECT_EQ(picture({0, 0, 9, 7}), ".........\n"
                                     ".rrrrrr..\n"
                                     ".rrrrrr..\n"
                                     ".rrrrrr..\n"
                                     ".rrrrrr..\n"
                                     ".........\n"
                                     ".........\n");
}

TEST_F(CanvasPixels, StrokedPathDrawsEachEdge)
{
    canvas.BeginPath();
    canvas.Rectangle(1, 1, 5, 4);
    canvas.EndPath();
    canvas.StrokePath();
    EXPECT_EQ(picture({0, 0, 7, 6}), ".......\n"
                                     ".#####.\n"
                                     ".#...#.\n"
                                     ".#...#.\n"
                                     ".#####.\n"
                                     ".......\n");
}

TEST(BitmapFormats, StoreWindowsByteOrder)
{
    TBitmap colour(3, 1, TPixelFormat::pf24bit);
    EXPECT_EQ(colour.Stride(), 12);
    colour.Canvas().SetPixel(1, 0, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(colour.Row(0)[3], 0x33);
    EXPECT_EQ(colour.Row(0)[4], 0x22);
    EXPECT_EQ(colour.Row(0)[5], 0x11);
    EXPECT_EQ(colour.AsImage().pixel(1, 0), qRgb(0x11, 0x22, 0x33));

    TBitmap wide(1, 1, TPixelFormat::pf32bit);
    wide.Canvas().SetPixel(0, 0, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(wide.Row(0)[0], 0x33);
    EXPECT_EQ(wide.Row(0)[3], 0x00);
    EXPECT_EQ(wide.AsImage().pixel(0, 0) & 0xFFFFFF, 0x112233u);

    TBitmap mask(5, 1, TPixelFormat::pf8bit);
    EXPECT_EQ(mask.Stride(), 8);
    mask.Canvas().SetPixel(2, 0, RGB(200, 200, 200));
    EXPECT_EQ(mask.Row(0)[2], 200);
    EXPECT_EQ(mask.AsImage().pixelIndex(2, 0), 200);
}

TEST(BitmapFormats, RefuseImpossibleSizesBeforeAllocating)
{
    TBitmap bitmap;
    EXPECT_THROW(bitmap.SetSize(-1, 5, TPixelFormat::pf24bit), std::length_error);
    EXPECT_THROW(bitmap.SetSize(100000, 100000, TPixelFormat::pf32bit), std::length_error);
    EXPECT_EQ(bitmap.Width(), 0);
}

// Page-sized fills go to memory by another road than small ones: the same
// pixels must come out at any start and width, with the bytes around them
// untouched.
struct LargeFillCase {
    TPixelFormat format;
    int32_t width, height;
    TRect fill;
};

class LargeFill : public ::testing::TestWithParam<LargeFillCase> {};

TEST_P(LargeFill, ColoursExactlyTheRectangle)
{
    const LargeFillCase& c = GetParam();
    TBitmap page(c.width, c.height, c.format);
    std::memset(page.Bits(), 0xAA, page.ByteCount());
    page.Canvas().Brush().Color = RGB(0x12, 0x34, 0x56);
    page.Canvas().FillRect(c.fill);
    const int32_t bytesPerPixel = c.format == TPixelFormat::pf32bit ? 4 : 3;
    const uint8_t inside[4] = {0x56, 0x34, 0x12, 0x00};
    int wrong = 0;
    for (int32_t y = 0; y < c.height; ++y) {
        const uint8_t* row = page.Row(y);
        for (int32_t x = 0; x < c.width; ++x)
            for (int32_t b = 0; b < bytesPerPixel; ++b) {
                const bool in = x >= c.fill.Left && x < c.fill.Right && y >= c.fill.Top && y < c.fill.Bottom;
                const uint8_t want = in ? inside[b] : 0xAA;
                if (row[x * bytesPerPixel + b] != want && ++wrong < 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") byte " << b;
            }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, LargeFill, ::testing::Values(
    LargeFillCase{TPixelFormat::pf32bit, 1600, 1400, {0, 0, 1600, 1400}},
    LargeFillCase{TPixelFormat::pf32bit, 1601, 1500, {3, 2, 1598, 1500}},
    LargeFillCase{TPixelFormat::pf24bit, 2000, 1500, {0, 0, 2000, 1500}},
    LargeFillCase{TPixelFormat::pf24bit, 2003, 1600, {1, 5, 1994, 1599}},
    LargeFillCase{TPixelFormat::pf24bit, 2003, 1600, {7, 0, 24, 1600}}));  // narrow, below the large-fill size

}  // namespace
}  // namespace orvella
