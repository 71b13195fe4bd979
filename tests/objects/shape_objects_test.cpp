// Lines, arcs, rectangles, ellipses and decorative lines: their geometry,
// their painting against independent rasterisations, hit tests, and their
// stored forms through Free Pascal's runtime.

#include "drawing/designer.h"
#include "formats/component_stream.h"
#include "formats/property_table.h"
#include "frame/app_frame.h"
#include "frame/program_macros.h"
#include "frame/required_file.h"
#include "graphics/arc_geometry.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/lo_deco_line.h"
#include "objects/lo_line.h"
#include "objects/lo_rect.h"
#include "objects/object_classes.h"
#include "graphics/transform_test_util.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <QImage>

#include <limits>
#include <regex>

namespace orvella {
namespace {

void fillWhite(TBitmap& bitmap)
{
    bitmap.Canvas().Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    bitmap.Canvas().FillRect({0, 0, bitmap.Width(), bitmap.Height()});
}

int countPixels(const TBitmap& bitmap, TColor color)
{
    int count = 0;
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            count += bitmap.GetPixelColor(x, y) == color;
    return count;
}

// --- lines ---

struct AngleCase {
    TPoint start, end;
    int32_t angle;
};

class LineAngle : public ::testing::TestWithParam<AngleCase> {};

TEST_P(LineAngle, IsTheDirectionFromStartToEnd)
{
    TLOLine line;
    line.SetStartPoint(GetParam().start.x, GetParam().start.y);
    line.SetEndPoint(GetParam().end.x, GetParam().end.y);
    EXPECT_EQ(line.Angle(), GetParam().angle);
}

INSTANTIATE_TEST_SUITE_P(Table, LineAngle,
                         ::testing::Values(AngleCase{{0, 0}, {100, 0}, 0}, AngleCase{{0, 0}, {0, 100}, 90},
                                           AngleCase{{100, 0}, {0, 0}, 180}, AngleCase{{0, 0}, {0, -100}, -90},
                                           AngleCase{{0, 0}, {100, 100}, 45}, AngleCase{{0, 0}, {-100, 1}, 179},
                                           AngleCase{{5, 5}, {5, 5}, 0}));

TEST(Line, SettingTheAngleTurnsBothEndsAboutTheMiddle)
{
    TLOLine line;
    line.SetEndPoint(100, 0);
    EXPECT_EQ(line.RotationCentre(), (TPoint{50, 0}));
    line.SetAngle(90);
    EXPECT_EQ(line.StartPoint(), (TPoint{50, -50}));
    EXPECT_EQ(line.EndPoint(), (TPoint{50, 50}));
    EXPECT_EQ(line.Angle(), 90);
    // The centre of an odd span rounds up; of a negative one toward zero.
    line.SetStartPoint(-3, 0);
    line.SetEndPoint(0, 0);
    EXPECT_EQ(line.RotationCentre(), (TPoint{-1, 0}));
}

TEST(Line, BoundsReachHalfTheWidthBeyondEveryPoint)
{
    TLOLine line;
    line.SetEndPoint(100, 0);
    EXPECT_EQ(line.GetLogicalBounds(), (TRect{-5, -5, 105, 5}));
    line.SetLineWidth(40);
    EXPECT_EQ(line.GetLogicalBounds(), (TRect{-20, -20, 120, 20}));
    // A line of one point is still a round dot.
    line.SetEndPoint(0, 0);
    EXPECT_EQ(line.GetLogicalBounds(), (TRect{-20, -20, 20, 20}));
}

TEST(Line, ResizingKeepsTheStartAndMovesTheEnd)
{
    TLOLine line;
    line.SetStartPoint(10, 20);
    line.SetEndPoint(110, 70);
    line.SetExtent(210, 110);  // bounds include the pen
    EXPECT_EQ(line.StartPoint(), (TPoint{10, 20}));
    EXPECT_EQ(line.EndPoint(), (TPoint{210, 120}));
    TLOLine back;
    back.SetStartPoint(110, 70);
    back.SetEndPoint(10, 20);
    back.SetExtent(60, 60);
    EXPECT_EQ(back.StartPoint(), (TPoint{60, 70}));
    EXPECT_EQ(back.EndPoint(), (TPoint{10, 20}));
}

TEST(Line, ReportsEachRealChangeOnce)
{
    TLOLine line;
    int changes = 0;
    TListener listener([&](TPersistent*, const TGuid& kind) { changes += kind == ObjectChanged; });
    line.Notifier().Subscribe(listener);
    line.SetEndPoint(0, 0);
    line.SetLineWidth(10);
    EXPECT_EQ(changes, 0);
    line.SetEndPoint(10, 0);
    line.LineColor().SetColor(clRed);
    line.SetAngle(90);
    EXPECT_EQ(changes, 3);
}

struct HitCase {
    TPoint at;
    bool hits;
};

class LineHit : public ::testing::TestWithParam<HitCase> {};

// Off a site the pen grows by 3 units: a 10-wide line hits 6.5 off its axis.
TEST_P(LineHit, HitsWithinThePenAndTheTolerance)
{
    TLOLine line;
    line.SetEndPoint(100, 0);
    EXPECT_EQ(line.HitTest(GetParam().at), GetParam().hits);
}

INSTANTIATE_TEST_SUITE_P(Table, LineHit,
                         ::testing::Values(HitCase{{50, 0}, true}, HitCase{{50, 5}, true}, HitCase{{50, -6}, true},
                                           HitCase{{50, 7}, false}, HitCase{{50, -8}, false},
                                           HitCase{{105, 0}, true}, HitCase{{108, 0}, false},
                                           HitCase{{-6, -1}, true}, HitCase{{-9, 0}, false}));

TEST(Line, PaintsItsBandInTheLineColour)
{
    TBitmap bitmap(120, 40);
    fillWhite(bitmap);
    TLOLine line;
    line.SetStartPoint(10, 20);
    line.SetEndPoint(110, 20);
    line.SetLineWidth(10);
    line.LineColor().SetColor(clBlue);
    line.Paint(bitmap.Canvas());
    EXPECT_EQ(bitmap.GetPixelColor(60, 15), clBlue);
    EXPECT_EQ(bitmap.GetPixelColor(60, 24), clBlue);
    EXPECT_EQ(bitmap.GetPixelColor(60, 26), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(60, 13), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(113, 20), clBlue);  // the round cap
    EXPECT_EQ(bitmap.GetPixelColor(114, 15), clWhite);
    // The clip the band made is gone again.
    EXPECT_FALSE(bitmap.Canvas().ClipRegion().has_value());
}

TEST(Line, MaskCoversTheBandOnly)
{
    TBitmap mask(120, 40, TPixelFormat::pf8bit);
    mask.SetPalette(GrayPalette());
    TLOLine line;
    line.SetStartPoint(10, 20);
    line.SetEndPoint(110, 20);
    line.PaintMask(mask);
    EXPECT_EQ(mask.Row(20)[60], 255);
    EXPECT_EQ(mask.Row(2)[60], 0);
    EXPECT_EQ(mask.Row(20)[2], 0);
}

TEST(Line, ABlendedLineMixesOnlyWithinItsBand)
{
    TBitmap bitmap(120, 40);
    fillWhite(bitmap);
    TLOLine line;
    line.SetStartPoint(10, 20);
    line.SetEndPoint(110, 20);
    line.LineColor().SetColor(clBlack);
    line.SetBlendRatio(50);
    ASSERT_TRUE(line.NeedsBlend());
    line.PaintContent(bitmap.Canvas());
    const TColor mixed = bitmap.GetPixelColor(60, 20);
    EXPECT_NEAR(GetRValue(mixed), 128, 2);
    EXPECT_EQ(bitmap.GetPixelColor(60, 30), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(60, 10), clWhite);
}

// --- curves ---

struct CurveCase {
    int32_t chord;
    int32_t bulge;
    bool parabola;
};

// The parabola's 8 pieces meet at x = chord * k / 8 (from either end);
// an arc's 2-degree steps do not.
bool isParabola(const QPainterPath& path, int32_t chord)
{
    if (path.elementCount() != 9)
        return false;
    for (int k = 1; k < 8; ++k) {
        const double x = path.elementAt(k).x;
        const double forward = Round((long double)chord * k / 8);
        if (std::abs(x - forward) > 0.5 && std::abs(x - (chord - forward)) > 0.5)
            return false;
    }
    return true;
}

class CurveFigure : public ::testing::TestWithParam<CurveCase> {};

TEST_P(CurveFigure, IsAnArcOrAFlatParabola)
{
    const CurveCase& c = GetParam();
    TLOCurve curve;
    curve.SetEndPoint(c.chord, 0);
    curve.SetBulge(c.bulge);
    const QPainterPath path = curve.CentreLine();
    EXPECT_EQ(isParabola(path, c.chord), c.parabola);
    // The figure passes through the middle point, on the bulge's side.
    const TPoint middle = curve.GetMiddlePoint();
    EXPECT_EQ(middle, (TPoint{c.chord / 2, -c.bulge}));
    const QRectF box = path.boundingRect();
    if (c.bulge > 0)
        EXPECT_NEAR(box.top(), -c.bulge, 1.0);
    else
        EXPECT_NEAR(box.bottom(), -c.bulge, 1.0);
    EXPECT_NEAR(SignedSagitta(curve.StartPoint(), middle, curve.EndPoint()), c.bulge, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, CurveFigure,
                         ::testing::Values(CurveCase{1000, 15, true}, CurveCase{1000, 30, false},
                                           CurveCase{2000, 30, true}, CurveCase{1000, -30, false},
                                           CurveCase{1000, -15, true}, CurveCase{400, 200, false}));

TEST(Curve, TheArcOfThirtyOverAThousandHasTheRadiusOfItsChord)
{
    const TCircle circle = CircleThroughPoints({0, 0}, {500, -30}, {1000, 0});
    EXPECT_NEAR(double(circle.Radius), 4181.67, 1.0);
    const TCircle wide = CircleThroughPoints({0, 0}, {1000, -30}, {2000, 0});
    EXPECT_GT(double(wide.Radius), 7999);
}

TEST(Curve, TheMiddleHandleSetsTheSignedSagitta)
{
    TLOCurve curve;
    curve.SetEndPoint(1000, 0);
    curve.SetMiddlePoint({500, -120});
    EXPECT_NEAR(curve.Bulge(), 120, 1);
    curve.SetMiddlePoint({500, 80});
    EXPECT_NEAR(curve.Bulge(), -80, 1);
    curve.SetMiddlePoint({500, 0});
    EXPECT_EQ(curve.Bulge(), 0);
    // The curve offers its editing interface; a line does not.
    EXPECT_TRUE(Supports<IDOCurve>(&curve));
    TLOLine line;
    EXPECT_FALSE(Supports<IDOCurve>(&line));
    EXPECT_TRUE(Supports<IDOLine>(&line));
}

TEST(Curve, ItsDragOutlineIsTheArc)
{
    TLOCurve curve;
    curve.SetEndPoint(1000, 0);
    curve.SetBulge(-300);
    TCanvas recorder;
    recorder.BeginPath();
    curve.DrawOutline(recorder);
    recorder.EndPath();
    std::vector<TPoint> points;
    std::vector<uint8_t> types;
    recorder.GetPath(points, types);
    ASSERT_GT(points.size(), 9u);
    int32_t lowest = points[0].y;
    for (const TPoint& p : points)
        lowest = std::max(lowest, p.y);
    EXPECT_NEAR(lowest, 300, 1);
}

TEST(Curve, TurnsAboutTheCentreOfItsBounds)
{
    TLOCurve curve;
    curve.SetEndPoint(1000, 0);
    curve.SetBulge(200);
    const TRect bounds = curve.GetLogicalBounds();
    EXPECT_EQ(curve.RotationCentre(), (TPoint{(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2}));
    curve.SetAngle(180);
    EXPECT_EQ(curve.Angle(), 180);
    EXPECT_EQ(curve.Bulge(), 200);
    // Turned half round, the arc now bulges downward.
    EXPECT_GT(curve.GetMiddlePoint().y, curve.StartPoint().y);
}

TEST(Curve, ResizingScalesTheChordToTheBounds)
{
    TLOCurve curve;
    curve.SetEndPoint(1000, 0);
    curve.SetBulge(100);
    const TRect bounds = curve.GetLogicalBounds();
    curve.SetExtent(2 * (bounds.Right - bounds.Left), bounds.Bottom - bounds.Top);
    EXPECT_EQ(curve.StartPoint(), (TPoint{0, 0}));
    EXPECT_EQ(curve.EndPoint(), (TPoint{2000, 0}));
}

// --- rectangles and ellipses ---

TEST(Rect, RoundedCornersOfA300By120Rectangle)
{
    // s = 120 div 3 = 40, r = 20, h = round(40 * 0.5522847 / 2) = 11.
    TLORect rect;
    rect.SetBoundsRect({0, 0, 300, 120});
    rect.SetRoundRect(true);
    const TStroke& outline = rect.Outline();
    ASSERT_EQ(outline.Count(), 17);
    EXPECT_EQ(outline.Points(0), (TPoint{300, 20}));
    EXPECT_EQ(outline.Points(1), (TPoint{300, 9}));
    EXPECT_EQ(outline.Points(2), (TPoint{291, 0}));
    EXPECT_EQ(outline.Points(3), (TPoint{280, 0}));
    EXPECT_EQ(outline.Points(4), (TPoint{20, 0}));
    EXPECT_EQ(outline.Points(5), (TPoint{9, 0}));
    EXPECT_EQ(outline.Points(7), (TPoint{0, 20}));
    EXPECT_EQ(outline.Points(16), (TPoint{300, 20}));
    EXPECT_EQ(outline.Flags(16), STROKE_CLOSE);
}

TEST(Rect, OutlineTurnsAboutTheCentreAndIsRebuiltAfterChanges)
{
    TLORect rect;
    rect.SetBoundsRect({0, 0, 100, 50});
    EXPECT_EQ(rect.Outline().Points(1), (TPoint{100, 0}));
    rect.SetAngle(90);
    // Centre (50, 25): (100, 0) turns clockwise to (75, 75).
    EXPECT_EQ(rect.Outline().Points(1), (TPoint{75, 75}));
    rect.SetBoundsRect({0, 0, 100, 100});
    EXPECT_EQ(rect.Outline().Points(1), (TPoint{100, 100}));
}

TEST(Rect, BoundsHoldHalfTheFrameOutsideTheOutline)
{
    TLORect rect;
    rect.SetBoundsRect({100, 100, 300, 200});
    EXPECT_EQ(rect.GetLogicalBounds(), (TRect{95, 95, 305, 205}));
    rect.SetFrameWidth(0);
    EXPECT_EQ(rect.GetLogicalBounds(), (TRect{100, 100, 300, 200}));
    TLOCircle circle;
    circle.SetBoundsRect({0, 0, 200, 100});
    circle.SetFrameWidth(20);
    EXPECT_EQ(circle.GetLogicalBounds(), (TRect{-10, -10, 210, 110}));
}

TEST(Rect, ResizingLeavesRoomForTheFrame)
{
    TLORect rect;
    rect.SetBoundsRect({0, 0, 100, 50});
    rect.SetExtent(210, 110);
    EXPECT_EQ(rect.Rect(), (TRect{0, 0, 200, 100}));
    rect.SetAngle(90);
    const TRect bounds = rect.GetLogicalBounds();
    rect.SetExtent((bounds.Right - bounds.Left) / 2, bounds.Bottom - bounds.Top);
    EXPECT_EQ(rect.GetWidth(), 100);
    EXPECT_EQ(rect.GetHeight(), 100);
}

TEST(Rect, WithoutFrameOrFillPaintsNothingAndIsHitAnywhereInside)
{
    TBitmap bitmap(120, 120);
    fillWhite(bitmap);
    TLORect rect;
    rect.SetBoundsRect({10, 10, 110, 110});
    rect.SetFrameWidth(0);
    rect.FillColor().SetColor(clBlue);
    rect.Paint(bitmap.Canvas());
    EXPECT_EQ(countPixels(bitmap, clWhite), 120 * 120);
    EXPECT_TRUE(rect.HitTest({60, 60}));
    EXPECT_TRUE(rect.HitTest({10, 10}));
    EXPECT_FALSE(rect.HitTest({115, 60}));
}

TEST(Rect, AFrameAsWideAsTheRectanglePaintsOnlyTheFrameAndLeavesNoHole)
{
    TBitmap bitmap(120, 120);
    fillWhite(bitmap);
    TLORect rect;
    rect.SetBoundsRect({40, 40, 60, 80});
    rect.SetFrameWidth(30);
    rect.SetFillInside(true);
    rect.FrameColor().SetColor(clRed);
    rect.FillColor().SetColor(clBlue);
    rect.Paint(bitmap.Canvas());
    EXPECT_EQ(countPixels(bitmap, clBlue), 0);
    // The band from left - 15 to right + 15 is solid, across the middle too.
    for (int32_t x = 25; x < 75; ++x)
        EXPECT_EQ(bitmap.GetPixelColor(x, 60), clRed) << x;
    EXPECT_EQ(bitmap.GetPixelColor(24, 60), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(75, 60), clWhite);
}

struct RectHitCase {
    bool fillInside;
    TPoint at;
    bool hits;
};

class RectHit : public ::testing::TestWithParam<RectHitCase> {};

TEST_P(RectHit, HitsTheFrameAndTheInsideOnlyWhenFilled)
{
    TLORect rect;
    rect.SetBoundsRect({0, 0, 100, 100});
    rect.SetFillInside(GetParam().fillInside);
    EXPECT_EQ(rect.HitTest(GetParam().at), GetParam().hits);
    TLOCircle circle;
    circle.SetBoundsRect({0, 0, 100, 100});
    circle.SetFillInside(GetParam().fillInside);
    EXPECT_EQ(circle.HitTest(GetParam().at), GetParam().hits);
}

INSTANTIATE_TEST_SUITE_P(Table, RectHit,
                         ::testing::Values(RectHitCase{false, {50, 50}, false}, RectHitCase{true, {50, 50}, true},
                                           RectHitCase{false, {0, 50}, true}, RectHitCase{false, {-6, 50}, true},
                                           RectHitCase{false, {-9, 50}, false}, RectHitCase{true, {-9, 50}, false},
                                           RectHitCase{false, {50, 105}, true}, RectHitCase{true, {50, 108}, false}));

TEST(Rect, MaskCoversFrameAndFilledInside)
{
    TBitmap mask(120, 120, TPixelFormat::pf8bit);
    mask.SetPalette(GrayPalette());
    TLORect rect;
    rect.SetBoundsRect({10, 10, 110, 110});
    rect.PaintMask(mask);
    EXPECT_EQ(mask.Row(60)[10], 255);
    EXPECT_EQ(mask.Row(60)[60], 0);
    rect.SetFillInside(true);
    rect.PaintMask(mask);
    EXPECT_EQ(mask.Row(60)[60], 255);
    EXPECT_EQ(mask.Row(60)[118], 0);
}

TEST(Rect, TheFillCapabilityFollowsFillInside)
{
    TLORect rect;
    const TIntfRef<IDOOptionalColorSpec> fill = Supports<IDOOptionalColorSpec>(&rect);
    ASSERT_TRUE(fill);
    EXPECT_TRUE(fill->GetDisabled());
    fill->SetDisabled(false);
    EXPECT_TRUE(rect.FillInside());
    TColorSpec lime;
    lime.SetColor(clLime);
    fill->SetColorSpec(lime);
    EXPECT_EQ(rect.FillColor().Color(), clLime);
    const TIntfRef<IDOColorSpec> frame = Supports<IDOColorSpec>(&rect);
    ASSERT_TRUE(frame);
    TColorSpec red;
    red.SetColor(clRed);
    frame->SetColorSpec(red);
    EXPECT_EQ(rect.FrameColor().Color(), clRed);
    EXPECT_EQ(rect.FillColor().Color(), clLime);
}

// numpy decides every pixel by its centre against the figure computed on
// its own; pixels whose centre lies within a pixel of an edge may differ.
std::string numpyMaskScript(const std::string& inside, const std::string& nearEdge)
{
    return "H, W = 200, 200\n"
           "ys, xs = np.mgrid[0:H, 0:W].astype(np.float64) + 0.5\n"
           "def rnd(v): return np.sign(v) * np.floor(np.abs(v) + 0.5)\n"
           "def turn(px, py, cx, cy, a):\n"
           "    t = np.radians(a)\n"
           "    dx, dy = px - cx, py - cy\n"
           "    return cx + rnd(dx * np.cos(t) - dy * np.sin(t)), cy + rnd(dx * np.sin(t) + dy * np.cos(t))\n"
           "def poly_dist(pts):\n"
           "    inside = np.ones((H, W), bool); dist = np.full((H, W), 1e9)\n"
           "    for i in range(4):\n"
           "        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % 4]\n"
           "        ex, ey = x1 - x0, y1 - y0\n"
           "        cross = ex * (ys - y0) - ey * (xs - x0)\n"
           "        inside &= cross >= 0\n"
           "        L = np.hypot(ex, ey)\n"
           "        t = np.clip(((xs - x0) * ex + (ys - y0) * ey) / (L * L), 0, 1)\n"
           "        dist = np.minimum(dist, np.hypot(xs - (x0 + t * ex), ys - (y0 + t * ey)))\n"
           "    return inside, dist\n" +
           inside + nearEdge + "(np.where(near, 2, inside.astype(np.uint8))).astype(np.uint8).tofile(sys.argv[2])\n";
}

// Compares a painted 200 x 200 bitmap with numpy's verdicts (0 out, 1 in,
// 2 near an edge): every sure pixel must agree.
void expectAgreement(const TBitmap& painted, TColor colour, const std::string& script)
{
    const test::TempDir dir;
    test::WriteFile(dir.File("none"), "");
    ASSERT_TRUE(test::RunNumpy(script, dir.File("none"), dir.File("out.raw")));
    const std::string verdicts = test::ReadFile(dir.File("out.raw"));
    ASSERT_EQ(verdicts.size(), 200u * 200u);
    int disagreements = 0;
    int inside = 0;
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            const char verdict = verdicts[std::size_t(y) * 200 + std::size_t(x)];
            if (verdict == 2)
                continue;
            inside += verdict == 1;
            const bool ours = painted.GetPixelColor(x, y) == colour;
            if (ours != (verdict == 1) && ++disagreements <= 5)
                ADD_FAILURE() << "pixel " << x << ", " << y << " numpy says " << int(verdict);
        }
    EXPECT_EQ(disagreements, 0);
    EXPECT_GT(inside, 500);
}

TEST(RectPixels, TurnedFrameIsCentredOnTheEdgeAsNumpyDrawsIt)
{
    ORVELLA_REQUIRE_TOOL(test::HaveNumpy(), "python3 with numpy");
    TBitmap bitmap(200, 200);
    fillWhite(bitmap);
    TLORect rect;
    rect.SetBoundsRect({50, 60, 150, 130});
    rect.SetFrameWidth(12);
    rect.SetAngle(30);
    rect.FrameColor().SetColor(clRed);
    rect.Paint(bitmap.Canvas());
    // Centre (100, 95); the band runs from 6 outside to 6 inside the edge.
    const std::string script = numpyMaskScript(
        "cx, cy = 100, 95\n"
        "def corners(l, t, r, b): return [turn(x, y, cx, cy, 30) for x, y in ((l, t), (r, t), (r, b), (l, b))]\n"
        "outer, d1 = poly_dist(corners(44, 54, 156, 136))\n"
        "inner, d2 = poly_dist(corners(56, 66, 144, 124))\n"
        "inside = outer & ~inner\n",
        "near = (d1 < 1.0) | (d2 < 1.0)\n");
    expectAgreement(bitmap, clRed, script);
}

TEST(RectPixels, FilledEllipsesMatchNumpy)
{
    ORVELLA_REQUIRE_TOOL(test::HaveNumpy(), "python3 with numpy");
    for (const int32_t angle : {0, 25}) {
        TBitmap bitmap(200, 200);
        fillWhite(bitmap);
        TLOCircle circle;
        circle.SetBoundsRect({30, 40, 170, 140});
        circle.SetFrameWidth(0);
        circle.SetFillInside(true);
        circle.FillColor().SetColor(clBlue);
        circle.SetAngle(angle);
        circle.Paint(bitmap.Canvas());
        const std::string script = numpyMaskScript(
            "t = np.radians(" + std::to_string(angle) + ")\n"
            "dx, dy = xs - 100, ys - 90\n"
            "u, v = dx * np.cos(t) + dy * np.sin(t), -dx * np.sin(t) + dy * np.cos(t)\n"
            "rho = np.hypot(u / 70, v / 50)\n"
            "inside = rho <= 1\n",
            "near = np.abs(rho - 1) * 50 < 1.0\n");
        SCOPED_TRACE(angle);
        expectAgreement(bitmap, clBlue, script);
    }
}

// Values a damaged document may hold: the figures reach beyond the 32-bit
// range once widened or turned, and are cut there instead of failing.
TEST(Shapes, CoordinatesAtTheEndsOfTheRangeNeitherFailNorWrap)
{
    constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
    constexpr int32_t highest = std::numeric_limits<int32_t>::max();
    TBitmap bitmap(32, 32);
    TLORect rect;
    rect.SetBoundsRect({lowest, lowest, -1, -1});
    rect.SetFrameWidth(highest);
    rect.SetAngle(45);
    rect.SetRoundRect(true);
    EXPECT_NO_THROW(rect.GetLogicalBounds());
    EXPECT_NO_THROW(rect.HitTest({0, 0}));
    EXPECT_NO_THROW(rect.Paint(bitmap.Canvas()));
    rect.SetRoundRect(false);
    EXPECT_NO_THROW(rect.Paint(bitmap.Canvas()));
    TLOCurve curve;
    curve.SetStartPoint(lowest, highest);
    curve.SetEndPoint(highest, lowest);
    curve.SetBulge(-4000);
    EXPECT_NO_THROW(curve.GetLogicalBounds());
    EXPECT_NO_THROW(curve.SetAngle(90));
    EXPECT_NO_THROW(curve.Paint(bitmap.Canvas()));
    TLOLine line;
    line.SetEndPoint(highest, highest);
    line.SetLineWidth(highest);
    EXPECT_NO_THROW(line.SetExtent(highest, highest));
    EXPECT_NO_THROW(line.SetAngle(-45));
    const TRect bounds = line.GetLogicalBounds();
    EXPECT_LE(bounds.Left, bounds.Right);
}

// --- decorative lines ---

// A pattern of the given size, red in its top half and blue below, with a
// green first column marking where each copy starts.
std::string writePattern(const test::TempDir& dir, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x == 0 ? qRgb(0, 255, 0) : y < height / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    const std::string file = dir.File("pattern.png");
    EXPECT_TRUE(image.save(QString::fromStdString(file)));
    return file;
}

TEST(DecoLine, CopiesThatFitTheStripHeight)
{
    EXPECT_EQ(TLODecoLine::CopyCount(600, 60, 40, 20), 5);
    EXPECT_EQ(TLODecoLine::CopyCount(600, 60, 400, 20), 1);  // at least one
    EXPECT_EQ(TLODecoLine::CopyCount(600, 60, 0, 20), 1);
}

TEST(DecoLine, WidthBelowOneIsStoredAsOne)
{
    TLODecoLine line;
    line.SetLineWidth(0);
    EXPECT_EQ(line.LineWidth(), 1);
    line.SetLineWidth(-20);
    EXPECT_EQ(line.LineWidth(), 1);
}

TEST(DecoLine, APatternSizesANewLineForSixCopies)
{
    const test::TempDir dir;
    TLODecoLine line;
    line.ChoosePattern(writePattern(dir, 40, 20));
    EXPECT_EQ(line.Image().Width(), 40);
    EXPECT_EQ(line.StartPoint(), (TPoint{0, 0}));
    EXPECT_EQ(line.EndPoint(), (TPoint{6 * 56, 0}));  // 40 px at 180 per inch = 56 units
    EXPECT_EQ(line.LineWidth(), 28);
}

TEST(DecoLine, LaysFiveCopiesWithTheTopOnTheLeftOfTheDirection)
{
    const test::TempDir dir;
    TPictureEx pattern;
    pattern.LoadFromFile(writePattern(dir, 40, 20));
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        TLODecoLine line;
        line.SetImage(pattern);
        line.SetLineWidth(60);
        line.SetStartPoint(reversed ? 650 : 50, 100);
        line.SetEndPoint(reversed ? 50 : 650, 100);
        TBitmap bitmap(700, 200);
        fillWhite(bitmap);
        line.Paint(bitmap.Canvas());
        ASSERT_GT(line.Rendered().Width(), 0);
        // Going right, the left side is up the page: red above, blue below.
        const TColor above = reversed ? clBlue : clRed;
        const TColor below = reversed ? clRed : clBlue;
        EXPECT_EQ(bitmap.GetPixelColor(300, 80), above);
        EXPECT_EQ(bitmap.GetPixelColor(300, 120), below);
        // Nothing outside the band: its background stays see-through.
        EXPECT_EQ(bitmap.GetPixelColor(300, 60), clWhite);
        EXPECT_EQ(bitmap.GetPixelColor(300, 140), clWhite);
        int starts = 0;
        for (int32_t x = 40; x < 660; ++x)
            starts += bitmap.GetPixelColor(x, 100) == clLime && bitmap.GetPixelColor(x - 1, 100) != clLime;
        EXPECT_EQ(starts, 5);
    }
}

TEST(DecoLine, KeepsItsRenderingWhenMovedAndDropsItWhenReshaped)
{
    const test::TempDir dir;
    TLODecoLine line;
    line.ChoosePattern(writePattern(dir, 40, 20));
    TBitmap bitmap(400, 100);
    line.Paint(bitmap.Canvas());
    ASSERT_GT(line.Rendered().Width(), 0);
    line.MoveBy(10, 10);
    EXPECT_GT(line.Rendered().Width(), 0);
    line.SetEndPoint(100, 50);
    EXPECT_EQ(line.Rendered().Width(), 0);
}

TEST(DecoLine, ThePatternsTheBuildDrewAreFoundAndEachLaysALine)
{
    // The program folder is the build's, as the program finds it.
    const test::TempDir dir;
    TProgramPlaces places;
    places.ExeDir = ORVELLA_DATA_DIR "/";
    places.ExeNameNoExt = places.ExeDir + "orvella";
    places.AppDataDir = dir.File("") + "/";
    TAppFrame frame;
    frame.Macro.Assign(ProgramMacroLines());
    frame.Loaded(places);
    const std::filesystem::path folder = FindRequiredFile(kDecoLineFolder, "");
    EXPECT_EQ(folder, std::filesystem::path(ORVELLA_DATA_DIR) / "ILLUST" / "DecoLine");
    const std::vector<std::filesystem::path> files = DecoLinePatternFiles();
    ASSERT_GE(files.size(), 12u);
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.string());
        TLODecoLine line;
        line.ChoosePattern(file);
        ASSERT_FALSE(line.Image().Empty());
        EXPECT_GT(line.EndPoint().x, 0);
        TBitmap bitmap(line.GetLogicalBounds().Right + 10, line.LineWidth() + 10);
        fillWhite(bitmap);
        bitmap.Canvas().SetWindowOrg({-5, -5 - line.LineWidth() / 2});
        line.Paint(bitmap.Canvas());
        // Something of the pattern shows, and its see-through parts do not.
        EXPECT_LT(countPixels(bitmap, clWhite), bitmap.Width() * bitmap.Height());
        EXPECT_EQ(countPixels(bitmap, kDecoLineBackground), 0);
    }
}

