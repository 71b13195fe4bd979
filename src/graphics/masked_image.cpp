#include "graphics/masked_image.h"

#include "graphics/bitmap_copy.h"

#include <cstring>

namespace orvella {

void BuildTransparencyMask(const TBitmap& bitmap, TColor transparentColor, TBitmap& mask)
{
    mask.SetSize(bitmap.Width(), bitmap.Height(), TPixelFormat::pf24bit);
    const TPixelFormat format = bitmap.PixelFormat();
    uint32_t key = 0;
    bool any = true;
    if (format == TPixelFormat::pf8bit) {
        key = bitmap.NearestIndex(transparentColor);
        any = key < bitmap.Palette().size() && (bitmap.Palette()[key] & 0xFFFFFF) == (transparentColor & 0xFFFFFF);
    } else {
        key = bitmap.ColorToPixel(transparentColor) & 0xFFFFFF;
    }
    if (!any)
        return;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bitmap.Row(y);
        uint8_t* out = mask.Row(y);
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            uint32_t pixel = ReadPixel(row, x, format);
            if (format != TPixelFormat::pf8bit)
                pixel &= 0xFFFFFF;
            if (pixel == key)
                std::memset(out + 3 * x, 0xFF, 3);
        }
    }
}

void TMaskedImage::InstallMask(const TBitmap& mask)
{
    CopyBitmap(mask, mask_);
    maskStale_ = false;
    imageStale_ = true;
    installed_ = true;
}

TBitmap& TMaskedImage::Mask(const TBitmap& bitmap, TColor transparentColor)
{
    if (maskStale_ || (installed_ && (mask_.Width() != bitmap.Width() || mask_.Height() != bitmap.Height()))) {
        BuildTransparencyMask(bitmap, transparentColor, mask_);
        maskStale_ = false;
        installed_ = false;
    }
    return mask_;
}

TBitmap& TMaskedImage::Image(const TBitmap& bitmap, TColor transparentColor)
{
    if (imageStale_) {
        const TBitmap& mask = Mask(bitmap, transparentColor);
        image_.SetSize(bitmap.Width(), bitmap.Height(), TPixelFormat::pf24bit);
        for (int32_t y = 0; y < bitmap.Height(); ++y) {
            const uint8_t* m = mask.Row(y);
            uint8_t* out = image_.Row(y);
            for (int32_t x = 0; x < bitmap.Width(); ++x) {
                const TColor c = m[3 * x] ? clWhite : bitmap.GetPixelColor(x, y);
                out[3 * x] = GetBValue(c);
                out[3 * x + 1] = GetGValue(c);
                out[3 * x + 2] = GetRValue(c);
            }
        }
        imageStale_ = false;
    }
    return image_;
}

void TMaskedImage::CopyFrom(const TMaskedImage& other)
{
    CopyBitmap(other.mask_, mask_);
    CopyBitmap(other.image_, image_);
    maskStale_ = other.maskStale_;
    imageStale_ = other.imageStale_;
    installed_ = other.installed_;
}

}  // namespace orvella
