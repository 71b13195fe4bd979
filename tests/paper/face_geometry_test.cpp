// Where faces lie, their holes, bleed and outlines, and the layout checks.

#include "paper_fixtures.h"

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/graphics_types.h"
#include "paper/face_info.h"
#include "paper/face_outline.h"
#include "paper/paper_info.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using test::DiscAndTrayPaper;
using test::GridPaper;

TEST(MatrixPaper, NumbersFacesAlongRowsThenDown)
{
    const auto paper = GridPaper("grid", 3, 2);
    ASSERT_EQ(paper->GetFaceCount(), 6);
    // Pitch 530 across, 340 down; the gaps are between faces, not at the edges.
    const TRect expected[] = {{100, 200, 600, 500},  {630, 200, 1130, 500}, {1160, 200, 1660, 500},
                              {100, 540, 600, 840},  {630, 540, 1130, 840}, {1160, 540, 1660, 840}};
    for (int32_t i = 0; i < 6; ++i)
        EXPECT_EQ(paper->GetFaceRect(i), expected[i]) << "face " << i;
    EXPECT_THROW(paper->GetFaceRect(6), std::out_of_range);
}

TEST(MatrixPaper, DamagedCountsGiveNoFacesAndNoOverflow)
{
    auto paper = GridPaper("grid", -3, 2);
    EXPECT_EQ(paper->GetFaceCount(), 0);
    paper = GridPaper("grid", 2, 1);
    paper->FaceWidth = INT32_MAX;
    paper->RightMargin = INT32_MAX;
    EXPECT_EQ(paper->GetFaceRect(1).Left, INT32_MAX) << "saturates instead of wrapping";
}

struct HoleCase {
    TRect face;
    int32_t holeWidth, holeHeight, margin;
    TRect outer, center, hole;
};

class FaceHole : public ::testing::TestWithParam<HoleCase> {};

TEST_P(FaceHole, CentresTheHoleAndBleedsIntoIt)
{
    const HoleCase& c = GetParam();
    TFaceInfo face;
    face.FaceShape = fsDoughnut;
    face.FaceRect = c.face;
    face.CutCenterWidth = c.holeWidth;
    face.CutCenterHeight = c.holeHeight;
    face.FaceMargin = c.margin;
    EXPECT_EQ(face.GetOuterRect(), c.outer);
    EXPECT_EQ(face.GetCenterRect(), c.center);
    EXPECT_EQ(face.GetHoleRect(), c.hole);
}

INSTANTIATE_TEST_SUITE_P(Table, FaceHole, ::testing::Values(
    HoleCase{{0, 0, 1200, 1200}, 410, 410, 0, {0, 0, 1200, 1200}, {395, 395, 805, 805}, {395, 395, 805, 805}},
    HoleCase{{0, 0, 1200, 1200}, 410, 410, 20, {-20, -20, 1220, 1220}, {395, 395, 805, 805}, {415, 415, 785, 785}},
    // An odd leftover truncates toward zero, also when the hole is wider than the face.
    HoleCase{{10, 10, 1211, 1211}, 410, 170, 0, {10, 10, 1211, 1211}, {405, 525, 815, 695}, {405, 525, 815, 695}},
    HoleCase{{0, 0, 100, 100}, 151, 151, 0, {0, 0, 100, 100}, {-25, -25, 126, 126}, {-25, -25, 126, 126}}));

TEST(FaceInfo, SettingTheOuterRectangleKeepsTheBleedOutside)
{
    TFaceInfo face;
    face.FaceMargin = 20;
    face.SetOuterRect({0, 0, 1240, 1240});
    EXPECT_EQ(face.FaceRect, (TRect{20, 20, 1220, 1220}));
    face.SetCutCenterSize(170);
    EXPECT_EQ(face.CutCenterWidth, 170);
    EXPECT_EQ(face.CutCenterHeight, 170);
}

TEST(FaceInfo, LandscapePaperTurnsFacesAndSwapsHoleSizes)
{
    auto paper = DiscAndTrayPaper("free");
    paper->Faces.Items(0).Face.CutCenterWidth = 300;
    paper->Landscape = true;
    EXPECT_EQ(paper->Width(), 2970);
    EXPECT_EQ(paper->Height(), 2100);
    TFaceInfo face;
    face.LoadFromPaper(*paper, 0);
    // Upright (465, 120, 1635, 1290) on a 2100 wide sheet.
    EXPECT_EQ(face.FaceRect, (TRect{120, 465, 1290, 1635}));
    EXPECT_EQ(face.CutCenterWidth, 170);
    EXPECT_EQ(face.CutCenterHeight, 300);
    // The bounds include the bleed and are turned the same way.
    EXPECT_EQ(paper->GetFaceBounds(1), (TRect{1430, 280, 2650, 1820}));
}

