#pragma once
// A canvas for any Qt paint device: a widget, a printer, a PDF writer. It
// draws into pixel bands in memory, where raster operations and exact pixel
// rules work as on a bitmap, and paints the bands it touched onto the device
// at Flush. A band starts white, like the paper. Widgets are drawn at 96
// pixels per inch; Qt's device pixel ratio takes care of dense screens.

#include "graphics/canvas.h"

#include <QImage>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;

namespace orvella {

// Rows of a page, made a band at a time on first use.
class TBandedSurface : public TPixelSurface {
public:
    TBandedSurface(int32_t width, int32_t height);
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    TPixelFormat PixelFormat() const override { return TPixelFormat::pf32bit; }
    uint8_t* Row(int32_t y) override;
    // Paints every band made so far at its place, pixel for pixel.
    void PaintOnto(QPainter& painter);

    static constexpr int32_t kBandHeight = 64;

private:
    int32_t width_;
    int32_t height_;
    int32_t stride_;
    std::vector<std::unique_ptr<std::vector<uint8_t>>> bands_;
};

class TPaintDeviceCanvas : public TCanvas {
public:
    explicit TPaintDeviceCanvas(QPaintDevice& device);
    ~TPaintDeviceCanvas() override;

    int32_t DeviceResolution() const override { return resolution_; }
    TDeviceTechnology Technology() const override { return technology_; }

    // Paints what was drawn onto the device with a painter of its own, or
    // through one already active on it.
    void Flush();
    void Flush(QPainter& painter);

private:
    QPaintDevice& device_;
    int32_t resolution_;
    TDeviceTechnology technology_;
    TBandedSurface surface_;
};

}  // namespace orvella