// --- stored forms ---

class ShapeStream : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterObjectClasses(); }
};

// The property names of Free Pascal's text form, in order, top level only.
std::vector<std::string> propertyNames(const std::string& text)
{
    std::vector<std::string> names;
    static const std::regex line("^  ([A-Za-z.]+) = ");
    std::istringstream in(text);
    for (std::string row; std::getline(in, row);) {
        std::smatch match;
        if (std::regex_search(row, match, line))
            names.push_back(match[1]);
    }
    return names;
}

std::vector<std::string> withoutColourDetails(std::vector<std::string> names)
{
    std::vector<std::string> kept;
    std::string lastOwner;
    for (const std::string& name : names) {
        const std::size_t dot = name.find('.');
        const std::string owner = dot == std::string::npos ? name : name.substr(0, dot);
        if (dot != std::string::npos && owner == lastOwner)
            continue;
        kept.push_back(owner);
        lastOwner = owner;
    }
    return kept;
}

TEST_F(ShapeStream, FreePascalReadsEachShapeInItsPropertyOrder)
{
    ORVELLA_REQUIRE_ORACLES();
    TLOLine line;
    line.SetStartPoint(10, 20);
    line.SetEndPoint(300, -40);
    line.LineColor().SetColor(clRed);
    TLOCurve curve;
    curve.SetEndPoint(1000, 0);
    curve.SetBulge(-45);
    curve.LineColor().SetColor(clBlue);
    TLORect rect;
    rect.SetBoundsRect({10, 20, 110, 220});
    rect.SetAngle(15);
    rect.SetRoundRect(true);
    rect.FrameColor().SetColor(clBlue);
    rect.FillColor().SetColor(clLime);
    TLOCircle circle;
    circle.SetFillInside(true);
    circle.FillColor().SetColor(clRed);
    circle.FrameColor().SetColor(clLime);
    struct Case {
        TDrawObject* object;
        std::vector<std::string> tail;
    };
    const std::vector<std::string> lineTail{"StartX", "StartY", "EndX", "EndY", "LineColor", "LineWidth"};
    std::vector<std::string> curveTail = lineTail;
    curveTail.push_back("Bulge");
    // The rectangle's own four come first, in the places the drawing object keeps.
    const std::vector<std::string> rectTail{"FrameWidth", "FrameColor", "FillColor", "FillInside", "Angle",
                                            "RoundRect"};
    for (const Case& c : {Case{&line, lineTail}, Case{&curve, curveTail}, Case{&rect, rectTail},
                          Case{&circle, rectTail}}) {
        const std::string bytes = WriteComponent(*c.object);
        const std::string text = test::FpcToText(bytes);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.rfind("object " + c.object->ClassInfo().ClassName(), 0), 0u);
        std::vector<std::string> names = withoutColourDetails(propertyNames(text));
        if (dynamic_cast<TLORect*>(c.object)) {
            EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
                      (std::vector<std::string>{"Left", "Top", "Width", "Height"}));
        }
        ASSERT_GE(names.size(), c.tail.size());
        names.erase(names.begin(), names.end() - std::ptrdiff_t(c.tail.size()));
        EXPECT_EQ(names, c.tail);
        EXPECT_EQ(text.find("Round ="), std::string::npos);
        EXPECT_EQ(test::FpcToBinary(text), bytes);
    }
}

