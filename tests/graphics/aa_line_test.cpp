#include "graphics/aa_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace orvella {
namespace {

TEST(AACosineTable, RunsFromOneToTheCosineOf45Degrees)
{
    EXPECT_EQ(AACosineTable()[0], 65536);
    EXPECT_EQ(AACosineTable()[512], 58617);
    EXPECT_EQ(AACosineTable()[1024], 46341);
}

TEST(AALineProfile, HasTheAreaCoverageOfAPixelDisc)
{
    TAALineRec line;
    const std::vector<int32_t>& profile = line.Profile();
    ASSERT_EQ(profile.size(), 66u);
    for (int k = 0; k <= 13; ++k)
        EXPECT_EQ(profile[std::size_t(k)], 255) << k;
    EXPECT_LT(profile[14], 255);
    EXPECT_EQ(profile[38], 130);
    EXPECT_EQ(profile[45], 86);
    EXPECT_EQ(profile[63], 1);
    EXPECT_EQ(profile[64], 0);
    EXPECT_EQ(profile[65], 0);
    EXPECT_EQ(line.ProfileShift(), 10);
    EXPECT_EQ(line.Reach(), 65536);
}

class AALineMask : public ::testing::Test {
protected:
    AALineMask() : mask(16, 16, TPixelFormat::pf8bit) { line.SetBitmap(mask); }
    int at(int x, int y) const { return mask.Row(y)[x]; }
    int countNonZero() const
    {
        int n = 0;
        for (int y = 0; y < mask.Height(); ++y)
            for (int x = 0; x < mask.Width(); ++x)
                n += at(x, y) != 0;
        return n;
    }
    TBitmap mask;
    TAALineAlphaMap line;
};

TEST_F(AALineMask, StraightLinesCoverExactlyTheirPixels)
{
    line.MoveTo(2, 3);
    line.LineTo(12, 3);
    line.MoveTo(14, 12);
    line.LineTo(14, 2);
    for (int x = 2; x <= 12; ++x)
        EXPECT_EQ(at(x, 3), 255);
    EXPECT_EQ(countNonZero(), 11 + 11);
}

TEST_F(AALineMask, DiagonalLineHas86AboveAndBelow)
{
    line.MoveTo(10, 10);
    line.LineTo(2, 2);  // drawn from the left end whatever the order
    for (int i = 2; i <= 10; ++i) {
        EXPECT_EQ(at(i, i), 255);
        EXPECT_EQ(at(i, i - 1), 86);
        EXPECT_EQ(at(i, i + 1), 86);
    }
    EXPECT_EQ(countNonZero(), 9 * 3);
}

TEST_F(AALineMask, ShallowLineSharesCoverageOnOddColumns)
{
    line.MoveTo(0, 2);
    line.LineTo(10, 7);
    for (int x = 0; x <= 10; x += 2) {
        const int y = 2 + x / 2;
        EXPECT_EQ(at(x, y), 255) << x;
        EXPECT_EQ(at(x, y - 1), 21) << x;
        EXPECT_EQ(at(x, y + 1), 21) << x;
    }
    for (int x = 1; x < 10; x += 2) {
        const int y = 2 + (x + 1) / 2;
        EXPECT_EQ(at(x, y), 192) << x;
        EXPECT_EQ(at(x, y - 1), 192) << x;
    }
}

TEST_F(AALineMask, PointSetsOnePixelAndOutsidePixelsAreDropped)
{
    line.MoveTo(5, 5);
    line.LineTo(5, 5);
    EXPECT_EQ(at(5, 5), 255);
    EXPECT_EQ(countNonZero(), 1);
    line.MoveTo(-20, -3);
    line.LineTo(40, -1);
    line.LineTo(40, 100);
    EXPECT_EQ(countNonZero(), 1);
}

TEST_F(AALineMask, OverlapsKeepTheHigherCoverage)
{
    line.MoveTo(2, 2);
    line.LineTo(10, 10);
    line.MoveTo(2, 3);
    line.LineTo(12, 3);
    EXPECT_EQ(at(3, 3), 255);
    EXPECT_EQ(at(4, 3), 255);
    EXPECT_EQ(at(4, 4), 255);
}

TEST(AALine, WithoutASinkOnlyMovesThePoint)
{
    struct Plot {
        int32_t x, y, value;
        bool operator==(const Plot&) const = default;
    };
    TAALineRec line;
    line.MoveTo(2, 2);
    line.LineTo(5, 9);  // nothing to draw into
    std::vector<Plot> plotted;
    line.SetPixelSink(
        [](void* data, TAALineRec&, int32_t x, int32_t y, int32_t value) {
            if (value > 0)
                static_cast<std::vector<Plot>*>(data)->push_back({x, y, value});
        },
        &plotted);
    // The next line starts where the unseen one ended, and nothing of the
    // unseen one is drawn late.
    line.LineTo(8, 9);
    EXPECT_NE(std::find(plotted.begin(), plotted.end(), Plot{5, 9, 255}), plotted.end());
    EXPECT_NE(std::find(plotted.begin(), plotted.end(), Plot{8, 9, 255}), plotted.end());
    for (const Plot& plot : plotted) {
        EXPECT_TRUE(plot.x >= 5 && plot.x <= 8 && plot.y >= 8 && plot.y <= 10) << plot.x << ',' << plot.y;
    }
}

}  // namespace
}  // namespace orvella
