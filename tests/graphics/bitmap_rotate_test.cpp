#include "graphics/bitmap_rotate.h"
#include "graphics/bitmap_turn.h"
#include "pixel_picture.h"
#include "support/thrown.h"
#include "transform_test_util.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using test::BasicLegend;
using test::Byte;
using test::FillPhoto;
using test::MaxDifference;
using test::PixelPicture;

struct QuarterCase {
    int angle;
    TQuarterTurn turn;
};

class RotateByQuarters : public ::testing::TestWithParam<QuarterCase> {};

TEST_P(RotateByQuarters, MatchesTheQuarterTurnPixelForPixel)
{
    TBitmap source(100, 50, TPixelFormat::pf24bit);
    FillPhoto(source, 6);
    TBitmap rotated;
    RotateBitmap(source, rotated, GetParam().angle, clLime, {100, 50});
    TBitmap turned;
    TurnBitmap(turned, source, GetParam().turn, TMirror::None);
    EXPECT_EQ(MaxDifference(rotated, turned), 0) << rotated.Width() << 'x' << rotated.Height();
}

INSTANTIATE_TEST_SUITE_P(Table, RotateByQuarters,
                         ::testing::Values(QuarterCase{0, TQuarterTurn::None}, QuarterCase{90, TQuarterTurn::Clockwise},
                                           QuarterCase{180, TQuarterTurn::Half},
                                           QuarterCase{270, TQuarterTurn::CounterClockwise},
                                           QuarterCase{-90, TQuarterTurn::CounterClockwise},
                                           QuarterCase{450, TQuarterTurn::Clockwise}));

TEST(RotateBitmap, FortyFiveDegreesLeavesTheCornersInTheBackgroundColour)
{
    TBitmap source(100, 50, TPixelFormat::pf24bit);
    test::FillBytes(source, [](int32_t, int32_t, int) { return 0; });
    TBitmap rotated;
    RotateBitmap(source, rotated, 45, clRed, {100, 50});
    ASSERT_EQ(rotated.Width(), 106);
    ASSERT_EQ(rotated.Height(), 106);
    for (const TPoint corner : {TPoint{0, 0}, TPoint{105, 0}, TPoint{0, 105}, TPoint{105, 105}})
        EXPECT_EQ(rotated.GetPixelColor(corner.x, corner.y), clRed) << corner.x << ',' << corner.y;
    EXPECT_EQ(rotated.GetPixelColor(53, 53), clBlack);
}

TEST(RotateBitmap, AnotherSizeStretchesTheSource)
{
    TBitmap source(100, 100, TPixelFormat::pf24bit);
    FillPhoto(source, 12);
    TBitmap stretched;
    RotateBitmap(source, stretched, 0, clWhite, {200, 100});
    ASSERT_EQ(stretched.Width(), 200);
    ASSERT_EQ(stretched.Height(), 100);
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 200; ++x)
            ASSERT_EQ(stretched.GetPixelColor(x, y), source.GetPixelColor(x / 2, y)) << x << ',' << y;
}

