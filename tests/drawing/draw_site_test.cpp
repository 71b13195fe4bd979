#include "site_fixture.h"

#include "drawing/do_list.h"
#include "graphics/canvas_guards.h"

#include <cstring>

namespace orvella::test {
namespace {

using DrawSite = SiteTest;

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
    EXPECT_TRUE(failing.PaintFailed());

    // At 50 % an object of 254 units is 48 pixels; the window origin moved
    // everything by one pixel right and two down.
    EXPECT_EQ(bitmap.GetPixelColor(35, 45), clRed);
    EXPECT_EQ(bitmap.GetPixelColor(59, 46), clRed);  // the marker's frame
    EXPECT_EQ(bitmap.GetPixelColor(135, 45), clBlue);

    // From now on the marker is drawn without asking the object to paint.
    const int paints = failing.PaintCount;
    TBitmap again(400, 200);
    site.DrawTo(again.Canvas(), {0, 0}, 100);
    EXPECT_EQ(failing.PaintCount, paints);
    EXPECT_EQ(again.GetPixelColor(96, 50), clRed);
    EXPECT_EQ(failures, 1);
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
