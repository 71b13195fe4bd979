#include "graphics/bitmap.h"

#include "graphics/canvas.h"

#include <stdexcept>

namespace orvella {

namespace {

// Past this the bitmap is no label, band or page any printer could want.
constexpr int64_t kMaxBitmapBytes = int64_t(1) << 31;

}  // namespace

std::vector<TColor> GrayPalette()
{
    std::vector<TColor> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = RGB(uint8_t(i), uint8_t(i), uint8_t(i));
    return palette;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int32_t width, int32_t height, TPixelFormat format) { SetSize(width, height, format); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int32_t width, int32_t height, TPixelFormat format)
{
    if (width < 0 || height < 0)
        throw std::length_error("bitmap size is negative");
    const int32_t stride = RowStride(width, format);
    if (int64_t(stride) * height > kMaxBitmapBytes)
        throw std::length_error("bitmap is too large");
    std::vector<uint8_t> bits(std::size_t(stride) * std::size_t(height), 0);
    bits_.swap(bits);
    width_ = width;
    height_ = height;
    stride_ = stride;
    if (format == TPixelFormat::pf8bit && format_ != format)
        palette_ = GrayPalette();
    if (format != TPixelFormat::pf8bit)
        palette_.clear();
    format_ = format;
}

void TBitmap::SetPalette(const std::vector<TColor>& palette)
{
    palette_ = palette;
    if (palette_.size() > 256)
        palette_.resize(256);
}

TColor TBitmap::GetPixelColor(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return clNone;
    return PixelToColor(ReadPixel(Row(y), x, format_));
}

QImage TBitmap::AsImage()
{
    if (width_ == 0 || height_ == 0)
        return QImage();
    switch (format_) {
    case TPixelFormat::pf32bit:
        return QImage(bits_.data(), width_, height_, stride_, QImage::Format_RGB32);
    case TPixelFormat::pf24bit:
        return QImage(bits_.data(), width_, height_, stride_, QImage::Format_BGR888);
    case TPixelFormat::pf8bit: {
        QImage image(bits_.data(), width_, height_, stride_, QImage::Format_Indexed8);
        QList<QRgb> table;
        const auto palette = palette_.empty() ? GrayPalette() : palette_;
        for (TColor color : palette)
            table.append(qRgb(GetRValue(color), GetGValue(color), GetBValue(color)));
        while (table.size() < 256)
            table.append(qRgb(0, 0, 0));
        image.setColorTable(table);
        return image;
    }
    }
    return QImage();
}

bool TBitmap::SaveToPng(const std::string& fileName)
{
    return AsImage().save(QString::fromStdString(fileName), "PNG");
}

TCanvas& TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(this);
    return *canvas_;
}

}  // namespace orvella
