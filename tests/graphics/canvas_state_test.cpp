// Saved states, scope guards, mappings carried between canvases, bitmap views
// and the recording canvas.

#include "graphics/bitmap_for_rect.h"
#include "graphics/bitmap_related_dc.h"
#include "graphics/canvas_guards.h"
#include "graphics/coord_map.h"
#include "graphics/recording_canvas.h"
#include "graphics/rect_utils.h"
#include "graphics/scaler.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvella {
namespace {

void changeEverything(TCanvas& canvas)
{
    canvas.Pen() = {clRed, 7, TPenStyle::psDot, R2_XORPEN};
    canvas.Brush() = {clBlue, TBrushStyle::bsCross};
    canvas.Font().Name = "IPAGothic";
    canvas.Font().SetPixelsPerInch(600);
    canvas.SetCopyMode(SRCAND);
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({127, 127});
    canvas.SetViewportExt({300, 300});
    canvas.SetViewportOrg({5, 6});
    canvas.IntersectClipRect({0, 0, 10, 10});
}

TEST(CanvasSaver, RestoresToolsAndDeviceStateWhenAnExceptionPasses)
{
    TBitmap bitmap(20, 20);
    TCanvas& canvas = bitmap.Canvas();
    canvas.IntersectClipRect({1, 1, 15, 15});
    const TPen pen = canvas.Pen();
    const TBrush brush = canvas.Brush();
    const TFont font = canvas.Font();
    const TCoordMap mapping = canvas.Mapping();
    const auto clip = canvas.ClipRegion();
    EXPECT_THROW(
        {
            auto saved = SaveCanvasState(canvas, true);
            changeEverything(canvas);
            throw std::runtime_error("painting failed");
        },
        std::runtime_error);
    EXPECT_EQ(canvas.Pen(), pen);
    EXPECT_EQ(canvas.Brush(), brush);
    EXPECT_EQ(canvas.Font(), font);
    EXPECT_EQ(canvas.CopyMode(), SRCCOPY);
    EXPECT_EQ(canvas.Mapping(), mapping);
    EXPECT_EQ(canvas.ClipRegion(), clip);
}

TEST(CanvasSaver, WithoutDeviceStateKeepsOnlyTheTools)
{
    TRecordingCanvas canvas;
    {
        auto saved = SaveCanvasState(canvas);
        changeEverything(canvas);
    }
    EXPECT_EQ(canvas.Pen(), TPen{});
    EXPECT_EQ(canvas.Font().PixelsPerInch, 96);
    EXPECT_EQ(canvas.ViewportOrg(), (TPoint{5, 6}));
}

TEST(ClipSaver, PutsBackTheRegionOrNoneAtAll)
{
    TRecordingCanvas canvas;
    try {
        auto saved = SaveClip(canvas);
        canvas.IntersectClipRect({0, 0, 4, 4});
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(canvas.ClipRegion().has_value());
    canvas.IntersectClipRect({0, 0, 8, 8});
    {
        auto saved = SaveClip(canvas);
        auto shared = saved;  // the last reference restores
        canvas.SelectClipRgn(std::nullopt);
    }
    EXPECT_EQ(canvas.ClipRegion(), QRegion(0, 0, 8, 8));
}

TEST(BitmapCanvasProtector, SuspendsReclaimingWhileAnyLives)
{
    EXPECT_FALSE(BitmapCanvasReclaimSuspended());
    {
        auto outer = ProtectBitmapCanvases();
        {
            auto inner = ProtectBitmapCanvases();
            EXPECT_TRUE(BitmapCanvasReclaimSuspended());
        }
        EXPECT_TRUE(BitmapCanvasReclaimSuspended());
    }
    EXPECT_FALSE(BitmapCanvasReclaimSuspended());
}

TEST(SaveDC, RestoresByLevelOrRelative)
{
    TRecordingCanvas canvas;
    const int first = canvas.SaveDC();
    canvas.Pen().Color = clRed;
    canvas.SaveDC();
    canvas.Pen().Color = clBlue;
    EXPECT_TRUE(canvas.RestoreDC(-1));
    EXPECT_EQ(canvas.Pen().Color, clRed);
    EXPECT_TRUE(canvas.RestoreDC(first));
    EXPECT_EQ(canvas.Pen().Color, clBlack);
    EXPECT_FALSE(canvas.RestoreDC(1));
}

TEST(CoordMap, AppliedMappingMapsLikeTheOriginal)
{
    TRecordingCanvas source;
    source.SetMapMode(MM_ANISOTROPIC);
    source.SetWindowExt({127, 127});
    source.SetViewportExt({300, 300});
    source.SetWindowOrg({1000, -500});
    source.SetViewportOrg({40, 20});
    TCoordMap map;
    map.Capture(source);
    TRecordingCanvas target;
    map.ApplyTo(target);
    EXPECT_EQ(target.WindowOrg(), (TPoint{0, 0}));
    for (const TPoint p : {TPoint{1000, -500}, TPoint{0, 0}, TPoint{1254, 127}})
        EXPECT_EQ(target.LPtoDP(p), source.LPtoDP(p));
    TCoordMap::ResetMapping(target);
    EXPECT_EQ(target.LPtoDP(TPoint{7, 8}), (TPoint{7, 8}));
}

TEST(BitmapRelatedDC, ViewsTheBitmapAndRefusesAnother)
{
    TBitmap bitmap(4, 4);
    TCanvas& canvas = bitmap.Canvas();
    EXPECT_TRUE(DCHasDIBSection(canvas));
    {
        TBitmapRelatedDC view(canvas);
        ASSERT_TRUE(view.IsValid());
        EXPECT_EQ(&view.Bitmap(), &bitmap);
        EXPECT_FALSE(DCHasDIBSection(canvas));  // the placeholder is selected
        canvas.Brush().Color = clRed;
        canvas.FillRect({0, 0, 4, 4});  // goes nowhere meanwhile
        TBitmap other(1, 1);
        try {
            view.SetHandle(&other);
            FAIL();
        } catch (const EDCRelatedBitmap& error) {
            EXPECT_STREQ(error.what(), "TDCRelatedBitmap cannot change");
        }
    }
    EXPECT_EQ(canvas.CurrentSurface(), &bitmap);
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), clBlack);
    TRecordingCanvas noBitmap;
    EXPECT_FALSE(TBitmapRelatedDC(noBitmap).IsValid());
}

