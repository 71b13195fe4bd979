#include "graphics/gaussian_blur.h"
#include "graphics/bitmap.h"
#include "transform_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvella {
namespace {

using test::Byte;
using test::FillBytes;
using test::FillPhoto;
using test::MaxDifference;

double SigmaFor(double radius)
{
    return (radius + 1) / std::sqrt(2 * std::log(255.0));
}

TEST(GaussianBlur, RadiiBelowOneLeaveTheBitmapAlone)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [h, v] : {std::pair{0.5, 0.5}, std::pair{0.0, 0.99}, std::pair{-5.0, -5.0}, std::pair{nan, nan}}) {
        TBitmap bitmap(20, 20, TPixelFormat::pf24bit);
        FillPhoto(bitmap);
        TBitmap original(20, 20, TPixelFormat::pf24bit);
        FillPhoto(original);
        GaussianBlur(bitmap, {0, 0, 20, 20}, h, v);
        EXPECT_EQ(MaxDifference(bitmap, original), 0) << h << ' ' << v;
    }
}

class BlurFormats : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BlurFormats, FlatAreasKeepTheirLevelUpToTheirEdges)
{
    for (const double radius : {1.0, 5.0, 20.0, 60.0, 400.0}) {
        TBitmap bitmap(90, 70, GetParam());
        FillBytes(bitmap, [](int32_t, int32_t, int c) { return 20 + 70 * c; });
        GaussianBlur(bitmap, {0, 0, 90, 70}, radius, radius);
        TBitmap expected(90, 70, GetParam());
        FillBytes(expected, [](int32_t, int32_t, int c) { return 20 + 70 * c; });
        EXPECT_EQ(MaxDifference(bitmap, expected), 0) << radius;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, BlurFormats,
                         ::testing::Values(TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit));

// A one-pixel line spreads into the sampled Gaussian whose level falls to
// 1/255 of its peak at radius + 1.
class BlurProfile : public ::testing::TestWithParam<double> {};

TEST_P(BlurProfile, ALineSpreadsIntoTheGaussian)
{
    const double radius = GetParam();
    const double sigma = SigmaFor(radius);
    TBitmap bitmap(301, 3, TPixelFormat::pf8bit);
    FillBytes(bitmap, [](int32_t x, int32_t, int) { return x == 150 ? 255 : 0; });
    GaussianBlur(bitmap, {0, 0, 301, 3}, radius, 0);
    double total = 0;
    for (int32_t x = 0; x < 301; ++x)
        total += std::exp(-(x - 150.0) * (x - 150.0) / (2 * sigma * sigma));
    for (int32_t x = 0; x < 301; ++x) {
        const double want = 255 * std::exp(-(x - 150.0) * (x - 150.0) / (2 * sigma * sigma)) / total;
        ASSERT_NEAR(Byte(bitmap, x, 1, 0), want, 1.5) << x;
        ASSERT_EQ(Byte(bitmap, x, 0, 0), Byte(bitmap, x, 1, 0)) << "rows are blurred alike";
    }
}

INSTANTIATE_TEST_SUITE_P(Radii, BlurProfile, ::testing::Values(1.0, 2.5, 5.0, 20.0, 50.0, 80.0));

TEST(GaussianBlur, EachRadiusBlursItsOwnDirectionOnly)
{
    // A horizontal line is flat along its rows: a horizontal blur leaves it,
    // a vertical one spreads it.
    TBitmap bitmap(40, 40, TPixelFormat::pf8bit);
    auto line = [](int32_t, int32_t y, int) { return y == 20 ? 255 : 0; };
    FillBytes(bitmap, line);
    GaussianBlur(bitmap, {0, 0, 40, 40}, 10, 0);
    TBitmap original(40, 40, TPixelFormat::pf8bit);
    FillBytes(original, line);
    EXPECT_EQ(MaxDifference(bitmap, original), 0);
    GaussianBlur(bitmap, {0, 0, 40, 40}, 0, 10);
    EXPECT_LT(Byte(bitmap, 5, 20, 0), 100);
    EXPECT_GT(Byte(bitmap, 5, 23, 0), 10);
}

TEST(GaussianBlur, OnlyTheRectanglePartInsideTheBitmapChanges)
{
    TBitmap bitmap(50, 40, TPixelFormat::pf24bit);
    FillPhoto(bitmap, 4);
    TBitmap original(50, 40, TPixelFormat::pf24bit);
    FillPhoto(original, 4);
    GaussianBlur(bitmap, {30, -10, 80, 20}, 6, 6);
    bool changedInside = false;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 50; ++x)
            for (int c = 0; c < 3; ++c) {
                const bool inside = x >= 30 && y < 20;
                if (!inside)
                    ASSERT_EQ(Byte(bitmap, x, y, c), Byte(original, x, y, c)) << x << ',' << y;
                else
                    changedInside |= Byte(bitmap, x, y, c) != Byte(original, x, y, c);
            }
    EXPECT_TRUE(changedInside);
    GaussianBlur(bitmap, {60, 50, 90, 90}, 6, 6);  // wholly outside: nothing to do
}

// numpy convolves with the exact sampled Gaussian, edges repeated.
TEST(GaussianBlur, AgreesWithAnExactGaussianConvolution)
{
    ORVELLA_REQUIRE_TOOL(test::HaveNumpy(), "python3 with numpy");
    for (const auto& [h, v] : {std::pair{5.0, 5.0}, std::pair{20.0, 3.0}}) {
        TBitmap bitmap(160, 120, TPixelFormat::pf24bit);
        FillPhoto(bitmap, 8);
        const test::TempDir dir;
        test::WriteFile(dir.File("in.raw"), test::RawBytes(bitmap));
        const std::string script =
            "sh, sv = " + std::to_string(SigmaFor(h)) + ", " + std::to_string(SigmaFor(v)) + "\n" +
            "img = np.fromfile(sys.argv[1], dtype=np.uint8).reshape(120, 160, 3).astype(np.float64)\n"
            "def blur(a, s, axis):\n"
            "    r = int(np.ceil(6 * s)); k = np.exp(-np.arange(-r, r + 1) ** 2 / (2 * s * s)); k /= k.sum()\n"
            "    pad = [(0, 0)] * 3; pad[axis] = (r, r)\n"
            "    p = np.pad(a, pad, mode='edge')\n"
            "    return np.apply_along_axis(lambda v: np.convolve(v, k, mode='valid'), axis, p)\n"
            "out = blur(blur(img, sh, 1), sv, 0)\n"
            "np.clip(np.floor(out + 0.5), 0, 255).astype(np.uint8).tofile(sys.argv[2])\n";
        ASSERT_TRUE(test::RunNumpy(script, dir.File("in.raw"), dir.File("out.raw")));
        TBitmap theirs;
        ASSERT_TRUE(test::FromRaw(theirs, test::ReadFile(dir.File("out.raw")), 160, 120, TPixelFormat::pf24bit));
        GaussianBlur(bitmap, {0, 0, 160, 120}, h, v);
        EXPECT_LE(MaxDifference(bitmap, theirs), 2) << h << ' ' << v;
    }
}

}  // namespace
}  // namespace orvella
