#pragma once
// The program's own device-independent bitmap: top-down rows padded to 32
// bits, 8-bit with a palette (a grey ramp unless set), 24-bit B,G,R or 32-bit
// B,G,R,X. New pixels are zero, as a fresh DIB section is. It can be looked at
// as a QImage over the same bytes, and it has a canvas of its own.

#include "graphics/pixel_surface.h"

#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TCanvas;

class TBitmap : public TPixelSurface {
public:
    TBitmap();
    TBitmap(int32_t width, int32_t height, TPixelFormat format = TPixelFormat::pf24bit);
    ~TBitmap() override;
    // A canvas points at its bitmap: copying or moving would leave it behind.
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    TPixelFormat PixelFormat() const override { return format_; }
    uint8_t* Row(int32_t y) override { return bits_.data() + std::size_t(y) * stride_; }
    const uint8_t* Row(int32_t y) const { return bits_.data() + std::size_t(y) * stride_; }
    const std::vector<TColor>& Palette() const override { return palette_; }

    uint8_t* ScanLine(int32_t y) { return Row(y); }
    int32_t Stride() const { return stride_; }
    uint8_t* Bits() { return bits_.data(); }
    std::size_t ByteCount() const { return bits_.size(); }

    // Reallocates (the pixels become zero). Sizes are checked before anything
    // is allocated; a negative or huge size raises std::length_error.
    void SetSize(int32_t width, int32_t height, TPixelFormat format);
    void SetPalette(const std::vector<TColor>& palette);

    TColor GetPixelColor(int32_t x, int32_t y) const;

    // A QImage over these bytes (no copy): Format_RGB32 for 32 bits,
    // Format_BGR888 for 24, Format_Indexed8 with the palette for 8. It stays
    // valid while the bitmap keeps its size.
    QImage AsImage();
    bool SaveToPng(const std::string& fileName);

    // The canvas that draws on this bitmap, made on first use.
    TCanvas& Canvas();

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    int32_t stride_ = 0;
    std::vector<uint8_t> bits_;
    std::vector<TColor> palette_;
    std::unique_ptr<TCanvas> canvas_;
};

// The grey ramp 0..255 that masks use.
std::vector<TColor> GrayPalette();

}  // namespace orvella
