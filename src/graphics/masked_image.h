#pragma once
// What a transparent bitmap needs for drawing: its mask (white where the
// pixel is the transparent colour) and a copy of the image whose
// transparent pixels are white. Both are rebuilt lazily after a change.

#include "graphics/bitmap.h"

namespace orvella {

class TMaskedImage {
public:
    // Any change of the bitmap makes both stale.
    void Invalidate()
    {
        maskStale_ = true;
        imageStale_ = true;
    }
    bool MaskStale() const { return maskStale_; }
    bool ImageStale() const { return imageStale_; }

    // A mask made elsewhere (the filter chain keys it on the colours before
    // its effects); it stays until the next Invalidate.
    void InstallMask(const TBitmap& mask);

    // Rebuilds what is stale for this bitmap and transparent colour.
    TBitmap& Mask(const TBitmap& bitmap, TColor transparentColor);
    TBitmap& Image(const TBitmap& bitmap, TColor transparentColor);

    void CopyFrom(const TMaskedImage& other);

private:
    bool maskStale_ = true;
    bool imageStale_ = true;
    bool installed_ = false;
    TBitmap mask_;
    TBitmap image_;
};

// The mask rule: for 8-bit bitmaps the palette index of the colour, when
// that entry is the colour exactly (else nothing is transparent); for 24
// and 32 bits the low 24 bits of each pixel. The mask is 24-bit, white
// where transparent, black elsewhere.
void BuildTransparencyMask(const TBitmap& bitmap, TColor transparentColor, TBitmap& mask);

}  // namespace orvella
