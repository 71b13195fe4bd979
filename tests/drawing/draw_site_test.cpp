#include "site_fixture.h"

#include "drawing/blend_paint.h"
#include "drawing/do_list.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"
#include "platform/win_math.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace orvella::test {
namespace {

using DrawSite = SiteTest;

// The first row where two bitmaps of one size differ, or -1.
int FirstDifferentRow(TBitmap& a, TBitmap& b)
{
    for (int32_t y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.Row(y), b.Row(y), std::size_t(a.Width()) * 3) != 0)
            return y;
    return -1;
}

TEST_F(DrawSite, LayerGroupsDecideWhereObjectsGo)
{
    TTestBox& a1 = Box({0, 0, 100, 100}, 1);
    TTestBox& a2 = Box({0, 0, 100, 100}, 1);
    TTestBox& b0 = Box({0, 0, 100, 100}, 0);
    EXPECT_EQ(Order(), (std::vector<TDrawObject*>{&b0, &a1, &a2}));
    TTestBox& c0 = Box({0, 0, 100, 100}, 0);
    TTestBox& d2 = Box({0, 0, 100, 100}, 2);
    EXPECT_EQ(Order(), (std::vector<TDrawObject*>{&b0, &c0, &a1, &a2, &d2}));

    site.SendToBack(a2);
    EXPECT_EQ(Order(), (std::vector<TDrawObject*>{&b0, &c0, &a2, &a1, &d2}));

    int changes = 0;
    b0.OnModify = [&](TDrawObject&) { ++changes; };
    site.BringToFront(b0);
    EXPECT_EQ(Order(), (std::vector<TDrawObject*>{&c0, &b0, &a2, &a1, &d2}));
    EXPECT_EQ(changes, 1);
    site.BringToFront(b0);  // already there: no change reported
    EXPECT_EQ(changes, 1);
}

TEST_F(DrawSite, DeviceBoundsFollowTheScaler)
{
    TTestBox& box = Box({254, 0, 508, 254});
    EXPECT_EQ(site.Width(), 378);
    EXPECT_EQ(site.Height(), 303);
    EXPECT_EQ(box.BoundsRect(), (TRect{96, 0, 193, 97}));

    int rescaled = 0;
    site.OnScalerChanged = [&](TDrawSite&) { ++rescaled; };
    site.Scaler().SetScale(200);
    EXPECT_EQ(rescaled, 1);
    EXPECT_EQ(site.Width(), 756);
    EXPECT_EQ(box.BoundsRect(), (TRect{192, 0, 385, 193}));
    EXPECT_EQ(site.LogicalClientRect(), (TRect{0, 0, 1000, 800}));
}

TEST_F(DrawSite, HitTestingFallsThroughTransparentParts)
{
    TTestBox& below = Box({0, 0, 500, 500});
    TTestBox& above = Box({100, 100, 400, 400});
    above.Hole = {200, 200, 300, 300};
    EXPECT_EQ(site.ObjectAt({150, 150}), &above);
    EXPECT_EQ(site.ObjectAt({250, 250}), &below);
    EXPECT_EQ(site.ObjectAt({600, 600}), nullptr);
    above.SetVisible(false);
    EXPECT_EQ(site.ObjectAt({150, 150}), &below);
    above.SetVisible(true);

    // A press in the hole reaches the object below.
    Click(site.LogicalToDevice({250, 250}));
    EXPECT_TRUE(below.Selected());
    EXPECT_FALSE(above.Selected());
}

struct ZoomCase {
    int32_t logSize;
    TRect rect;
    bool fitHeight;
    bool fitWidth;
    int32_t want;
};