TEST_F(ShapeStream, ReadsWhatFreePascalWroteAndTheOlderRoundFlag)
{
    ORVELLA_REQUIRE_ORACLES();
    TLORect rect;
    ReadComponent(test::FpcToBinary("object TLORect\n  Left = 10\n  Top = 20\n  Width = 300\n  Height = 120\n"
                                    "  FrameWidth = 4\n  FrameColor.Color = 255\n  FillInside = True\n"
                                    "  Angle = 30\n  Round = True\nend\n"),
                  rect);
    EXPECT_EQ(rect.Rect(), (TRect{10, 20, 310, 140}));
    EXPECT_EQ(rect.FrameWidth(), 4);
    EXPECT_EQ(rect.FrameColor().Color(), clRed);
    EXPECT_TRUE(rect.FillInside());
    EXPECT_EQ(rect.Angle(), 30);
    EXPECT_TRUE(rect.RoundRect());

    TLOCurve curve;
    ReadComponent(test::FpcToBinary("object TLOCurve\n  StartX = 0\n  StartY = 0\n  EndX = 1000\n  EndY = 0\n"
                                    "  LineWidth = 25\n  Bulge = -80\nend\n"),
                  curve);
    EXPECT_EQ(curve.EndPoint(), (TPoint{1000, 0}));
    EXPECT_EQ(curve.LineWidth(), 25);
    EXPECT_EQ(curve.Bulge(), -80);
    EXPECT_EQ(curve.GetMiddlePoint(), (TPoint{500, 80}));

    TLODecoLine deco;
    ReadComponent(test::FpcToBinary("object TLODecoLine\n  EndX = 100\n  LineWidth = 0\nend\n"), deco);
    EXPECT_EQ(deco.LineWidth(), 1);
}

