#include "graphics/stroke.h"
#include "objects/transformer.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

struct TurnCase {
    int32_t angle;
    TPoint in;
    TPoint out;
};

// About (100, 50): y grows downwards, so a positive angle turns clockwise on
// the screen.
TEST(Rotator, TurnsAboutItsCentreClockwiseOnScreen)
{
    const TurnCase cases[] = {
        {0, {130, 50}, {130, 50}},
        {90, {130, 50}, {100, 80}},
        {180, {130, 50}, {70, 50}},
        {270, {130, 50}, {100, 20}},
        {-90, {130, 50}, {100, 20}},
        {450, {130, 50}, {100, 80}},
        {45, {110, 50}, {107, 57}},     // 7.07 each way
        {30, {120, 50}, {117, 60}},     // (17.32, 10)
        {-30, {120, 50}, {117, 40}},
    };
    for (const TurnCase& c : cases) {
        const TRotator rotator(c.angle, {100, 50});
        EXPECT_EQ(rotator.Transformed(c.in), c.out) << "angle " << c.angle;
    }
}

TEST(Rotator, TurnsEveryPointOfAStrokeAndKeepsItsFlags)
{
    TStroke stroke;
    stroke.AddPoint(10, 0, STROKE_MOVETO);
    stroke.AddPoint(20, 0, STROKE_LINETO);
    stroke.AddPoint(20, 10, STROKE_CLOSE);
    TRotator rotator(90, {0, 0});
    rotator.TransformStroke(stroke);
    EXPECT_EQ(stroke.Points(0), (TPoint{0, 10}));
    EXPECT_EQ(stroke.Points(1), (TPoint{0, 20}));
    EXPECT_EQ(stroke.Points(2), (TPoint{-10, 20}));
    EXPECT_EQ(stroke.Flags(2), STROKE_CLOSE);
}

}  // namespace
}  // namespace orvella