class ZoomToFit : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomToFit, GivesTheZoomThatFits)
{
    const ZoomCase& c = GetParam();
    TDrawSite site;
    site.Scaler().SetUnitDPI(254);
    site.SetLogWidth(c.logSize);
    site.SetLogHeight(c.logSize);
    TCanvas screen;
    EXPECT_EQ(site.ZoomToFit(screen, c.rect, c.fitHeight, c.fitWidth), c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, ZoomToFit, ::testing::Values(
    ZoomCase{1200, {0, 0, 227, 400}, true, true, 50},
    ZoomCase{1200, {0, 0, 227, 400}, false, true, 50},
    ZoomCase{1200, {0, 0, 227, 400}, true, false, 88},
    ZoomCase{1200, {0, 0, 227, 400}, false, false, 100},
    ZoomCase{1200, {10, 10, 10, 10}, true, true, 1},   // an empty rectangle
    ZoomCase{0, {0, 0, 227, 400}, true, true, 1}));    // an empty surface

TEST_F(DrawSite, ModifiedFollowsObjectChanges)
{
    TTestBox& box = Box({0, 0, 100, 100});
    EXPECT_TRUE(site.Modified());
    site.SetModified(false);
    int modifyChanged = 0;
    site.OnModifyChanged = [&](TDrawSite&) { ++modifyChanged; };
    int objectModified = 0;
    box.OnModify = [&](TDrawObject&) { ++objectModified; };

    box.SetBorder(true);
    box.SetAppendix({"Key=Value"});
    EXPECT_TRUE(site.Modified());
    EXPECT_EQ(modifyChanged, 1);
    EXPECT_EQ(objectModified, 2);

    box.BeginUpdate();
    box.SetLayerGroup(3);
    box.SetBorder(false);
    box.EndUpdate();
    EXPECT_EQ(objectModified, 3);
}

TEST_F(DrawSite, ObjectNotificationsReachTheSitesListeners)
{
    TTestBox& box = Box({0, 0, 100, 100});
    std::vector<std::pair<TPersistent*, TGuid>> heard;
    TListener panel([&](TPersistent* sender, const TGuid& kind) { heard.emplace_back(sender, kind); });
    panel.Listen(site.Notifier());

    box.SetSelectable(false);
    box.SetSelected(true);  // refused, but still told
    EXPECT_FALSE(box.Selected());
    box.SetSelectable(true);
    box.SetSelected(true);
    box.SetMovable(false);
    std::vector<TGuid> kinds;
    for (const auto& [sender, kind] : heard) {
        EXPECT_EQ(sender, &box);
        kinds.push_back(kind);
    }
    EXPECT_EQ(kinds, (std::vector<TGuid>{ObjectChanged, SelectionChanged, ObjectChanged, SelectionChanged,
                                         MovableChanged}));

    heard.clear();
    std::unique_ptr<TDrawObject> removed = site.RemoveObject(box);
    ASSERT_NE(removed, nullptr);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], std::make_pair(static_cast<TPersistent*>(removed.get()), SelectionChanged));
    EXPECT_EQ(site.ObjectCount(), 0u);
}

// --- painting -------------------------------------------------------------------

class Painting : public SiteTest {
protected:
    Painting()
    {
        SetPaintFailureReporter([this](std::exception_ptr) { ++failures; });
    }
    ~Painting() override { SetPaintFailureReporter({}); }
    int failures = 0;
};

TEST_F(Painting, DrawToRestoresTheCanvasAfterAFailingObject)
{
    Box({0, 0, 254, 254}, 0, clRed);
    TTestBox& failing = Box({254, 0, 508, 254}, 0, clLime);
    failing.FailPaint = true;
    Box({508, 0, 762, 254}, 0, clBlue);
    int rescaled = 0;
    site.OnScalerChanged = [&](TDrawSite&) { ++rescaled; };
    std::vector<int> progress;
    site.OnDrawToProgress = [&](TDrawSite&, int index) { progress.push_back(index); };

    TBitmap bitmap(400, 200);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen() = TPen{0x123456, 3, TPenStyle::psDash, R2_COPYPEN};
    canvas.Brush() = TBrush{0x654321, TBrushStyle::bsCross};
    canvas.SetWindowOrg({-1, -2});
    canvas.IntersectClipRect({0, 0, 390, 190});
    const TPen pen = canvas.Pen();
    const TBrush brush = canvas.Brush();
    const TCoordMap mapping = canvas.Mapping();
    const auto clip = canvas.ClipRegion();

    site.DrawTo(canvas, {10, 20}, 50);

    EXPECT_EQ(canvas.Pen(), pen);
    EXPECT_EQ(canvas.Brush(), brush);
    EXPECT_EQ(canvas.Mapping(), mapping);
    EXPECT_EQ(canvas.ClipRegion(), clip);
    EXPECT_EQ(site.Scaler().Scale(), 100);
    EXPECT_EQ(rescaled, 0);
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(failing.PaintFailed()) << "a failure off screen does not mark the object on screen";

    // At 50 % an object of 254 units is 48 pixels; the window origin moved
    // everything by one pixel right and two down. The failing object keeps
    // what it drew before it failed; no marker goes to a copy.
    EXPECT_EQ(bitmap.GetPixelColor(35, 45), clRed);
    EXPECT_EQ(bitmap.GetPixelColor(59, 46), clLime);
    EXPECT_EQ(bitmap.GetPixelColor(135, 45), clBlue);

    // The next copy asks the object again.
    const int paints = failing.PaintCount;
    TBitmap again(400, 200);
    site.DrawTo(again.Canvas(), {0, 0}, 100);
    EXPECT_EQ(failing.PaintCount, paints + 1);
    EXPECT_EQ(again.GetPixelColor(96, 50), clLime);
    EXPECT_EQ(failures, 2);
}