TEST(RotateBitmap, KeepTransparencyTurnsTheMaskWithTransparentCorners)
{
    TBitmap source(100, 50, TPixelFormat::pf24bit);
    test::FillBytes(source, [](int32_t, int32_t, int) { return 0; });
    TBitmap mask(100, 50, TPixelFormat::pf8bit);
    mask.SetPalette(GrayPalette());
    test::FillBytes(mask, [](int32_t x, int32_t, int) { return x < 50 ? 255 : 0; });  // left half transparent
    TBitmap rotated, rotatedMask;
    RotateBitmapKeepTransparency(source, &mask, rotated, &rotatedMask, 45, {100, 50});
    ASSERT_EQ(rotatedMask.Width(), 106);
    ASSERT_EQ(rotatedMask.Height(), 106);
    EXPECT_EQ(rotatedMask.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(rotated.GetPixelColor(0, 0), clWhite);
    EXPECT_EQ(rotatedMask.GetPixelColor(0, 0), clWhite);
    EXPECT_EQ(rotatedMask.GetPixelColor(105, 105), clWhite);
    // Source (75, 25), opaque, turns to (35.4, 70.7) and shifts by 35 in x;
    // source (25, 25), transparent, to (0, 35.4) and on to (35, 35.4).
    EXPECT_EQ(rotatedMask.GetPixelColor(70, 70), clBlack);
    EXPECT_EQ(rotatedMask.GetPixelColor(35, 35), clWhite);
    EXPECT_EQ(rotated.GetPixelColor(35, 35), clBlack);

    TBitmap opaqueMask(3, 3);
    RotateBitmapKeepTransparency(source, nullptr, rotated, &opaqueMask, 45, {100, 50});
    EXPECT_EQ(opaqueMask.Width(), 0);
    EXPECT_EQ(rotated.Width(), 106);
}

TEST(MapBitmapToQuad, ReturnsTheBoxBeforeItsShiftAndSizesTheBitmapToIt)
{
    TBitmap source(4, 4, TPixelFormat::pf24bit);
    FillPhoto(source);
    TBitmap destination;
    const TRect box = MapBitmapToQuad(destination, {-3, 10}, {5, 8}, {9, 20}, {-1, 17}, source, {0, 0, 4, 4}, clRed);
    EXPECT_EQ(box, (TRect{-3, 8, 9, 20}));
    EXPECT_EQ(destination.Width(), 12);
    EXPECT_EQ(destination.Height(), 12);
    EXPECT_EQ(destination.GetPixelColor(0, 0), clRed);
    EXPECT_EQ(destination.GetPixelColor(0, 11), clRed);
}

TEST(MapBitmapToQuad, CornersInMirroredOrderMirrorThePicture)
{
    TBitmap source(37, 23, TPixelFormat::pf24bit);
    FillPhoto(source, 4);
    TBitmap mapped;
    MapBitmapToQuad(mapped, {37, 23}, {0, 23}, {0, 0}, {37, 0}, source, {0, 0, 37, 23}, clWhite);
    TBitmap turned;
    TurnBitmap(turned, source, TQuarterTurn::Half, TMirror::None);
    EXPECT_EQ(MaxDifference(mapped, turned), 0);
    MapBitmapToQuad(mapped, {37, 0}, {0, 0}, {0, 23}, {37, 23}, source, {0, 0, 37, 23}, clWhite);
    TurnBitmap(turned, source, TQuarterTurn::None, TMirror::Horizontal);
    EXPECT_EQ(MaxDifference(mapped, turned), 0);
}

TEST(MapBitmapToQuad, APartOfTheSourceFillsTheWholeQuadrilateral)
{
    // The middle 2 x 2 of a 4 x 4 picture enlarged onto 4 x 4: each of its
    // pixels twice in each direction, nothing from outside the rectangle.
    TBitmap source(4, 4, TPixelFormat::pf8bit);
    std::vector<TColor> palette(256, clWhite);
    palette[1] = clRed, palette[2] = clBlack, palette[3] = clBlue, palette[4] = clLime;
    source.SetPalette(palette);
    const uint8_t indexes[4][4] = {{0, 0, 0, 0}, {0, 1, 2, 0}, {0, 3, 4, 0}, {0, 0, 0, 0}};
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            source.Row(y)[x] = indexes[y][x];
    TBitmap mapped;
    MapBitmapToQuad(mapped, {0, 0}, {4, 0}, {4, 4}, {0, 4}, source, {1, 1, 3, 3}, clWhite);
    EXPECT_EQ(mapped.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(PixelPicture(mapped, BasicLegend()), "rr##\nrr##\nbbgg\nbbgg\n");
}

TEST(MapBitmapToQuad, PixelsOutsideATriangleKeepTheBackground)
{
    TBitmap source(8, 8, TPixelFormat::pf32bit);
    test::FillBytes(source, [](int32_t, int32_t, int) { return 0; });
    TBitmap mapped;
    // P2 and P3 meet: the quadrilateral is the triangle (0,0) (8,0) (0,8).
    MapBitmapToQuad(mapped, {0, 0}, {8, 0}, {0, 8}, {0, 8}, source, {0, 0, 8, 8}, clWhite);
    EXPECT_EQ(PixelPicture(mapped, BasicLegend()),
              "########\n"
              "#######.\n"
              "######..\n"
              "#####...\n"
              "####....\n"
              "###.....\n"
              "##......\n"
              "#.......\n");
}

TEST(MapBitmapToQuad, DoesNothingWithoutAUsableSource)
{
    TBitmap destination(5, 5, TPixelFormat::pf32bit);
    TBitmap empty;
    EXPECT_TRUE(MapBitmapToQuad(destination, {0, 0}, {9, 0}, {9, 9}, {0, 9}, empty, {0, 0, 1, 1}, clRed).IsEmpty());
    TBitmap source(4, 4, TPixelFormat::pf24bit);
    EXPECT_TRUE(MapBitmapToQuad(destination, {0, 0}, {9, 0}, {9, 9}, {0, 9}, source, {2, 2, 6, 6}, clRed).IsEmpty());
    EXPECT_EQ(destination.Width(), 5);
    EXPECT_EQ(destination.PixelFormat(), TPixelFormat::pf32bit);
}

TEST(MapBitmapToQuad, TinyAndHugeQuadrilateralsNeitherOverrunNorCrash)
{
    TBitmap source(3, 3, TPixelFormat::pf24bit);
    FillPhoto(source);
    TBitmap mapped;
    MapBitmapToQuad(mapped, {0, 0}, {1, 0}, {1, 1}, {0, 1}, source, {0, 0, 3, 3}, clRed);
    EXPECT_EQ(mapped.Width(), 1);
    MapBitmapToQuad(mapped, {0, 0}, {0, 0}, {0, 0}, {0, 0}, source, {0, 0, 3, 3}, clRed);
    EXPECT_EQ(mapped.Width(), 0);
    EXPECT_EQ(test::Thrown([&] {
                  MapBitmapToQuad(mapped, {INT32_MIN, 0}, {INT32_MAX, 0}, {INT32_MAX, 5}, {INT32_MIN, 5}, source,
                                  {0, 0, 3, 3}, clRed);
              }),
              "orvella::EIntOverflow: 整数オーバーフローが発生しました");
}

}  // namespace
}  // namespace orvella
