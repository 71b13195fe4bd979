#pragma once
// Picture objects: a filtered picture in the object rectangle, an optional
// decorative frame picture laid over it (or used as a vignette with
// AlphaFrame) and a turn by any angle about the rectangle's centre. The
// framed and turned picture is built once and kept, with its see-through
// mask, until something that shapes it changes.

#include "document/lo_rect_base.h"
#include "graphics/image_data.h"
#include "graphics/picture_ex.h"

#include <array>
#include <memory>

namespace orvella {

enum class TImageSource : uint8_t { isFile, isOnePoint, isTwain, isPlugin };

class TLOImage : public TLORectBase, public IDORotate {
    ORVELLA_PERSISTENT(TLOImage)

public:
    TLOImage();
    ~TLOImage() override;

    // --- stored properties ---
    TImageData& ImageData() { return imageData_; }
    const TImageData& ImageData() const { return imageData_; }
    void SetImageData(const TImageData& data) { imageData_.Assign(data); }
    TPictureEx& FramePicture() { return framePicture_; }
    const TPictureEx& FramePicture() const { return framePicture_; }
    void SetFramePicture(const TPictureEx& picture) { framePicture_.Assign(picture); }
    bool AlphaFrame() const { return alphaFrame_; }
    void SetAlphaFrame(bool alphaFrame);
    int32_t Angle() const { return angle_; }
    TImageSource ImageSource() const { return imageSource_; }
    void SetImageSource(TImageSource source) { imageSource_ = source; }

    // The object rectangle's corners turned about its centre.
    std::array<TPoint, 4> TurnedCorners() const;
    // Sizes the object to its filtered picture (see FitRectToPicture).
    void FitToPicture();
    // The framed, turned picture and its mask (white = see-through), built
    // when missing; both empty for an empty picture.
    const TBitmap& RenderedImage();
    const TBitmap& RenderedMask();
    bool HasRendering() const { return rendered_ != nullptr; }

    // --- operations in their slot order ---
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    bool KeepsAspect() const override { return true; }
    void SetBoundsRect(const TRect& rect) override;

    // --- capabilities ---
    int32_t GetAngle() const override { return angle_; }
    void SetAngle(int32_t degrees) override;

    // --- drawing object ---
    TRect GetLogicalBounds() const override;
    bool HitTest(TPoint logical) override;
    void Paint(TCanvas& canvas) override;
    bool NeedsBlend() override;
    void PaintMask(TBitmap& mask) override;
    void Assign(const TDrawObject& source) override;
    void Loaded() override;
    void* QueryInterface(const TGuid& iid) override;

private:
    void forgetRendering();
    void sourceChanged();
    void buildRendering();
    // Draws the rendering into the logical bounds; when it is shrunk, from a
    // copy resampled once to the device size and kept while that size holds.
    void paintRendering(TCanvas& canvas);

    TImageData imageData_;
    TPictureEx framePicture_;
    // Where older documents' picture property is read to.
    TPictureEx legacyPicture_;
    bool alphaFrame_ = false;
    int32_t angle_ = 0;
    TImageSource imageSource_ = TImageSource::isFile;
    bool legacyPictureRead_ = false;
    bool building_ = false;
    std::unique_ptr<TBitmap> rendered_;
    std::unique_ptr<TBitmap> renderedMask_;
    std::unique_ptr<TBitmap> scaled_;
    std::unique_ptr<TBitmap> scaledMask_;
    // Hears the image data; declared last so that it leaves it first.
    TListener imageListener_;
};

// The wizard's picture slot: the class every new picture object is made in.
class TLOWizardImage : public TLOImage, public IDOWizardInput {
    ORVELLA_PERSISTENT(TLOWizardImage)

public:
    bool WizInputEnable() const { return wizInputEnable_; }
    void SetWizInputEnable(bool enable) override { wizInputEnable_ = enable; }
    const std::string& WizInputCaption() const { return wizInputCaption_; }
    void SetWizInputCaption(const std::string& caption) override { wizInputCaption_ = caption; }
    bool GetWizInputEnable() const override { return wizInputEnable_; }
    std::string GetWizInputCaption() const override { return wizInputCaption_; }

    void Assign(const TDrawObject& source) override;
    void* QueryInterface(const TGuid& iid) override;

private:
    bool wizInputEnable_ = false;
    std::string wizInputCaption_;
};

// The rectangle a picture of pixels width x height gets: on a site, its
// logical size fitted into the square over current (the side being the
// larger of its width and height), centred there; off a site, the logical
// size at current's top-left.
TRect FitRectToPicture(const TRect& current, TSize pixels, bool onSite);

}  // namespace orvella