TEST(FaceInfo, ShapeDecidesHoleAndCorners)
{
    struct {
        TFaceShape shape;
        bool hole, corners;
    } const table[] = {{fsRect, false, false},      {fsDoughnut, true, false}, {fsEllipse, false, false},
                       {fsRoundRect, false, true},  {fsRectCD, true, true},    {fsBarrelCD, true, false}};
    for (const auto& row : table) {
        TFaceInfo face;
        face.FaceShape = row.shape;
        EXPECT_EQ(face.HasCenterHole(), row.hole) << int(row.shape);
        EXPECT_EQ(face.HasRoundCorners(), row.corners) << int(row.shape);
    }
    EXPECT_EQ(GetFaceShapeNames(), "角ラベル,CDラベル,丸ラベル,角丸ラベル,名刺CDラベル,樽CDラベル");
}

TEST(Barrel, WideBarrelHasStraightEdgesBetweenItsArcs)
{
    const TBarrelArcs arcs = BarrelArcs({0, 0, 1200, 1000});
    // f = sqrt(600^2 - 500^2) = 331.66: the straight edges run from 268 to 932.
    EXPECT_EQ(arcs.First[0], (TPoint{268, 1000}));
    EXPECT_EQ(arcs.First[1], (TPoint{0, 500}));
    EXPECT_EQ(arcs.First[2], (TPoint{268, 0}));
    EXPECT_EQ(arcs.Second[0], (TPoint{932, 0}));
    EXPECT_EQ(arcs.Second[1], (TPoint{1200, 500}));
    EXPECT_EQ(arcs.Second[2], (TPoint{932, 1000}));

    const TStroke outline = BarrelOutline({0, 0, 1200, 1000});
    ASSERT_GT(outline.Count(), 8);
    EXPECT_EQ(outline.Points(0), (TPoint{268, 1000})) << "arc ends are pinned to the given points";
    EXPECT_EQ(outline.Flags(0), STROKE_MOVETO);
    EXPECT_EQ(outline.Flags(outline.Count() - 1), STROKE_CLOSE);
    const TRect bounds = outline.Bounds();
    EXPECT_NEAR(bounds.Left, 0, 1);
    EXPECT_NEAR(bounds.Right, 1200, 1);
    EXPECT_EQ(bounds.Top, 0);
    EXPECT_EQ(bounds.Bottom, 1000);
    // One figure: only the first point starts one.
    for (int32_t i = 1; i < outline.Count(); ++i)
        EXPECT_NE(outline.Flags(i), STROKE_MOVETO) << i;
}

TEST(Barrel, TallBarrelTurnsTheConstruction)
{
    const TBarrelArcs arcs = BarrelArcs({0, 0, 1000, 1200});
    EXPECT_EQ(arcs.First[0], (TPoint{0, 268}));
    EXPECT_EQ(arcs.First[1], (TPoint{500, 0}));
    EXPECT_EQ(arcs.Second[2], (TPoint{0, 932}));
    const QRegion region = FaceShapeRegion(fsBarrelCD, {0, 0, 1000, 1200}, 0);
    EXPECT_TRUE(region.contains(QPoint(500, 600)));
    EXPECT_TRUE(region.contains(QPoint(2, 600))) << "the straight edge runs along the side";
    EXPECT_FALSE(region.contains(QPoint(10, 10))) << "the corners are cut by the arcs";
}

TEST(FaceRegion, CutsTheHoleOnlyWhenAsked)
{
    TFaceInfo face;
    face.FaceShape = fsDoughnut;
    face.FaceRect = {0, 0, 1200, 1200};
    const QRegion whole = face.CreateFaceRegion(nullptr, false);
    const QRegion cut = face.CreateFaceRegion(nullptr, true);
    EXPECT_TRUE(whole.contains(QPoint(600, 600)));
    EXPECT_FALSE(cut.contains(QPoint(600, 600)));
    EXPECT_TRUE(cut.contains(QPoint(600, 300)));
    EXPECT_FALSE(cut.contains(QPoint(5, 5))) << "outside the disc";

    // With a canvas the region is in its pixels: 0.1 mm at 96 dpi.
    TBitmap bitmap(500, 500);
    TCanvas& canvas = bitmap.Canvas();
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({254, 254});
    canvas.SetViewportExt({96, 96});
    const QRect device = face.CreateFaceRegion(&canvas, true).boundingRect();
    EXPECT_NEAR(device.width(), 454, 1);
}

