#include "graphics/gr_blender.h"
#include "picture_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvella::test {
namespace {

struct BlendSetup {
    TBitmap dest{4, 3, TPixelFormat::pf24bit};
    TBitmap source{4, 3, TPixelFormat::pf24bit};
    TBitmap alpha{4, 3, TPixelFormat::pf8bit};

    BlendSetup(TColor destColour, TColor sourceColour, uint8_t alphaValue)
    {
        FillBitmap(dest, [&](int32_t, int32_t) { return destColour; });
        FillBitmap(source, [&](int32_t, int32_t) { return sourceColour; });
        for (int32_t y = 0; y < alpha.Height(); ++y)
            std::memset(alpha.Row(y), alphaValue, std::size_t(alpha.Width()));
    }
    void Run(TGRBlender& blender, TRect destRect, TRect sourceRect, TRect alphaRect)
    {
        blender.Dest = &dest;
        blender.Source = &source;
        blender.AlphaMap = &alpha;
        blender.DestRect = destRect;
        blender.SourceRect = sourceRect;
        blender.AlphaMapRect = alphaRect;
        blender.Execute();
    }
};

struct BlendCase {
    uint8_t destValue, sourceValue, alpha;
    int ratio;  // -1: plain alpha map
    uint8_t want;
};

class BlendValues : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendValues, AddTruncatedAlphaTimesDifference)
{
    const BlendCase& c = GetParam();
    BlendSetup setup(RGB(c.destValue, c.destValue, 0), RGB(c.sourceValue, c.sourceValue, 0), c.alpha);
    const TRect whole{0, 0, 4, 3};
    if (c.ratio < 0) {
        TGRBlendAlphaMap blender;
        setup.Run(blender, whole, whole, whole);
    } else {
        TGRBlendAlphaMapRatio blender;
        blender.Ratio = c.ratio;
        setup.Run(blender, whole, whole, whole);
    }
    EXPECT_EQ(GetRValue(setup.dest.GetPixelColor(2, 1)), c.want);
    EXPECT_EQ(GetBValue(setup.dest.GetPixelColor(2, 1)), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, BlendValues, ::testing::Values(
    BlendCase{100, 200, 0, -1, 100},
    BlendCase{100, 200, 255, -1, 200},
    BlendCase{100, 200, 128, -1, 150},  // 100 + trunc(128 × 100 / 255) = 100 + 50
    BlendCase{200, 100, 128, -1, 150},  // truncation towards zero for a negative difference
    BlendCase{0, 255, 1, -1, 1},
    BlendCase{255, 0, 1, -1, 254},
    BlendCase{0, 255, 255, 50, 128},   // MulDiv(255, 50, 100) = 128
    BlendCase{0, 255, 255, 150, 255},  // ratio limited to 100
    BlendCase{0, 255, 255, 0, 0}));

TEST(Blender, RectanglesOfDifferentSizesBlendNothing)
{
    BlendSetup setup(clBlack, clWhite, 255);
    TGRBlendAlphaMap blender;
    setup.Run(blender, {0, 0, 4, 3}, {0, 0, 3, 3}, {0, 0, 4, 3});
    EXPECT_EQ(setup.dest.GetPixelColor(0, 0), clBlack);
}

TEST(Blender, AlphaRectangleOutsideTheMapBlendsNothing)
{
    BlendSetup setup(clBlack, clWhite, 255);
    TGRBlendAlphaMap blender;
    setup.Run(blender, {0, 0, 2, 2}, {0, 0, 2, 2}, {3, 2, 5, 4});
    EXPECT_EQ(setup.dest.GetPixelColor(0, 0), clBlack);
}

TEST(Blender, DestinationOverhangIsClippedWithTheOtherRectangles)
{
    // The destination rectangle starts one pixel left of the bitmap: the
    // source and alpha rectangles lose their first column too.
    BlendSetup setup(clBlack, clBlack, 255);
    FillBitmap(setup.source, [](int32_t x, int32_t) { return x == 0 ? clRed : clWhite; });
    TGRBlendAlphaMap blender;
    setup.Run(blender, {-1, 0, 2, 1}, {0, 0, 3, 1}, {0, 0, 3, 1});
    EXPECT_EQ(setup.dest.GetPixelColor(0, 0), clWhite);
    EXPECT_EQ(setup.dest.GetPixelColor(1, 0), clWhite);
    EXPECT_EQ(setup.dest.GetPixelColor(2, 0), clBlack);
}

TEST(Blender, NeedsMatchingColourFormatsAndAPaletteMap)
{
    BlendSetup setup(clBlack, clWhite, 255);
    TBitmap wide(4, 3, TPixelFormat::pf32bit);
    TGRBlendAlphaMap blender;
    blender.Dest = &setup.dest;
    blender.Source = &wide;
    blender.AlphaMap = &setup.alpha;
    EXPECT_FALSE(blender.CanBlend());
    blender.Source = &setup.source;
    EXPECT_TRUE(blender.CanBlend());
    blender.AlphaMap = &setup.source;
    EXPECT_FALSE(blender.CanBlend());
}

}  // namespace
}  // namespace orvella::test
