#include "graphics/bitmap_resample.h"
#include "transform_test_util.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvella {
namespace {

using test::Byte;
using test::FillBytes;
using test::FillPhoto;
using test::MaxDifference;

class ResampleFormats : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(ResampleFormats, NearestDoublingRepeatsEachPixelAsATwoByTwoBlock)
{
    TBitmap source(100, 100, GetParam());
    FillPhoto(source);
    TBitmap destination(200, 200, TPixelFormat::pf24bit);
    ResampleWhole(destination, source, TResampleQuality::Nearest);
    ASSERT_EQ(destination.PixelFormat(), GetParam());
    const int channels = BytesPerPixel(GetParam());
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 200; ++x)
            for (int c = 0; c < channels; ++c)
                ASSERT_EQ(Byte(destination, x, y, c), Byte(source, x / 2, y / 2, c)) << x << ',' << y;
}

TEST_P(ResampleFormats, HalvingAveragesTwoByTwoBlocksRoundingHalfUp)
{
    TBitmap source(100, 100, GetParam());
    FillPhoto(source, 7);
    TBitmap destination(50, 50);
    ResampleWhole(destination, source, TResampleQuality::Linear);
    ASSERT_EQ(destination.PixelFormat(), GetParam());
    const int channels = BytesPerPixel(GetParam());
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 50; ++x)
            for (int c = 0; c < channels; ++c) {
                const int sum = Byte(source, 2 * x, 2 * y, c) + Byte(source, 2 * x + 1, 2 * y, c) +
                                Byte(source, 2 * x, 2 * y + 1, c) + Byte(source, 2 * x + 1, 2 * y + 1, c);
                ASSERT_EQ(Byte(destination, x, y, c), (sum + 2) / 4) << x << ',' << y << ',' << c;
            }
}

TEST_P(ResampleFormats, FlatColourStaysFlatAtEveryQualityAndSize)
{
    for (const auto quality : {TResampleQuality::Nearest, TResampleQuality::Linear, TResampleQuality::Cubic})
        for (const TSize size : {TSize{7, 5}, TSize{40, 30}, TSize{123, 77}, TSize{1, 1}}) {
            TBitmap source(40, 30, GetParam());
            FillBytes(source, [](int32_t, int32_t, int c) { return 37 + 80 * c; });
            TBitmap destination(size.cx, size.cy);
            ResampleWhole(destination, source, quality);
            TBitmap expected(size.cx, size.cy, GetParam());
            FillBytes(expected, [](int32_t, int32_t, int c) { return 37 + 80 * c; });
            ASSERT_EQ(MaxDifference(destination, expected), 0) << int(quality) << ' ' << size.cx << 'x' << size.cy;
        }
}

INSTANTIATE_TEST_SUITE_P(Formats, ResampleFormats,
                         ::testing::Values(TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit));