TEST_F(Painting, TheScreensFailureMarkerStaysOffCopies)
{
    TTestBox& failing = Box({0, 0, 254, 254}, 0, clLime);
    failing.FailPaint = true;
    TBitmap screen(site.Width(), site.Height());
    site.PaintWindow(screen.Canvas(), {0, 0, site.Width(), site.Height()});
    ASSERT_TRUE(failing.PaintFailed());
    ASSERT_EQ(screen.GetPixelColor(48, 48), clRed);

    // Printing and previews get the object's own drawing.
    failing.FailPaint = false;
    TBitmap copy(site.Width(), site.Height());
    site.DrawTo(copy.Canvas(), {0, 0}, 100);
    for (const TPoint p : {TPoint{1, 50}, TPoint{48, 48}, TPoint{2, 2}})
        EXPECT_EQ(copy.GetPixelColor(p.x, p.y), clLime) << p.x << ',' << p.y;
    EXPECT_TRUE(failing.PaintFailed()) << "the screen keeps its marker";
}

TEST_F(Painting, ADragStepRedrawsOnlyTheOutlines)
{
    site.SetColor(clWhite);
    TTestBox& dragged = Box({0, 0, 254, 254}, 0, clRed);
    TTestBox& away = Box({600, 500, 900, 700}, 0, clBlue);
    // A window that keeps its screen and paints what the site invalidates.
    const TRect all{0, 0, site.Width(), site.Height()};
    TBitmap screen(site.Width(), site.Height());
    TRect pending;
    int shown = 0;
    site.Host.Invalidate = [&](const TRect& r) { pending = pending.IsEmpty() ? r : UnionRect(pending, r); };
    site.Host.Update = [&] {
        if (!pending.IsEmpty())
            site.PaintWindow(screen.Canvas(), std::exchange(pending, TRect{}));
    };
    site.Host.ScreenCanvas = [&]() -> TCanvas* { return &screen.Canvas(); };
    site.Host.ShowScreen = [&](const TRect&) { ++shown; };
    site.PaintWindow(screen.Canvas(), all);
    const int awayPaints = away.PaintCount;
    const auto sameAsAFreshPaint = [&] {
        TBitmap fresh(site.Width(), site.Height());
        site.PaintWindow(fresh.Canvas(), all);
        return FirstDifferentRow(screen, fresh);
    };

    Press(Centre(dragged));
    for (int step = 1; step <= 10; ++step)
        Move({48 + 5 * step, 48 + 3 * step});
    site.Host.Update();
    EXPECT_EQ(away.PaintCount, awayPaints) << "an object the outline never met was painted again";
    EXPECT_GE(shown, 10);
    EXPECT_EQ(sameAsAFreshPaint(), -1) << "the outline is where a fresh paint puts it, and only there";

    const int before = away.PaintCount;
    Release({98, 78});
    site.Host.Update();
    EXPECT_EQ(away.PaintCount, before);
    EXPECT_EQ(dragged.Box, (TRect{132, 79, 386, 333}));
    EXPECT_EQ(sameAsAFreshPaint(), -1) << "the outline is erased and the object shown where it went";
}

class TMappingSite : public TDrawSite {
public:
    std::vector<TPoint> Seen;

protected:
    void PaintAfter(TCanvas& canvas) override
    {
        Seen.push_back(canvas.LPtoDP(TPoint{254, 254}));
        TDrawSite::PaintAfter(canvas);
    }
};

TEST(PaintAfter, RunsInThePreparedMappingOnScreenAndInCopies)
{
    TMappingSite site;
    site.Scaler().SetUnitDPI(254);
    site.SetLogWidth(1000);
    site.SetLogHeight(800);
    TBitmap screen(site.Width(), site.Height());
    site.PaintWindow(screen.Canvas(), {0, 0, site.Width(), site.Height()});
    TBitmap copy(site.Width(), site.Height());
    site.DrawTo(copy.Canvas(), {0, 0}, 100);
    EXPECT_EQ(site.Seen, (std::vector<TPoint>{TPoint{96, 96}, TPoint{96, 96}}));
    EXPECT_EQ(screen.GetPixelColor(0, 100), clBlack) << "the border stays on the site's edge";
    EXPECT_EQ(screen.GetPixelColor(site.Width() - 1, 100), clBlack);
}

