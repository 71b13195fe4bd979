#pragma once
// The program's bitmap graphic: a TBitmap with an optional transparent
// colour, drawn through its masked image. It loads BMP files, clipboard
// DIBs and compressed bitmaps ("ZLIBCompress" containers holding a BMP).

#include "graphics/bitmap_copy.h"
#include "graphics/graphic.h"
#include "graphics/masked_image.h"

namespace orvella {

class TSafetyBitmap : public TGraphic {
public:
    // storedName: the bitmap class name stored data used ("TBitmap",
    // "TSafetyBitmap", ...), written back unchanged.
    explicit TSafetyBitmap(std::string storedName = "TSafetyBitmap");

    std::string StoredClassName() const override { return storedName_; }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Empty() const override { return bitmap_.Width() == 0 || bitmap_.Height() == 0; }
    int32_t Width() const override { return bitmap_.Width(); }
    int32_t Height() const override { return bitmap_.Height(); }

    // A BMP file or a "ZLIBCompress" container holding one.
    void LoadFromBytes(std::string_view bytes) override;
    std::string SaveToBytes() const override;
    // 32-bit size, then the BMP file.
    void ReadData(std::string_view data) override;
    void WriteData(std::string& out) const override;
    // A clipboard DIB: a BMP file without its 14-byte file header.
    void LoadFromDib(std::string_view dib);

    void RenderTo24(TBitmap& target) const override;
    bool HasTransparentParts() const override { return transparent_; }
    void RenderMask(TBitmap& mask) const override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;

    const TBitmap& Bitmap() const { return bitmap_; }
    // For changing the pixels: forgets the original bytes and makes the
    // mask stale. Call Modified() after writing to the pixels.
    TBitmap& MutableBitmap();
    void Modified();
    // Replaces the pixels by a copy of image.
    void Assign(const TBitmap& image);
    // Takes over pixels, transparency and masked image of another one.
    void Assign(const TSafetyBitmap& other);

    bool Transparent() const { return transparent_; }
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparent(bool transparent, TColor color);
    // A mask made from other colours than the current pixels'.
    void InstallMask(const TBitmap& mask);
    const TMaskedImage& MaskedImage() const { return masked_; }

private:
    std::string storedName_;
    TBitmap bitmap_;
    bool transparent_ = false;
    TColor transparentColor_ = clNone;
    mutable TMaskedImage masked_;
    // The BMP file the pixels came from (out of its container when they came
    // compressed), while they are unchanged.
    std::string original_;
};

}  // namespace orvella