TEST(Resample, EightBitResultKeepsTheSourcePalette)
{
    TBitmap source(4, 4, TPixelFormat::pf8bit);
    std::vector<TColor> palette(256, clBlack);
    palette[3] = clRed;
    source.SetPalette(palette);
    TBitmap destination(2, 2, TPixelFormat::pf32bit);
    ResampleWhole(destination, source, TResampleQuality::Linear);
    EXPECT_EQ(destination.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(destination.Palette(), palette);
}

TEST(Resample, ShrinkingAHugeRowToOnePixelDoesNotOverflowTheSums)
{
    TBitmap source(60000, 2, TPixelFormat::pf8bit);
    FillBytes(source, [](int32_t, int32_t, int) { return 255; });
    TBitmap destination(1, 1);
    ResampleWhole(destination, source, TResampleQuality::Linear);
    EXPECT_EQ(Byte(destination, 0, 0, 0), 255);
}

TEST(Resample, DoublingWithLinearQualityInterpolatesBetweenNeighbours)
{
    // A ramp 0, 100, 200 doubled: samples fall a quarter pixel either side
    // of each source centre, the edges repeat the outer pixels.
    TBitmap source(3, 1, TPixelFormat::pf8bit);
    FillBytes(source, [](int32_t x, int32_t, int) { return 100 * x; });
    TBitmap destination(6, 1);
    ResampleWhole(destination, source, TResampleQuality::Linear);
    const int expected[6] = {0, 25, 75, 125, 175, 200};
    for (int32_t x = 0; x < 6; ++x)
        EXPECT_EQ(Byte(destination, x, 0, 0), expected[x]) << x;
}

TEST(Resample, CubicQualityKeepsARampStraightAwayFromTheEdges)
{
    TBitmap source(40, 40, TPixelFormat::pf24bit);
    FillBytes(source, [](int32_t x, int32_t y, int c) { return c == 0 ? 5 * x : c == 1 ? 5 * y : 100; });
    TBitmap destination(120, 120);
    ResampleWhole(destination, source, TResampleQuality::Cubic);
    for (int32_t y = 6; y < 114; ++y)
        for (int32_t x = 6; x < 114; ++x) {
            const double sx = (x + 0.5) / 3 - 0.5, sy = (y + 0.5) / 3 - 0.5;
            ASSERT_NEAR(Byte(destination, x, y, 0), 5 * sx, 1.0) << x << ',' << y;
            ASSERT_NEAR(Byte(destination, x, y, 1), 5 * sy, 1.0) << x << ',' << y;
            ASSERT_EQ(Byte(destination, x, y, 2), 100);
        }
}

TEST(Resample, NothingHappensForBadRectanglesOrEmptyBitmaps)
{
    TBitmap source(10, 10, TPixelFormat::pf24bit);
    FillPhoto(source);
    const TRect bad[] = {{-1, 0, 5, 5}, {0, 0, 11, 5}, {5, 5, 5, 9}, {3, 3, 2, 8}, {0, 8, 10, 12}};
    for (const TRect& rect : bad) {
        TBitmap destination(4, 4, TPixelFormat::pf32bit);
        FillBytes(destination, [](int32_t, int32_t, int) { return 77; });
        ResampleBitmap(destination, source, rect, TResampleEdge::Clamp, TResampleQuality::Linear);
        EXPECT_EQ(destination.PixelFormat(), TPixelFormat::pf32bit);
        EXPECT_EQ(Byte(destination, 2, 2, 1), 77);
    }
    TBitmap empty;
    TBitmap destination(4, 4, TPixelFormat::pf32bit);
    ResampleWhole(destination, empty, TResampleQuality::Cubic);
    EXPECT_EQ(destination.PixelFormat(), TPixelFormat::pf32bit);
    TBitmap emptyDestination;
    ResampleWhole(emptyDestination, source, TResampleQuality::Cubic);
    EXPECT_EQ(emptyDestination.Width(), 0);
}

TEST(Resample, SourceAndDestinationMayBeTheSameBitmap)
{
    TBitmap bitmap(30, 20, TPixelFormat::pf24bit);
    FillPhoto(bitmap, 3);
    TBitmap expected(30, 20);
    ResampleBitmap(expected, bitmap, {5, 2, 25, 12}, TResampleEdge::Extend, TResampleQuality::Cubic);
    ResampleBitmap(bitmap, bitmap, {5, 2, 25, 12}, TResampleEdge::Extend, TResampleQuality::Cubic);
    EXPECT_EQ(MaxDifference(bitmap, expected), 0);
}

// A grey 100 rectangle inside white: the edge rule decides whether the
// white around it bleeds in when the rectangle is enlarged.
struct EdgeCase {
    TResampleEdge edge;
    TResampleQuality quality;
    bool whiteBleedsIn;
};

class ResampleEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(ResampleEdges, OnlyTheBitmapsOwnSurroundingsReachIn)
{
    TBitmap source(20, 20, TPixelFormat::pf8bit);
    FillBytes(source, [](int32_t x, int32_t y, int) { return x >= 5 && x < 15 && y >= 5 && y < 15 ? 100 : 255; });
    TBitmap destination(33, 27);
    ResampleBitmap(destination, source, {5, 5, 15, 15}, GetParam().edge, GetParam().quality);
    int brightest = 0;
    for (int32_t y = 0; y < 27; ++y)
        for (int32_t x = 0; x < 33; ++x)
            brightest = std::max(brightest, Byte(destination, x, y, 0));
    if (GetParam().whiteBleedsIn)
        EXPECT_GT(brightest, 120);
    else
        EXPECT_EQ(brightest, 100);
}

INSTANTIATE_TEST_SUITE_P(Table, ResampleEdges,
                         ::testing::Values(EdgeCase{TResampleEdge::Clamp, TResampleQuality::Linear, false},
                                           EdgeCase{TResampleEdge::Clamp, TResampleQuality::Cubic, false},
                                           EdgeCase{TResampleEdge::Wrap, TResampleQuality::Cubic, false},
                                           EdgeCase{TResampleEdge::Extend, TResampleQuality::Linear, true},
                                           EdgeCase{TResampleEdge::Extend, TResampleQuality::Cubic, true}));

// Resampling one tile of a tiled picture with wrapping, or a rectangle with
// its surroundings, must give the matching part of resampling the whole.
TEST(Resample, WrapAndExtendContinueThePictureAcrossTheRectangleEdges)
{
    TBitmap tile(8, 6, TPixelFormat::pf24bit);
    FillPhoto(tile, 11);
    TBitmap tiled(24, 18, TPixelFormat::pf24bit);
    FillBytes(tiled, [&](int32_t x, int32_t y, int c) { return Byte(tile, x % 8, y % 6, c); });
    for (const auto quality : {TResampleQuality::Linear, TResampleQuality::Cubic}) {
        TBitmap whole(48, 36);
        ResampleWhole(whole, tiled, quality);
        TBitmap middle(16, 12, TPixelFormat::pf24bit);
        FillBytes(middle, [&](int32_t x, int32_t y, int c) { return Byte(whole, 16 + x, 12 + y, c); });
        for (const auto edge : {TResampleEdge::Wrap, TResampleEdge::Extend}) {
            TBitmap part(16, 12);
            ResampleBitmap(part, tiled, {8, 6, 16, 12}, edge, quality);
            EXPECT_EQ(MaxDifference(part, middle), 0) << int(quality) << ' ' << int(edge);
        }
        TBitmap wrappedTile(16, 12);
        ResampleBitmap(wrappedTile, tile, {0, 0, 8, 6}, TResampleEdge::Wrap, quality);
        EXPECT_EQ(MaxDifference(wrappedTile, middle), 0) << int(quality);
    }
}

// numpy computes the exact area average (fractional coverage, floating
// point) and bilinear interpolation with centres aligned and edges clamped.
struct OracleCase {
    TSize from, to;
    TResampleQuality quality;
    int tolerance;
};

class ResampleAgainstNumpy : public ::testing::TestWithParam<OracleCase> {};

TEST_P(ResampleAgainstNumpy, AgreesWithAnIndependentComputation)
{
    ORVELLA_REQUIRE_TOOL(test::HaveNumpy(), "python3 with numpy");
    const OracleCase& c = GetParam();
    TBitmap source(c.from.cx, c.from.cy, TPixelFormat::pf24bit);
    FillPhoto(source, 5);
    TBitmap ours(c.to.cx, c.to.cy);
    ResampleWhole(ours, source, c.quality);

    const test::TempDir dir;
    test::WriteFile(dir.File("in.raw"), test::RawBytes(source));
    std::string script =
        "W, H, DW, DH = " + std::to_string(c.from.cx) + ", " + std::to_string(c.from.cy) + ", " +
        std::to_string(c.to.cx) + ", " + std::to_string(c.to.cy) + "\n" +
        "img = np.fromfile(sys.argv[1], dtype=np.uint8).reshape(H, W, 3).astype(np.float64)\n"
        "def area(S, D):\n"
        "    m = np.zeros((D, S))\n"
        "    for i in range(D):\n"
        "        a, b = i * S / D, (i + 1) * S / D\n"
        "        for s in range(int(np.floor(a)), min(S, int(np.ceil(b)))):\n"
        "            m[i, s] = min(b, s + 1) - max(a, s)\n"
        "    return m / (S / D)\n"
        "def linear(S, D):\n"
        "    m = np.zeros((D, S))\n"
        "    for i in range(D):\n"
        "        x = (i + 0.5) * S / D - 0.5\n"
        "        f = int(np.floor(x)); t = x - f\n"
        "        m[i, min(max(f, 0), S - 1)] += 1 - t\n"
        "        m[i, min(max(f + 1, 0), S - 1)] += t\n"
        "    return m\n"
        "mx = area(W, DW) if DW < W else linear(W, DW)\n"
        "my = area(H, DH) if DH < H else linear(H, DH)\n"
        "out = np.einsum('ywc,xw->yxc', np.einsum('yh,hwc->ywc', my, img), mx)\n"
        "np.clip(np.floor(out + 0.5), 0, 255).astype(np.uint8).tofile(sys.argv[2])\n";
    ASSERT_TRUE(test::RunNumpy(script, dir.File("in.raw"), dir.File("out.raw")));
    TBitmap theirs;
    ASSERT_TRUE(test::FromRaw(theirs, test::ReadFile(dir.File("out.raw")), c.to.cx, c.to.cy, TPixelFormat::pf24bit));
    EXPECT_LE(MaxDifference(ours, theirs), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResampleAgainstNumpy,
    ::testing::Values(OracleCase{{100, 100}, {50, 50}, TResampleQuality::Linear, 0},
                      OracleCase{{1200, 900}, {300, 225}, TResampleQuality::Linear, 0},
                      OracleCase{{97, 61}, {30, 17}, TResampleQuality::Linear, 1},
                      OracleCase{{250, 40}, {99, 7}, TResampleQuality::Cubic, 1},
                      OracleCase{{60, 45}, {120, 90}, TResampleQuality::Linear, 1},
                      OracleCase{{33, 20}, {100, 47}, TResampleQuality::Linear, 1},
                      OracleCase{{80, 30}, {31, 77}, TResampleQuality::Linear, 1}));

// ImageMagick's -sample is nearest neighbour on pixel centres. Odd source
// sizes keep every centre off the exact middle between two pixels, where its
// floating point could round either way.
TEST(Resample, NearestNeighbourAgreesWithImageMagickSample)
{
    ORVELLA_REQUIRE_TOOL(test::HaveImageMagick(), "ImageMagick");
    const test::TempDir dir;
    for (const auto& [from, to] : {std::pair{TSize{101, 81}, TSize{37, 23}}, std::pair{TSize{41, 31}, TSize{130, 71}},
                                   std::pair{TSize{65, 63}, TSize{16, 200}}}) {
        TBitmap source(from.cx, from.cy, TPixelFormat::pf24bit);
        FillPhoto(source, 9);
        test::WritePpm(source, dir.File("in.ppm"));
        const std::string geometry = std::to_string(to.cx) + "x" + std::to_string(to.cy) + "!";
        ASSERT_EQ(test::RunProgram(test::kConvert, {dir.File("in.ppm"), "-sample", geometry, dir.File("out.ppm")}).status, 0);
        TBitmap theirs;
        ASSERT_TRUE(test::ReadPpm(theirs, dir.File("out.ppm")));
        TBitmap ours(to.cx, to.cy);
        ResampleWhole(ours, source, TResampleQuality::Nearest);
        EXPECT_EQ(MaxDifference(ours, theirs), 0) << to.cx << 'x' << to.cy;
    }
}

}  // namespace
}  // namespace orvella
