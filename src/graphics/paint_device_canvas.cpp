#include "graphics/paint_device_canvas.h"

#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace orvella {

namespace {

bool isPrinter(const QPaintDevice& device)
{
    // Printers and PDF writers are paged devices.
    return device.devType() == QInternal::Printer || dynamic_cast<const QPagedPaintDevice*>(&device) != nullptr;
}

}  // namespace

TBandedSurface::TBandedSurface(int32_t width, int32_t height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      stride_(RowStride(width_, TPixelFormat::pf32bit)),
      bands_(std::size_t((height_ + kBandHeight - 1) / kBandHeight))
{
}

uint8_t* TBandedSurface::Row(int32_t y)
{
    auto& band = bands_[std::size_t(y / kBandHeight)];
    if (!band) {
        // White paper, the fourth byte as drawing leaves it.
        band = std::make_unique<std::vector<uint8_t>>(std::size_t(stride_) * kBandHeight, uint8_t(0xFF));
        for (std::size_t i = 3; i < band->size(); i += 4)
            (*band)[i] = 0;
    }
    return band->data() + std::size_t(y % kBandHeight) * stride_;
}

void TBandedSurface::PaintOnto(QPainter& painter)
{
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        if (!bands_[i])
            continue;
        const int32_t top = int32_t(i) * kBandHeight;
        const int32_t rows = std::min(kBandHeight, height_ - top);
        const QImage band(bands_[i]->data(), width_, rows, stride_, QImage::Format_RGB32);
        // Qt reads the fourth byte of RGB32 as opaque alpha in places; ours is 0.
        painter.drawImage(QPoint(0, top), band.convertToFormat(QImage::Format_RGB888));
    }
}

TPaintDeviceCanvas::TPaintDeviceCanvas(QPaintDevice& device)
    : TCanvas(nullptr),
      device_(device),
      resolution_(isPrinter(device) ? device.logicalDpiY() : 96),
      technology_(isPrinter(device) ? TDeviceTechnology::RasterPrinter : TDeviceTechnology::Display),
      surface_(device.width(), device.height())
{
    SelectSurface(&surface_);
    Font().SetPixelsPerInch(resolution_);
}

TPaintDeviceCanvas::~TPaintDeviceCanvas() { SelectSurface(nullptr); }

void TPaintDeviceCanvas::Flush()
{
    QPainter painter(&device_);
    Flush(painter);
}

void TPaintDeviceCanvas::Flush(QPainter& painter)
{
    painter.save();
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    surface_.PaintOnto(painter);
    painter.restore();
}

}  // namespace orvella