TEST_F(ShapeStream, ADecorativeLineCarriesItsPatternThroughFreePascal)
{
    ORVELLA_REQUIRE_ORACLES();
    const test::TempDir dir;
    TLODecoLine line;
    line.ChoosePattern(writePattern(dir, 40, 20));
    const std::string bytes = WriteComponent(line);
    const std::string text = test::FpcToText(bytes);
    EXPECT_NE(text.find("Image."), std::string::npos) << text;
    EXPECT_EQ(test::FpcToBinary(text), bytes);
    TLODecoLine read;
    ReadComponent(bytes, read);
    EXPECT_EQ(read.Image().Width(), 40);
    EXPECT_EQ(read.Image().Height(), 20);
    EXPECT_EQ(read.EndPoint(), line.EndPoint());
}

TEST_F(ShapeStream, TheCreationCommandsMakeTheShapes)
{
    struct Command {
        const char* name;
        const char* className;
    };
    for (const Command& c : {Command{"TLOLine", "TLOLine"}, Command{"直線", "TLOLine"}, Command{"円弧", "TLOCurve"},
                             Command{"四角", "TLORect"}, Command{"円", "TLOCircle"},
                             Command{"飾り罫線", "TLODecoLine"}, Command{"TLODecoLine", "TLODecoLine"}}) {
        const std::unique_ptr<TComponent> made = DesignerList().CreateInstance(c.name);
        ASSERT_TRUE(made) << c.name;
        EXPECT_EQ(made->ClassInfo().ClassName(), c.className) << c.name;
    }
}

TEST_F(ShapeStream, CopiesCarryEveryStoredValue)
{
    TLORect rect;
    rect.SetBoundsRect({1, 2, 30, 40});
    rect.SetFrameWidth(3);
    rect.SetAngle(-20);
    rect.SetRoundRect(true);
    rect.SetFillInside(true);
    rect.FillColor().SetColor(clLime);
    TLORect copy;
    copy.Assign(rect);
    EXPECT_EQ(WriteComponent(copy), WriteComponent(rect));
    TLOCurve curve;
    curve.SetEndPoint(400, 300);
    curve.SetBulge(-70);
    curve.SetLineWidth(12);
    TLOCurve curveCopy;
    curveCopy.Assign(curve);
    EXPECT_EQ(WriteComponent(curveCopy), WriteComponent(curve));
}

}  // namespace
}  // namespace orvella
