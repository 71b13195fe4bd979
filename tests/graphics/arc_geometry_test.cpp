#include "graphics/arc_geometry.h"

#include "graphics/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace orvella {
namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

// Points a polyline call lists.
std::size_t pointCount(const std::string& call)
{
    return std::size_t(std::count(call.begin(), call.end(), ' ')) + 1;
}

TEST(CircleThroughPoints, FindsTheCentreOrFallsBackToTheCentroid)
{
    const TCircle circle = CircleThroughPoints({0, 0}, {100, 100}, {200, 0});
    EXPECT_EQ(circle.Center, (TPoint{100, 0}));
    EXPECT_NEAR(double(circle.Radius), 100.0, 1e-9);
    const TCircle line = CircleThroughPoints({0, 0}, {10, 10}, {20, 20});
    EXPECT_EQ(line.Center, (TPoint{10, 10}));
    EXPECT_EQ(line.Radius, 0);
    const TArc point = ArcFromPoints({0, 0}, {0, 0}, {0, 0});
    EXPECT_EQ(point.Radius, 0);
    EXPECT_EQ(point.StartAngle, 0);
}

TEST(ArcFromPoints, RunsFromStartToEndInIncreasingAngle)
{
    // Over the top of the circle: from the left (pi) through 3pi/2 to the right (0).
    const TArc arc = ArcFromPoints({0, 0}, {100, -100}, {200, 0});
    EXPECT_EQ(arc.Radius, 100);
    EXPECT_NEAR(double(arc.StartAngle), double(kPi), 1e-12);
    EXPECT_NEAR(double(arc.EndAngle), 0.0, 1e-12);
    TPoint start, middle, end;
    ArcEndPoints(arc, start, middle, end);
    EXPECT_EQ(start, (TPoint{0, 0}));
    EXPECT_EQ(middle, (TPoint{100, -100}));  // the mean angle turned by pi, as the arc passes 0
    EXPECT_EQ(end, (TPoint{200, 0}));
}

TEST(ArcBounds, AddsTheExtremesTheArcPasses)
{
    TArc arc{0, 0, 10, 3 * kPi / 4, kPi / 4};
    EXPECT_EQ(ArcBounds(arc), (TRect{-10, -10, 10, 7}));
    arc.StartAngle = kPi / 8;
    arc.EndAngle = 3 * kPi / 8;
    EXPECT_EQ(ArcBounds(arc), (TRect{4, 4, 9, 9}));
    arc.StartAngle = 3 * kPi / 8;
    arc.EndAngle = kPi / 8;  // the long way round, same quadrant
    EXPECT_EQ(ArcBounds(arc), (TRect{-10, -10, 10, 10}));
}

TEST(DrawArcThrough, FlatArcsBecomeEightSegmentParabolas)
{
    TRecordingCanvas flat;
    DrawArcThrough(flat, {0, 0}, {50, -10}, {100, 0});
    ASSERT_EQ(flat.Calls().size(), 2u);
    EXPECT_EQ(flat.Calls()[0].Call, "MoveTo(0,0)");
    EXPECT_EQ(pointCount(flat.Calls()[1].Call), 8u);
    EXPECT_NE(flat.Calls()[1].Call.find("50,-10"), std::string::npos);

    TRecordingCanvas curved;
    DrawArcThrough(curved, {0, 0}, {500, -100}, {1000, 0});
    ASSERT_EQ(curved.Calls().size(), 2u);
    // About 45 degrees of arc in 2-degree steps.
    EXPECT_GT(pointCount(curved.Calls()[1].Call), 20u);
    EXPECT_NE(curved.Calls()[1].Call.rfind(" 1000,"), std::string::npos);  // ends at E, truncated
}

TEST(DrawArcBandThrough, OutlinesTheBandWithAThinPenAndCloses)
{
    TRecordingCanvas canvas;
    canvas.Pen().Width = 10;
    DrawArcBandThrough(canvas, {0, 0}, {500, -200}, {1000, 0});
    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1].Pen.Width, 0);
    EXPECT_EQ(calls[2].Call, "CloseFigure()");
    EXPECT_EQ(canvas.Pen().Width, 10);

    TRecordingCanvas flat;
    flat.Pen().Width = 4;
    DrawArcBandThrough(flat, {0, 0}, {50, 0}, {100, 0});
    // Across the start, nine points along one side, across the end, nine back.
    EXPECT_EQ(flat.Calls()[0].Call, "MoveTo(0,-2)");
    EXPECT_EQ(pointCount(flat.Calls()[1].Call), 18u);
}

TEST(BulgeMiddlePoint, StandsSquareToTheChordAndIsLimited)
{
    EXPECT_EQ(BulgeMiddlePoint({0, 0}, {100, 0}, 10), (TPoint{50, -10}));
    EXPECT_EQ(BulgeMiddlePoint({0, 0}, {0, 0}, 10), (TPoint{0, 0}));
    EXPECT_EQ(BulgeMiddlePoint({0, 0}, {100, 0}, 5000), (TPoint{50, -4000}));
}

TEST(SignedSagitta, MeasuresTheHeightWithItsSide)
{
    EXPECT_EQ(PointOrientation({0, 0}, {100, 0}, {50, -10}), 1);
    EXPECT_EQ(PointOrientation({0, 0}, {100, 0}, {50, 10}), -1);
    EXPECT_EQ(SignedSagitta({0, 0}, {50, -10}, {100, 0}), 10);
    EXPECT_EQ(SignedSagitta({0, 0}, {50, 10}, {100, 0}), -10);
    EXPECT_EQ(SignedSagitta({0, 0}, {50, 0}, {100, 0}), 0);
    // More than a half circle: the height passes the centre (which is rounded
    // to whole units, hence not quite 80).
    EXPECT_EQ(SignedSagitta({0, 0}, {50, 80}, {100, 0}), -79);
}

TEST(ArcOfChord, RisesAboveALeftToRightChordForPositiveBulge)
{
    const TArc arc = ArcOfChord({0, 0}, {100, 0}, 10);
    EXPECT_EQ(arc.Radius, 130);  // 100^2 / 80 + 5
    EXPECT_EQ(arc.cx, 50);
    EXPECT_EQ(arc.cy, 120);
    TPoint start, middle, end;
    ArcEndPoints(arc, start, middle, end);
    EXPECT_EQ(middle, (TPoint{50, -10}));
    const TArc flat = ArcOfChord({0, 0}, {100, 0}, 0.5L);
    EXPECT_EQ(flat.Radius, 50);
    EXPECT_EQ(flat.cx, 50);
}

}  // namespace
}  // namespace orvella