// The corner of a rounded face on a canvas is the device size of the corner
// each way, not the length of its diagonal (which made it 1.41 times too big).
TEST(FaceRegion, RoundCornersOnACanvasKeepTheirSizeEachWay)
{
    TFaceInfo face;
    face.FaceShape = fsRoundRect;
    face.FaceRect = {0, 0, 1000, 600};
    face.RoundSize = 200;

    TBitmap identity(10, 10);
    EXPECT_EQ(face.CreateFaceRegion(&identity.Canvas(), false), face.CreateFaceRegion(nullptr, false));

    // Twice as wide as high: the corner ellipse is 400 x 200 pixels, so a
    // point 40 in and 60 down from the corner lies inside it.
    TBitmap stretched(10, 10);
    TCanvas& canvas = stretched.Canvas();
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({1, 1});
    canvas.SetViewportExt({2, 1});
    const QRegion region = face.CreateFaceRegion(&canvas, false);
    EXPECT_TRUE(region.contains(QPoint(40, 60)));
    EXPECT_TRUE(region.contains(QPoint(1960, 540)));
    EXPECT_FALSE(region.contains(QPoint(5, 5)));
}

TEST(FaceDrawing, DrawsTheHoleOverTheFaceAtTheOrigin)
{
    TFaceInfo face;
    face.FaceShape = fsRectCD;
    face.FaceRect = {1000, 1000, 1850, 1600};
    face.FaceMargin = 10;
    face.CutCenterWidth = face.CutCenterHeight = 220;
    TBitmap bitmap(900, 700, TPixelFormat::pf24bit);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush() = {clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 900, 700});
    canvas.Pen() = {clBlack, 0, TPenStyle::psSolid, R2_COPYPEN};
    canvas.Brush() = {clBlue, TBrushStyle::bsSolid};
    face.DrawPrintArea(canvas, true, false);
    canvas.Brush() = {clRed, TBrushStyle::bsSolid};
    face.DrawHole(canvas, true);
    // The outer rectangle (990..1860) lands at 0..870; the hole's centre at 435, 310.
    EXPECT_EQ(bitmap.GetPixelColor(435, 310), clRed);
    EXPECT_EQ(bitmap.GetPixelColor(100, 310), clBlue);
    EXPECT_EQ(bitmap.GetPixelColor(1, 1), clWhite) << "rounded corner";
    EXPECT_EQ(bitmap.GetPixelColor(880, 310), clWhite) << "beyond the outer rectangle";
}

struct OutsideCase {
    TRect face;
    int32_t margin;
    int32_t want;
};

class FaceOutsidePaper : public ::testing::TestWithParam<OutsideCase> {};

TEST_P(FaceOutsidePaper, FindsTheFirstFaceLeavingTheSheet)
{
    auto paper = DiscAndTrayPaper("free");
    paper->Faces.Items(1).SetRect(GetParam().face);
    paper->Faces.Items(1).Face.FaceMargin = GetParam().margin;
    EXPECT_EQ(FindFaceOutsidePaper(*paper), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, FaceOutsidePaper, ::testing::Values(
    OutsideCase{{600, 2000, 2100, 2970}, 0, -1},   // touches the right and bottom edges
    OutsideCase{{600, 2000, 2101, 2970}, 0, 1},    // one unit beyond
    OutsideCase{{10, 2000, 2090, 2960}, 10, -1},   // the bleed reaches the edges exactly
    OutsideCase{{10, 2000, 2090, 2960}, 11, 1},
    OutsideCase{{3000, 3000, 3500, 3500}, 0, 1},   // wholly off the sheet
    OutsideCase{{500, 500, 500, 900}, 0, 1}));     // empty

TEST(FaceOverlap, DiscsTouchingOnlyInTheirCornerSquaresDoNotOverlap)
{
    auto paper = DiscAndTrayPaper("free");
    TFaceItem& second = paper->Faces.Items(1);
    second.Face.FaceShape = fsDoughnut;
    second.Face.FaceMargin = 0;
    // Diagonal neighbour: the bounding squares share a 200 x 200 corner.
    second.SetRect({1435, 1090, 2605, 2260});
    EXPECT_EQ(FindOverlappingFace(*paper), -1);
    second.Face.FaceShape = fsRect;
    EXPECT_EQ(FindOverlappingFace(*paper), 1) << "a square reaches into the corner";
    // A face sitting inside another's hole overlaps: holes are not cut here.
    second.SetRect({1000, 655, 1100, 755});
    EXPECT_EQ(FindOverlappingFace(*paper), 1);
}

}  // namespace
}  // namespace orvella
