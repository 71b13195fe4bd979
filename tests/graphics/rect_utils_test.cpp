#include "graphics/rect_utils.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

TEST(RectUtils, FitAndCoverKeepTheAspect)
{
    const TRect wide{0, 0, 400, 200};
    EXPECT_EQ(FitSize(wide, 100, 100), (TRect{0, 0, 100, 50}));
    EXPECT_EQ(CoverSize(wide, 100, 100), (TRect{0, 0, 200, 100}));
    const TRect tall{10, 20, 110, 420};
    EXPECT_EQ(FitSize(tall, 100, 100), (TRect{10, 20, 35, 120}));
    EXPECT_EQ(CoverSize(tall, 100, 100), (TRect{10, 20, 110, 420}));
    EXPECT_EQ(FitRect(wide, {0, 0, 100, 100}), (TRect{0, 25, 100, 75}));
    EXPECT_EQ(CoverRect(wide, {0, 0, 100, 100}), (TRect{-50, 0, 150, 100}));
}

TEST(RectUtils, CentreTruncatesTowardZero)
{
    EXPECT_EQ(RectCenter({-3, -3, 0, 0}), (TPoint{-1, -1}));
    EXPECT_EQ(RectCenter({0, 0, 3, 3}), (TPoint{1, 1}));
    EXPECT_EQ(CenterRectAt({0, 0, 10, 4}, {100, 100}), (TRect{95, 98, 105, 102}));
}

TEST(RectUtils, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(RoundHalfAway(2.5L), 3);
    EXPECT_EQ(RoundHalfAway(-2.5L), -3);
    EXPECT_EQ(RoundHalfAway(0.378L), 0);
    EXPECT_EQ(MulDiv64(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv64(int64_t(1) << 40, int64_t(1) << 40, int64_t(1) << 50), int64_t(1) << 30);
}

TEST(RectUtils, NormalizeInsideAndClamp)
{
    EXPECT_EQ(NormalizeRect({10, 20, 0, 5}), (TRect{0, 5, 10, 20}));
    EXPECT_TRUE(RectInside({1, 1, 5, 5}, {0, 0, 5, 5}));
    EXPECT_FALSE(RectInside({1, 1, 6, 5}, {0, 0, 5, 5}));
    EXPECT_EQ(ClampPoint({-4, 9}, {0, 0, 5, 5}), (TPoint{0, 5}));
    EXPECT_EQ(IntersectRect({0, 0, 2, 2}, {5, 5, 6, 6}), TRect{});
}

}  // namespace
}  // namespace orvella
