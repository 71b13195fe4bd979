#pragma once
// Graphics that keep their file's bytes as their content and decode them
// for drawing: JPEG, PNG, GIF, icons and metafiles. Metafiles keep their
// bytes and play their records each time they are drawn.

#include "graphics/graphic.h"

namespace orvella {

// Keeps the encoded bytes and the decoded pixels (32-bit, fourth byte the
// opacity, or 24-bit).
class TEncodedImage : public TGraphic {
public:
    bool Empty() const override { return bytes_.empty(); }
    int32_t Width() const override { return pixels_.Width(); }
    int32_t Height() const override { return pixels_.Height(); }
    std::string SaveToBytes() const override { return bytes_; }
    void RenderTo24(TBitmap& target) const override;
    bool HasTransparentParts() const override { return hasAlpha_; }
    void RenderMask(TBitmap& mask) const override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;
    const std::string& Bytes() const { return bytes_; }
    const TBitmap& Pixels() const { return pixels_; }

protected:
    void Take(std::string_view bytes, TBitmap& decoded, bool hasAlpha);
    void CopyTo(TEncodedImage& other) const;

    std::string bytes_;
    TBitmap pixels_;
    bool hasAlpha_ = false;
};

class TSafetyJPEGImage : public TEncodedImage {
public:
    // storedName: "TSafetyJPEGImage" or "TJPEGImage", as the stored data had it.
    explicit TSafetyJPEGImage(std::string storedName = "TSafetyJPEGImage");
    std::string StoredClassName() const override { return storedName_; }
    std::unique_ptr<TGraphic> Clone() const override;
    // Checks the header first: "未対応のJPEG形式です" for what cannot be shown.
    void LoadFromBytes(std::string_view bytes) override;
    // 32-bit size (0 for an empty image), then the JPEG data.
    void ReadData(std::string_view data) override;
    void WriteData(std::string& out) const override;
    // Encodes the bitmap as this image's new content.
    void Assign(const TBitmap& bitmap, int quality = 90);

private:
    std::string storedName_;
};

class TPNGImage : public TEncodedImage {
public:
    std::string StoredClassName() const override { return "TPNGImage"; }
    std::unique_ptr<TGraphic> Clone() const override;
    void LoadFromBytes(std::string_view bytes) override;
};

class TGIFImage : public TEncodedImage {
public:
    std::string StoredClassName() const override { return "TGIFImage"; }
    std::unique_ptr<TGraphic> Clone() const override;
    void LoadFromBytes(std::string_view bytes) override;
};

class TIcon : public TEncodedImage {
public:
    std::string StoredClassName() const override { return "TIcon"; }
    std::unique_ptr<TGraphic> Clone() const override;
    // An icon file; the largest, deepest image of it is shown.
    void LoadFromBytes(std::string_view bytes) override;
};

class TMetafile : public TGraphic {
public:
    std::string StoredClassName() const override { return "TMetafile"; }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Empty() const override { return bytes_.empty(); }
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    // An enhanced metafile or a placeable Windows metafile; the size comes
    // from its header.
    void LoadFromBytes(std::string_view bytes) override;
    std::string SaveToBytes() const override { return bytes_; }
    // 32-bit size counting itself, then the metafile.
    void ReadData(std::string_view data) override;
    void WriteData(std::string& out) const override;
    // Plays the records on white at the picture's own size.
    void RenderTo24(TBitmap& target) const override;
    // Plays the records straight onto the canvas, stretched into rect;
    // what no record paints is left as it was.
    void Draw(TCanvas& canvas, const TRect& rect) const override;
    bool HasTransparentParts() const override { return !Empty(); }
    // White where no record paints.
    void RenderMask(TBitmap& mask) const override;
    bool Enhanced() const { return enhanced_; }

private:
    std::string bytes_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool enhanced_ = false;
};

}  // namespace orvella
