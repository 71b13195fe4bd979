#include "graphics/scaler.h"

#include "graphics/bitmap.h"
#include "graphics/memory_canvas.h"
#include "graphics/recording_canvas.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

TScaler labelScaler(int32_t scale)
{
    TScaler scaler;
    scaler.SetUnitDPI(254);
    scaler.SetScale(scale);
    return scaler;
}

struct RectCase {
    int32_t scale;
    int32_t dpi;
    TRect logical;
    TRect device;
};

class LogicalRectToDevice : public ::testing::TestWithParam<RectCase> {};

TEST_P(LogicalRectToDevice, CoversEveryTouchedPixel)
{
    const RectCase& c = GetParam();
    TRecordingCanvas canvas(nullptr, c.dpi);
    EXPECT_EQ(labelScaler(c.scale).LogicalRectToDevice(canvas, c.logical), c.device);
}

INSTANTIATE_TEST_SUITE_P(Table, LogicalRectToDevice,
                         ::testing::Values(RectCase{100, 96, {0, 0, 1200, 1200}, {0, 0, 454, 454}},
                                           RectCase{25, 96, {0, 0, 1200, 1200}, {0, 0, 114, 114}},
                                           RectCase{100, 96, {1, 1, 2, 2}, {0, 0, 1, 1}},
                                           // A4 at 1200 dpi and 800 %: a x Bottom passes 32 bits.
                                           RectCase{800, 1200, {0, 0, 2100, 2970}, {0, 0, 79371, 112252}}));

TEST(Scaler, RoundsSmallLengthsToNearestPixel)
{
    TRecordingCanvas screen;
    const TScaler scaler = labelScaler(100);
    EXPECT_EQ(scaler.LogicalToDevice(screen, {1, 2}), (TPoint{0, 1}));
    EXPECT_EQ(scaler.DeviceToLogical(screen, {454, 1}), (TPoint{1201, 3}));
}

TEST(Scaler, ReportsOnlyRealChanges)
{
    TScaler scaler;
    int changes = 0;
    scaler.OnChange = [&changes] { ++changes; };
    scaler.SetScale(100);
    EXPECT_EQ(changes, 0);
    scaler.SetScale(200);
    scaler.SetUnitDPI(254);
    EXPECT_EQ(changes, 2);
    scaler.Assign(labelScaler(200));
    EXPECT_EQ(changes, 3);
}

TEST(PrepareCanvas, ReducesExtentsByTheirCommonDivisor)
{
    TRecordingCanvas printer(nullptr, 600, TDeviceTechnology::RasterPrinter);
    labelScaler(100).PrepareCanvas(printer);
    EXPECT_EQ(printer.MapMode(), MM_ANISOTROPIC);
    EXPECT_EQ(printer.WindowExt(), (TSize{127, 127}));
    EXPECT_EQ(printer.ViewportExt(), (TSize{300, 300}));
    EXPECT_TRUE(IsPrintingCanvas(printer));
}

TEST(PrepareCanvas, IsIdempotentAndKeepsTheOriginAcrossZoom)
{
    TRecordingCanvas canvas;
    canvas.SetWindowOrg({-37, -12});  // an object's device position
    labelScaler(100).PrepareCanvas(canvas);
    const TCoordMap once = canvas.Mapping();
    const TPoint origin = canvas.LPtoDP(TPoint{0, 0});
    EXPECT_EQ(origin, (TPoint{37, 12}));
    labelScaler(100).PrepareCanvas(canvas);
    EXPECT_EQ(canvas.Mapping(), once);
    labelScaler(400).PrepareCanvas(canvas);
    EXPECT_EQ(canvas.LPtoDP(TPoint{0, 0}), origin);
    EXPECT_EQ(canvas.LPtoDP(TPoint{254, 254}), (TPoint{37 + 384, 12 + 384}));
}

TEST(PrepareCanvas, SizesFontsInLogicalUnits)
{
    TRecordingCanvas canvas;
    canvas.Font().SetSize(10);
    labelScaler(100).PrepareCanvas(canvas);
    EXPECT_EQ(canvas.Font().PixelsPerInch, 254);
    EXPECT_EQ(canvas.Font().Height, -35);
    EXPECT_EQ(canvas.Font().Size(), 10);
}

class BandCanvas : public TMemoryCanvas {
public:
    TBitmap band{16, 16, TPixelFormat::pf24bit};
    ~BandCanvas() override { FreeHandle(); }

protected:
    TBitmap* GetBitmapHandle() override { return &band; }
};

TEST(CanvasPixelsPerInch, MemoryCanvasOverrideWinsOverItsReference)
{
    TRecordingCanvas printer(nullptr, 600, TDeviceTechnology::RasterPrinter);
    BandCanvas band;
    EXPECT_EQ(CanvasPixelsPerInch(band), 96);
    band.SetReferenceDC(&printer);
    EXPECT_EQ(CanvasPixelsPerInch(band), 600);
    EXPECT_TRUE(IsPrintingCanvas(band));
    band.SetPixelsPerInch(300);
    EXPECT_EQ(CanvasPixelsPerInch(band), 300);
}

TEST(MemoryCanvas, SelectsItsBitmapOnFirstDrawingAndLetsGoWhenFreed)
{
    TRecordingCanvas printer(nullptr, 600, TDeviceTechnology::RasterPrinter);
    BandCanvas band;
    band.SetReferenceDC(&printer);
    EXPECT_FALSE(band.HandleAllocated());
    band.Brush().Color = clRed;
    band.FillRect({0, 0, 4, 4});
    EXPECT_TRUE(band.HandleAllocated());
    EXPECT_EQ(band.band.GetPixelColor(3, 3), clRed);
    EXPECT_EQ(band.Font().PixelsPerInch, 600);
    band.SetReferenceDC(nullptr);
    EXPECT_FALSE(band.HandleAllocated());
}

}  // namespace
}  // namespace orvella