TEST(CreateBitmapForRect, CoversTheVisiblePartAndMapsTheSameLogicalPoints)
{
    TBitmap screen(200, 100, TPixelFormat::pf24bit);
    TCanvas& canvas = screen.Canvas();
    canvas.Brush().Color = clRed;
    canvas.FillRect({0, 0, 200, 100});
    TScaler scaler;
    scaler.SetUnitDPI(254);
    scaler.PrepareCanvas(canvas);
    canvas.IntersectClipRect({0, 0, 254, 254});  // 96 x 96 pixels
    auto bitmap = CreateBitmapForRect(canvas, {100, 100, 1000, 1000}, TPixelFormat::pf24bit, 5, true);
    EXPECT_EQ(bitmap->Width(), RectWidth(canvas.LPtoDP(TRect{100, 100, 259, 259})));
    EXPECT_EQ(bitmap->GetPixelColor(0, 0), clRed);
    EXPECT_EQ(bitmap->Canvas().LPtoDP(TPoint{100, 100}), (TPoint{0, 0}));
    EXPECT_EQ(bitmap->Canvas().LPtoDP(TPoint{254, 254}), (TPoint{canvas.LPtoDP(TPoint{254, 254}).x - 38, 58}));
    EXPECT_EQ(bitmap->Canvas().Font().PixelsPerInch, 254);
    EXPECT_EQ(canvas.MapMode(), MM_ANISOTROPIC);  // the canvas got its mapping back
}

TEST(RecordingCanvas, WritesDownCallsWithTheirTools)
{
    TRecordingCanvas canvas;
    canvas.Pen().Color = clRed;
    canvas.Rectangle(1, 1, 6, 5);
    canvas.MoveTo(0, 0);
    canvas.LineTo(3, 4);
    TRecordingCanvas other;
    canvas.BitBlt(0, 0, 2, 2, other, 1, 1, SRCCOPY);
    EXPECT_EQ(canvas.CallTexts(),
              (std::vector<std::string>{"Rectangle(1,1,6,5)", "MoveTo(0,0)", "LineTo(3,4)", "BitBlt(0,0,2,2,1,1,00CC0020)"}));
    EXPECT_EQ(canvas.Calls()[0].Pen.Color, clRed);
}

}  // namespace
}  // namespace orvella