// Blending through a mask gives what the picture layer's ratio blender
// gives: a' = min(255, MulDiv(a, ratio, 100)), then d + trunc(a' (s - d) / 255).
TEST(BlendThroughMask, UsesThePictureLayersBlender)
{
    struct Pair {
        uint8_t source, dest;
    };
    const Pair pairs[] = {{101, 0}, {0, 255}, {200, 13}, {13, 200}, {255, 254}};
    for (const TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        const int bytes = format == TPixelFormat::pf24bit ? 3 : 4;
        for (const int32_t ratio : {0, 33, 50, 99, 100}) {
            TBitmap target(256, 5, format), image(256, 5, TPixelFormat::pf24bit), mask(256, 5, TPixelFormat::pf8bit);
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 256; ++x) {
                    std::memset(target.Row(y) + bytes * x, pairs[y].dest, 3);
                    std::memset(image.Row(y) + 3 * x, pairs[y].source, 3);
                    mask.Row(y)[x] = uint8_t(x);
                }
            BlendThroughMask(target, {0, 0, 256, 5}, {0, 0}, image, mask, ratio);
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 256; ++x) {
                    const int a = std::min(255, MulDiv(x, ratio, 100));
                    const int d = pairs[y].dest, want = d + a * (pairs[y].source - d) / 255;
                    ASSERT_EQ(target.Row(y)[bytes * x], want) << "mask " << x << " ratio " << ratio << " row " << y;
                }
        }
    }
}

TEST_F(Painting, AFailingObjectShowsTheMarkerOnScreenAndTheOthersPaint)
{
    site.SetColor(clWhite);
    TTestBox& failing = Box({0, 0, 254, 254}, 0, clLime);
    failing.FailPaint = true;
    Box({254, 0, 508, 254}, 0, clBlue);
    TBitmap screen(site.Width(), site.Height());
    site.PaintWindow(screen.Canvas(), {0, 0, site.Width(), site.Height()});
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(screen.GetPixelColor(40, 96), clRed);  // the marker's bottom edge
    EXPECT_EQ(screen.GetPixelColor(150, 40), clBlue);

    const int paints = failing.PaintCount;
    site.PaintWindow(screen.Canvas(), {0, 0, site.Width(), site.Height()});
    EXPECT_EQ(failing.PaintCount, paints);
    EXPECT_EQ(failures, 1);
    // The frame, and the diagonal cross of the hatch through the middle.
    EXPECT_EQ(screen.GetPixelColor(40, 96), clRed);
    EXPECT_EQ(screen.GetPixelColor(48, 48), clRed);
}

TEST_F(Painting, DoubleBufferingPaintsTheSamePixels)
{
    site.SetColor(clWhite);
    Box({0, 0, 400, 300}, 0, clBlue);
    TTestBox& blended = Box({200, 100, 700, 500}, 0, clRed);
    blended.Ratio = 50;
    blended.SetBorder(true);
    site.OnPaint = [](TDrawSite&, TCanvas& canvas) {
        canvas.MoveTo(0, 700);
        canvas.LineTo(1000, 0);
    };
    const TRect update{30, 20, 230, 170};

    TBitmap direct(site.Width(), site.Height());
    TBitmap buffered(site.Width(), site.Height());
    for (TBitmap* bitmap : {&direct, &buffered}) {
        bitmap->Canvas().Brush().Color = clLime;
        bitmap->Canvas().FillRect({0, 0, bitmap->Width(), bitmap->Height()});
    }
    site.PaintWindow(direct.Canvas(), update);
    site.SetDoubleBuffered(true);
    site.PaintWindow(buffered.Canvas(), update);

    for (int32_t y = 0; y < direct.Height(); ++y)
        ASSERT_EQ(std::memcmp(direct.Row(y), buffered.Row(y), std::size_t(direct.Width()) * 3), 0) << "row " << y;
    EXPECT_EQ(direct.GetPixelColor(10, 10), clLime);  // outside the update
    EXPECT_EQ(direct.GetPixelColor(60, 50), clBlue);
    // Half red over white.
    const TColor mixed = direct.GetPixelColor(200, 160);
    EXPECT_EQ(GetRValue(mixed), 255);
    EXPECT_NEAR(GetGValue(mixed), 128, 1);
    EXPECT_NEAR(GetBValue(mixed), 128, 1);
}

TEST_F(Painting, TheBorderIsDrawnLastAndPaintEventsSeeTheMapping)
{
    Box({0, 0, 1000, 800}, 0, clBlue);
    std::vector<TPoint> seen;
    site.OnPaintAfter = [&](TDrawSite&, TCanvas& canvas) { seen.push_back(canvas.LPtoDP(TPoint{254, 254})); };
    TBitmap screen(site.Width(), site.Height());
    site.PaintWindow(screen.Canvas(), {0, 0, site.Width(), site.Height()});
    EXPECT_EQ(seen, (std::vector<TPoint>{TPoint{96, 96}}));
    EXPECT_EQ(screen.GetPixelColor(0, 100), clBlack);
    EXPECT_EQ(screen.GetPixelColor(site.Width() - 1, 100), clBlack);
    EXPECT_EQ(screen.GetPixelColor(5, 100), clBlue);
}

}  // namespace
}  // namespace orvella::test
