// The layout editor's window-free pieces: snapping to guides and grid, the
// status bar's lengths, guide rounding, the overlay's pixels, and moving
// selected objects against the face and against each other with undo.

#include "document/face_overlay.h"
#include "document/face_snap.h"
#include "document/grid.h"
#include "document/guide.h"
#include "document/layout_operations.h"
#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "graphics/bitmap.h"
#include "label_test_objects.h"
#include "paper/face_info.h"

#include <gtest/gtest.h>

#include <QRegion>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace orvella::test {
namespace {

// --- snapping ----------------------------------------------------------------

struct SnapCase {
    const char* what;
    bool gridOn;
    int32_t verticalGuideX;  // 0: none
    int32_t horizontalGuideY;
    bool alt;
    TPoint point;
    TPoint want;
};

class FaceSnap : public ::testing::TestWithParam<SnapCase> {};

TEST_P(FaceSnap, TakesTheNearerOfGuideAndGrid)
{
    const SnapCase& c = GetParam();
    TGrid grid;
    grid.SetSize(50);
    grid.SetEnabled(c.gridOn);
    TGuide guide;
    guide.SetEnabled(true);
    if (c.verticalGuideX)
        guide.SetGuide(0, c.verticalGuideX, 0);
    if (c.horizontalGuideY)
        guide.SetGuide(1, 0, c.horizontalGuideY);
    EXPECT_EQ(FaceSnapOffset(c.point, 30, &grid, &guide, c.alt), c.want) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FaceSnap,
    ::testing::Values(
        SnapCase{"alt switches snapping off", true, 80, 70, true, {74, 76}, {0, 0}},
        SnapCase{"grid alone", true, 0, 0, false, {74, 76}, {-24, 24}},
        SnapCase{"a nearer guide wins on its axis only", true, 80, 0, false, {74, 76}, {6, 24}},
        SnapCase{"a nearer horizontal guide", true, 0, 90, false, {74, 76}, {-24, 14}},
        SnapCase{"a tie goes to the grid", true, 98, 52, false, {74, 76}, {-24, 24}},
        SnapCase{"guide beyond the tolerance", true, 140, 0, false, {74, 76}, {-24, 24}},
        SnapCase{"guides without grid", false, 80, 0, false, {74, 76}, {6, kNoSnap}},
        SnapCase{"neither snaps", false, 0, 0, false, {74, 76}, {kNoSnap, kNoSnap}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(FaceSnapWithout, NoGridAndNoGuidesNeverSnap)
{
    EXPECT_EQ(FaceSnapOffset({74, 76}, 30, nullptr, nullptr, false), (TPoint{kNoSnap, kNoSnap}));
    EXPECT_EQ(FaceSnapOffset({74, 76}, 30, nullptr, nullptr, true), (TPoint{0, 0}));
}

TEST(FaceSnapHook, AnAxisWithoutSnapHasNoValue)
{
    const TSnapOffset snap = AsSnapOffset({kNoSnap, -5});
    EXPECT_FALSE(snap.dx.has_value());
    EXPECT_EQ(snap.dy, -5);
    EXPECT_EQ(AsSnapOffset({0, kNoSnap}).dx, 0);
}

// --- lengths -------------------------------------------------------------------

struct TenthsCase {
    int32_t value;
    const char* want;
};

class TenthsMm : public ::testing::TestWithParam<TenthsCase> {};

TEST_P(TenthsMm, ShowsSignWholeMillimetresAndTenth)
{
    EXPECT_EQ(FormatTenthsMm(GetParam().value), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, TenthsMm,
                         ::testing::Values(TenthsCase{-5, "-0.5mm"}, TenthsCase{0, "0.0mm"}, TenthsCase{5, "0.5mm"},
                                           TenthsCase{123, "12.3mm"}, TenthsCase{-123, "-12.3mm"},
                                           TenthsCase{9999, "999.9mm"},
                                           TenthsCase{std::numeric_limits<int32_t>::min(), "-214748364.8mm"}));

struct GuideRoundCase {
    int32_t value;
    bool exact;
    int32_t want;
};

class GuideRounding : public ::testing::TestWithParam<GuideRoundCase> {};

TEST_P(GuideRounding, RoundsToWholeMillimetresUnlessExact)
{
    EXPECT_EQ(RoundGuidePosition(GetParam().value, GetParam().exact), GetParam().want) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, GuideRounding,
    ::testing::Values(GuideRoundCase{123, false, 120},  // 12.3 mm lands on 12 mm
                      GuideRoundCase{123, true, 123}, GuideRoundCase{125, false, 130}, GuideRoundCase{124, false, 120},
                      GuideRoundCase{0, false, 0}, GuideRoundCase{4, false, 0},
                      // Left of or above the face it rounds like its mirror image.
                      GuideRoundCase{-12, false, -10}, GuideRoundCase{-15, false, -20}, GuideRoundCase{-4, false, 0},
                      GuideRoundCase{std::numeric_limits<int32_t>::max(), false, 2147483640},
                      GuideRoundCase{std::numeric_limits<int32_t>::min(), false, -2147483640}));

// --- overlay -------------------------------------------------------------------

// A rectangular face of 40 x 30 with a bleed of 3, painted over white at one
// pixel per unit.
class Overlay : public ::testing::Test {
protected:
    Overlay() : bitmap(46, 36)
    {
        face.FaceRect = {0, 0, 40, 30};
        face.FaceMargin = 3;
        TCanvas& canvas = bitmap.Canvas();
        canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
        canvas.FillRect({0, 0, 46, 36});
    }
    void Paint(const TGrid* grid, const TGuide* guide)
    {
        PaintFaceOverlay(bitmap.Canvas(), face, grid, guide, {46, 36});
    }
    int Count(TColor color) const
    {
        int count = 0;
        for (int32_t y = 0; y < 36; ++y)
            for (int32_t x = 0; x < 46; ++x)
                count += bitmap.GetPixelColor(x, y) == color;
        return count;
    }

    TFaceInfo face;
    TBitmap bitmap;
};

TEST_F(Overlay, BlackFrameAtTheEdgesAndGreyTrimLineInside)
{
    Paint(nullptr, nullptr);
    for (int32_t x = 0; x < 46; ++x) {
        EXPECT_EQ(bitmap.GetPixelColor(x, 0), clBlack) << x;
        EXPECT_EQ(bitmap.GetPixelColor(x, 35), clBlack) << x;
    }
    for (int32_t y = 0; y < 36; ++y) {
        EXPECT_EQ(bitmap.GetPixelColor(0, y), clBlack) << y;
        EXPECT_EQ(bitmap.GetPixelColor(45, y), clBlack) << y;
    }
    // The trim line runs dotted along the face inside the bleed, nowhere else.
    int onTrimLine = 0;
    for (int32_t y = 0; y < 36; ++y)
        for (int32_t x = 0; x < 46; ++x) {
            const bool onLine = ((y == 3 || y == 32) && x >= 3 && x <= 42) || ((x == 3 || x == 42) && y >= 3 && y <= 32);
            if (bitmap.GetPixelColor(x, y) == 0x808080) {
                EXPECT_TRUE(onLine) << x << ',' << y;
                ++onTrimLine;
            }
        }
    EXPECT_GT(onTrimLine, 40) << "dotted: about every other pixel of the line";
    EXPECT_LT(onTrimLine, 140) << "dotted, not solid";
    EXPECT_EQ(bitmap.GetPixelColor(20, 15), clWhite);
}

TEST_F(Overlay, GridDotsBlueGridLinesSilverGuidesBlue)
{
    TGrid grid;
    grid.SetSize(10);
    grid.SetVisible(true);
    Paint(&grid, nullptr);
    EXPECT_EQ(bitmap.GetPixelColor(20, 20), clBlue);
    EXPECT_EQ(bitmap.GetPixelColor(21, 20), clWhite);
    EXPECT_EQ(Count(0xC0C0C0), 0);

    bitmap.Canvas().FillRect({0, 0, 46, 36});
    grid.SetLineShape(true);
    Paint(&grid, nullptr);
    EXPECT_GT(Count(0xC0C0C0), 20);
    EXPECT_EQ(Count(clBlue), 0);

    bitmap.Canvas().FillRect({0, 0, 46, 36});
    TGuide guide;
    guide.SetVisible(true);
    guide.SetGuide(0, 0, 17);
    grid.SetVisible(false);
    Paint(&grid, &guide);
    int onGuide = 0;
    for (int32_t x = 0; x < 46; ++x)
        onGuide += bitmap.GetPixelColor(x, 17) == clBlue;
    EXPECT_GT(onGuide, 10);
    EXPECT_EQ(Count(clBlue), onGuide) << "blue only on the guide's row";
}

TEST_F(Overlay, LeavesThePenAndBrushAsTheyWere)
{
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen() = TPen{clRed, 3, TPenStyle::psDash, R2_COPYPEN};
    canvas.Brush() = TBrush{clLime, TBrushStyle::bsCross};
    Paint(nullptr, nullptr);
    EXPECT_EQ(canvas.Pen(), (TPen{clRed, 3, TPenStyle::psDash, R2_COPYPEN}));
    EXPECT_EQ(canvas.Brush(), (TBrush{clLime, TBrushStyle::bsCross}));
}

// --- operations over the selection --------------------------------------------------

class LayoutOperations : public ::testing::Test {
protected:
    LayoutOperations()
    {
        RegisterLabelTestClasses();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1200);
        site.SetLogHeight(1200);
        ActionList().Clear();
        disc.FaceRect = {0, 0, 1200, 1200};
        disc.FaceShape = fsDoughnut;
        disc.CutCenterWidth = disc.CutCenterHeight = 410;
    }
    ~LayoutOperations() override { ActionList().Clear(); }

    TLOTestRect& Add(const TRect& rect, bool selected = true)
    {
        auto& object = static_cast<TLOTestRect&>(site.InsertOwnedObject(std::make_unique<TLOTestRect>()));
        object.SetBoundsRect(rect);
        site.AddObject(object);
        object.SetSelected(selected);
        return object;
    }

    TDrawSite site;
    TFaceInfo disc;
};

// The left edge of the face's region on each row, found by walking the row:
// what the region holds, not how the operation reads it.
int32_t regionLeftOnRows(const QRegion& region, int32_t top, int32_t bottom, int32_t width)
{
    int32_t most = std::numeric_limits<int32_t>::min();
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (region.contains(QPoint(x, y))) {
                most = std::max(most, x);
                break;
            }
    return most;
}

TEST_F(LayoutOperations, LeftEdgeFollowsTheCircleOfARoundFace)
{
    TLOTestRect& high = Add({500, 100, 600, 200});
    TLOTestRect& middle = Add({500, 550, 600, 650});
    ASSERT_TRUE(AdjustPosition(site, acLeftEdge, disc));

    const QRegion region = disc.CreateFaceRegion(nullptr, false);
    EXPECT_EQ(high.Rect().Left, regionLeftOnRows(region, 100, 200, 1200));
    // On a circle of radius 600 the row at 100 starts at 600 - sqrt(600² - 500²).
    EXPECT_NEAR(high.Rect().Left, 600 - std::sqrt(600.0 * 600 - 500.0 * 500), 2);
    EXPECT_EQ(high.Rect().Right - high.Rect().Left, 100) << "moved, not resized";
    EXPECT_EQ(high.Rect().Top, 100);
    // Rows 550 to 650 of the circle start at least 600 - sqrt(600² - 50²) in.
    EXPECT_NEAR(middle.Rect().Left, 2, 1);
    EXPECT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "位置合わせ");
}

TEST_F(LayoutOperations, EdgesAndCentresOfTheFace)
{
    struct Case {
        int choice;
        TRect start;
        TRect want;
    };
    // The face is 1200 across; 1200 - 101 halves to 549 (toward zero). Over
    // the 100 middle rows or columns the circle stays 2 inside the edge.
    const Case cases[] = {
        {acRightEdge, {550, 550, 650, 650}, {1098, 550, 1198, 650}},
        {acTopEdge, {550, 300, 650, 400}, {550, 2, 650, 102}},
        {acBottomEdge, {550, 300, 650, 400}, {550, 1098, 650, 1198}},
        {acMiddle, {10, 20, 110, 121}, {10, 549, 110, 650}},
        {acCentre, {10, 20, 111, 120}, {549, 20, 650, 120}},
    };
    for (const Case& c : cases) {
        site.SetAllSelected(false);
        TLOTestRect& object = Add(c.start);
        AdjustPosition(site, c.choice, disc);
        const TRect got = object.Rect();
        EXPECT_NEAR(got.Left, c.want.Left, 1) << c.choice;
        EXPECT_NEAR(got.Top, c.want.Top, 1) << c.choice;
        EXPECT_EQ(got.Right - got.Left, c.start.Right - c.start.Left) << c.choice;
        EXPECT_EQ(got.Bottom - got.Top, c.start.Bottom - c.start.Top) << c.choice;
    }
    // A rectangle outside every row of the face stays where it is.
    site.SetAllSelected(false);
    TLOTestRect& outside = Add({100, 1300, 200, 1400});
    AdjustPosition(site, acLeftEdge, disc);
    EXPECT_EQ(outside.Rect(), (TRect{100, 1300, 200, 1400}));
    EXPECT_FALSE(AdjustPosition(site, 8, disc));
}

TEST_F(LayoutOperations, CanAlignWithTwoSelected)
{
    Add({0, 0, 10, 10});
    EXPECT_FALSE(CanAlignObjects(site));
    EXPECT_FALSE(AlignObjects(site, alLefts));
    Add({50, 50, 60, 60}, false);
    EXPECT_FALSE(CanAlignObjects(site));
    Add({90, 90, 100, 100});
    EXPECT_TRUE(CanAlignObjects(site));
}

TEST_F(LayoutOperations, AlignsEdgesAndCentresToTheUnion)
{
    struct Case {
        int choice;
        TRect wantA;
        TRect wantB;
    };
    // A {100,100,150,140} and B {300,200,400,300}: the union is {100,100,400,300}.
    const Case cases[] = {
        {alLefts, {100, 100, 150, 140}, {100, 200, 200, 300}},
        {alRights, {350, 100, 400, 140}, {300, 200, 400, 300}},
        {alTops, {100, 100, 150, 140}, {300, 100, 400, 200}},
        {alBottoms, {100, 260, 150, 300}, {300, 200, 400, 300}},
        {alCentresX, {225, 100, 275, 140}, {200, 200, 300, 300}},
        {alCentresY, {100, 180, 150, 220}, {300, 150, 400, 250}},
    };
    for (const Case& c : cases) {
        site.SetAllSelected(false);
        TLOTestRect& a = Add({100, 100, 150, 140});
        TLOTestRect& b = Add({300, 200, 400, 300});
        TLOTestRect& bystander = Add({0, 0, 10, 10}, false);
        ASSERT_TRUE(AlignObjects(site, c.choice));
        EXPECT_EQ(a.Rect(), c.wantA) << c.choice;
        EXPECT_EQ(b.Rect(), c.wantB) << c.choice;
        EXPECT_EQ(bystander.Rect(), (TRect{0, 0, 10, 10})) << "not selected";
        a.SetSelected(false);
        b.SetSelected(false);
    }
}

TEST_F(LayoutOperations, EqualSpacingKeepsTheOuterEdges)
{
    TLOTestRect& left = Add({0, 0, 50, 20});
    TLOTestRect& right = Add({700, 40, 730, 60});
    TLOTestRect& middle = Add({300, 10, 400, 30});
    ASSERT_TRUE(AlignObjects(site, alSpaceX));
    EXPECT_EQ(left.Rect(), (TRect{0, 0, 50, 20}));
    EXPECT_EQ(middle.Rect(), (TRect{325, 10, 425, 30}));
    EXPECT_EQ(right.Rect(), (TRect{700, 40, 730, 60}));
    // Gaps of 275 either side of the middle object.
    EXPECT_EQ(middle.Rect().Left - left.Rect().Right, right.Rect().Left - middle.Rect().Right);

    ASSERT_TRUE(AlignObjects(site, alSpaceY));
    EXPECT_EQ(left.Rect().Top, 0);
    EXPECT_EQ(middle.Rect().Top, 20);
    EXPECT_EQ(right.Rect().Bottom, 60);
}

// Two objects on one centre and centres left of zero: every object gets its
// own place, ordered as the numbers say.
TEST_F(LayoutOperations, EqualSpacingKeepsObjectsWithNegativeOrCoincidingCentres)
{
    TLOTestRect& wide = Add({-150, 0, -50, 10});   // centre -100
    TLOTestRect& narrow = Add({-110, 0, -90, 10});  // centre -100 too
    TLOTestRect& far = Add({40, 0, 60, 10});        // centre 50
    TLOTestRect& near = Add({-30, 0, -10, 10});     // centre -20
    ASSERT_TRUE(AlignObjects(site, alSpaceX));

    // The union is 210 wide and the objects 160: three gaps of 50 / 3.
    std::vector<TRect> placed{wide.Rect(), narrow.Rect(), near.Rect(), far.Rect()};
    std::sort(placed.begin(), placed.end(), [](const TRect& a, const TRect& b) { return a.Left < b.Left; });
    EXPECT_EQ(placed.front().Left, -150);
    EXPECT_EQ(placed.back(), (TRect{40, 0, 60, 10})) << "the rightmost centre keeps its right edge";
    for (std::size_t i = 1; i < placed.size(); ++i) {
        const int32_t gap = placed[i].Left - placed[i - 1].Right;
        EXPECT_GE(gap, 16) << i;
        EXPECT_LE(gap, 17) << i;
    }
    EXPECT_LT(near.Rect().Left, far.Rect().Left);
    EXPECT_LT(std::max(wide.Rect().Left, narrow.Rect().Left), near.Rect().Left);
}

TEST_F(LayoutOperations, UndoOfAlignmentRestoresEveryObjectInOneStep)
{
    TLOTestRect& a = Add({10, 10, 60, 60});
    TLOTestRect& b = Add({200, 300, 260, 330});
    TLOTestRect& c = Add({500, 100, 520, 400});
    ASSERT_TRUE(AlignObjects(site, alBottoms));
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "位置揃え");
    site.SetAllSelected(false);
    ActionList().Undo();
    EXPECT_EQ(a.Rect(), (TRect{10, 10, 60, 60}));
    EXPECT_EQ(b.Rect(), (TRect{200, 300, 260, 330}));
    EXPECT_EQ(c.Rect(), (TRect{500, 100, 520, 400}));
    ActionList().Redo();
    EXPECT_EQ(a.Rect().Bottom, 400);
    EXPECT_EQ(b.Rect().Bottom, 400);
    EXPECT_EQ(c.Rect().Bottom, 400);
}

}  // namespace
}  // namespace orvella::test
