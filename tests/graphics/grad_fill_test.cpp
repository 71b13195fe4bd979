// The gradient engine: index maps checked on exact entries against values
// worked out independently from the map formulas, the colour table, and the
// cone's seam.

#include "graphics/grad_fill.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace orvella {
namespace {

struct MapCase {
    const char* kind;
    int32_t angle;
    std::array<int, 7> want;  // at the points below
};

constexpr std::array<std::pair<int, int>, 7> kPoints{
    {{0, 0}, {127, 0}, {0, 127}, {127, 127}, {63, 63}, {64, 64}, {100, 20}}};

std::unique_ptr<TGradFill> makeFill(const std::string& kind, int32_t angle)
{
    const std::vector<TColor> stops{clWhite, clBlack};
    if (kind == "Angled")
        return std::make_unique<TGradFillAngled>(stops, false, angle);
    if (kind == "Diamond")
        return std::make_unique<TGradFillDiamond>(stops, false, angle);
    if (kind == "Circle")
        return std::make_unique<TGradFillCircle>(stops, false);
    return std::make_unique<TGradFillCone>(stops, false, angle);
}

class GradIndexMap : public ::testing::TestWithParam<MapCase> {};

TEST_P(GradIndexMap, HasTheWorkedOutEntriesAtCornersAndCentre)
{
    const auto fill = makeFill(GetParam().kind, GetParam().angle);
    fill->BuildIndexMap();
    for (std::size_t i = 0; i < kPoints.size(); ++i) {
        const auto [x, y] = kPoints[i];
        EXPECT_EQ(fill->IndexMap()[std::size_t(y) * kGradMapSize + std::size_t(x)], GetParam().want[i])
            << GetParam().kind << " " << GetParam().angle << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, GradIndexMap, ::testing::Values(
    MapCase{"Angled", 0, {0, 0, 1023, 1023, 507, 516, 161}},
    MapCase{"Diamond", 0, {1023, 1023, 1023, 1023, 8, 8, 701}},
    MapCase{"Cone", 0, {128, 896, 384, 640, 128, 640, 910}},
    MapCase{"Angled", 45, {512, 0, 1023, 512, 512, 512, 189}},
    MapCase{"Diamond", 45, {1023, 1023, 1023, 1023, 8, 8, 645}},
    MapCase{"Cone", 45, {256, 1023, 512, 768, 256, 768, 14}},
    MapCase{"Angled", 90, {1023, 0, 1023, 0, 516, 507, 217}},
    MapCase{"Diamond", 90, {1023, 1023, 1023, 1023, 8, 8, 701}},
    MapCase{"Cone", 90, {384, 128, 640, 896, 384, 896, 142}},
    MapCase{"Angled", 270, {0, 1023, 0, 1023, 507, 516, 806}},
    MapCase{"Diamond", 270, {1023, 1023, 1023, 1023, 8, 8, 701}},
    MapCase{"Cone", 270, {896, 640, 128, 384, 896, 384, 654}},
    MapCase{"Angled", 315, {0, 511, 511, 1023, 507, 516, 483}},
    MapCase{"Diamond", 315, {1023, 1023, 1023, 1023, 8, 8, 645}},
    MapCase{"Cone", 315, {1023, 768, 256, 512, 1023, 512, 782}},
    MapCase{"Angled", 30, {349, 0, 1023, 674, 510, 513, 121}},
    MapCase{"Diamond", 30, {1023, 1023, 1023, 1023, 9, 9, 780}},
    MapCase{"Cone", 30, {213, 981, 469, 725, 213, 725, 996}},
    MapCase{"Circle", 0, {1023, 1023, 1023, 1023, 8, 8, 648}}));

TEST(GradFill, AngleIsNormalisedBeforeUse)
{
    TGradFillAngled wrapped({clWhite, clBlack}, false, -90);
    TGradFillAngled plain({clWhite, clBlack}, false, 270);
    wrapped.BuildIndexMap();
    plain.BuildIndexMap();
    EXPECT_EQ(wrapped.IndexMap(), plain.IndexMap());
    EXPECT_EQ(NormalizeGradAngle(720), 360);
    EXPECT_EQ(NormalizeGradAngle(-360), 0);
}

TEST(GradFill, ColourTableApproachesTheLastStopWithoutReachingIt)
{
    TGradFillAngled fill({clWhite, clBlack}, false, 270);
    fill.BuildColorTable();
    EXPECT_EQ(fill.ColorTable()[0], clWhite);
    EXPECT_EQ(fill.ColorTable()[1023], RGB(1, 1, 1));

    TGradFillAngled reversed({clWhite, clBlack}, true, 270);
    reversed.BuildColorTable();
    EXPECT_EQ(reversed.ColorTable()[0], RGB(1, 1, 1));
    EXPECT_EQ(reversed.ColorTable()[1023], clWhite);

    TGradFillAngled three({clRed, clLime, clBlue}, false, 270);
    three.BuildColorTable();
    EXPECT_EQ(three.ColorTable()[512], clLime) << "the middle stop sits exactly half way";
    EXPECT_EQ(three.ColorTable()[256], RGB(128, 127, 0)) << "each channel steps by its own truncated share";

    TGradFillAngled single({RGB(10, 20, 30)}, false, 270);
    single.BuildColorTable();
    for (TColor entry : single.ColorTable())
        ASSERT_EQ(entry, RGB(10, 20, 30));
}

TEST(GradFill, ConeShowsTheFirstColourOnBothSidesOfTheSeam)
{
    const auto fill = CreateGradFill(TGradKind::rgkConeCounterClockwise, 0, {clRed, clBlue});
    TBitmap rendered;
    fill->Render(rendered);
    for (const int32_t x : {63, 64}) {
        const TColor colour = rendered.GetPixelColor(x, 0);
        EXPECT_GE(colour & 0xFF, 250u) << x;
        EXPECT_LE(colour >> 16, 5u) << x;
    }
    // Half way round, straight down, is the second colour.
    const TColor below = rendered.GetPixelColor(63, 127);
    EXPECT_GE(below >> 16, 250u);
    EXPECT_LE(below & 0xFF, 5u);
}

TEST(GradFill, KindsChooseRendererAndReversal)
{
    // Box and circle to the rim have the first colour on the rim.
    for (const TGradKind kind : {TGradKind::rgkBoxToRim, TGradKind::rgkCircleToRim}) {
        TBitmap rendered;
        CreateGradFill(kind, 0, {clRed, clBlue})->Render(rendered);
        EXPECT_EQ(rendered.GetPixelColor(0, 0), clRed);
        EXPECT_NE(rendered.GetPixelColor(63, 63), clRed);
    }
    for (const TGradKind kind : {TGradKind::rgkBoxToCenter, TGradKind::rgkCircleToCenter}) {
        TBitmap rendered;
        CreateGradFill(kind, 0, {clRed, clBlue})->Render(rendered);
        EXPECT_NE(rendered.GetPixelColor(0, 0), clRed);
    }
    TBitmap simple;
    CreateGradFill(TGradKind::rgkSimple, 270, {clRed, clBlue})->Render(simple);
    EXPECT_EQ(simple.GetPixelColor(0, 40), clRed);
}

TEST(GradFill, NoStopsDrawNothing)
{
    TBitmap rendered(4, 4);
    CreateGradFill(TGradKind::rgkConeClockwise, 30, {})->Render(rendered);
    EXPECT_EQ(rendered.Width(), 4) << "the target is left as it was";
}

}  // namespace
}  // namespace orvella
