#pragma once
// A fill seen through a grey picture used as its opacity: bright mask pixels
// let the fill show, dark ones hide it. The mask may be softened by a blur
// and turned by any angle; the prepared mask is kept until it changes.

#include "document/lo_rect_base.h"
#include "graphics/color_fill.h"
#include "graphics/picture_ex.h"

#include <array>
#include <memory>

namespace orvella {

class TLOAlphaMask : public TLORectBase, public IDORotate, public IDOColorSpec {
    ORVELLA_PERSISTENT(TLOAlphaMask)

public:
    TLOAlphaMask();
    ~TLOAlphaMask() override;

    // --- stored properties ---
    int32_t Angle() const { return angle_; }
    TColorSpec& FillColor() { return fillColor_; }
    const TColorSpec& FillColor() const { return fillColor_; }
    void SetFillColor(const TColorSpec& color) { fillColor_.Assign(color); }
    TPictureEx& Picture() { return picture_; }
    const TPictureEx& Picture() const { return picture_; }
    void SetPicture(const TPictureEx& picture) { picture_.Assign(picture); }
    // Blur radius of the mask's edges, in mask pixels; kept at 0 or above.
    int32_t ShadeSize() const { return shadeSize_; }
    void SetShadeSize(int32_t size);

    std::array<TPoint, 4> TurnedCorners() const;
    // Sizes the object to its mask picture; 300 x 200 off a site without one.
    void FitToPicture();
    // The prepared 8-bit mask (grown by ShadeSize, blurred, turned), built
    // when missing; empty for an empty picture.
    const TBitmap& PreparedMask();

    // --- operations in their slot order ---
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    void SetBoundsRect(const TRect& rect) override;

    // --- capabilities ---
    int32_t GetAngle() const override { return angle_; }
    void SetAngle(int32_t degrees) override;
    const TColorSpec& GetColorSpec() const override { return fillColor_; }
    void SetColorSpec(const TColorSpec& colorFill) override { SetFillColor(colorFill); }

    // --- drawing object ---
    TRect GetLogicalBounds() const override;
    bool HitTest(TPoint logical) override;
    void Paint(TCanvas& canvas) override;
    bool NeedsBlend() override;
    void PaintMask(TBitmap& mask) override;
    void Assign(const TDrawObject& source) override;
    void* QueryInterface(const TGuid& iid) override;

private:
    void changedAndRepaint(bool maskChanged);

    int32_t angle_ = 0;
    TColorSpec fillColor_;
    TPictureEx picture_;
    int32_t shadeSize_ = 0;
    std::unique_ptr<TBitmap> prepared_;
};

}  // namespace orvella
