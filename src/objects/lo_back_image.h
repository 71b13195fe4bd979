#pragma once
// Face backgrounds: a fill of the face's own outline (colour, gradient or a
// picture covering the face), an optional frame band running inside the
// outline, and an optional second fill blended in through a grey picture.
// The centre hole of a disc always stays white. Backgrounds are never
// picked with the mouse.
//
// TLOBackImage2004 is the form the background editor works on: its fill and
// frame pictures carry quarter turns and mirroring (TBackImagePicture),
// whose results already stand in the colour fills, so a document only ever
// keeps the plain TLOBackImage.

#include "document/lo_rect_base.h"
#include "graphics/color_fill.h"
#include "graphics/picture_ex.h"
#include "paper/face_info.h"

#include <functional>
#include <memory>

namespace orvella {

class TLOBackImage : public TLORectBase, public IDOFaceInfo {
    ORVELLA_PERSISTENT(TLOBackImage)

public:
    TLOBackImage();
    ~TLOBackImage() override;

    // --- stored properties ---
    // Strength of BlendColor in percent (not the object's opacity).
    int32_t BackBlendRatio() const { return blendRatio_; }
    TColorSpec& FillColor() { return fillColor_; }
    const TColorSpec& FillColor() const { return fillColor_; }
    void SetFillColor(const TColorSpec& color) { fillColor_.Assign(color); }
    TColorSpec& FrameColor() { return frameColor_; }
    const TColorSpec& FrameColor() const { return frameColor_; }
    void SetFrameColor(const TColorSpec& color) { frameColor_.Assign(color); }
    int32_t FrameWidth() const { return frameWidth_; }
    void SetFrameWidth(int32_t width);
    TColorSpec& BlendColor() { return blendColor_; }
    const TColorSpec& BlendColor() const { return blendColor_; }
    void SetBlendColor(const TColorSpec& color) { blendColor_.Assign(color); }
    TPictureEx& BlendPicture() { return blendPicture_; }
    const TPictureEx& BlendPicture() const { return blendPicture_; }
    void SetBlendPicture(const TPictureEx& picture) { blendPicture_.Assign(picture); }

    const TFaceInfo& FaceInfo() const { return faceInfo_; }

    // No frame, a solid white fill and no blend picture.
    bool IsPlain() const;
    void Reset();
    // The rectangle the fill covers: the object rectangle, or for a picture
    // fill that is not tiled, the picture's clip area grown (proportions
    // kept) to cover the object rectangle, centred on it.
    TRect FillArea() const;

    // --- operations in their slot order ---
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    void SetBoundsRect(const TRect& rect) override;

    // --- capabilities ---
    void SetFaceInfo(const TFaceInfo* face) override;
    const TFaceInfo* GetFaceInfo() const override { return &faceInfo_; }
    void SetBlendRatio(int32_t ratio) override;
    int32_t GetBlendRatio() const override { return blendRatio_; }

    // --- drawing object ---
    bool HitTest(TPoint) override { return false; }
    bool NeedsBlend() override { return false; }
    void Paint(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;
    void Loaded() override;
    void* QueryInterface(const TGuid& iid) override;

private:
    void changedAndRepaint();
    void paintBlended(TCanvas& canvas, const TRect& area);
    // A picture fill (and the blend over it) at the canvas's device size,
    // made once and copied on later paints and print bands; false when the
    // fill is cheap to paint or too large to keep.
    bool paintCachedFill(TCanvas& canvas, const TRect& area);
    void fillInto(TBitmap& target, const TRect& area);
    // Older documents' flags, read and ignored.
    bool ignoredFlag() const { return false; }
    void ignoreFlag(bool) {}
    int32_t ignoredNumber() const { return 0; }
    void ignoreNumber(int32_t) {}

    TColorSpec fillColor_;
    TColorSpec frameColor_;
    TColorSpec blendColor_;
    int32_t frameWidth_ = 0;
    TPictureEx blendPicture_;
    int32_t blendRatio_ = 100;
    TFaceInfo faceInfo_;
    // Where older documents' fill picture is read to.
    TPictureEx legacyImage_;
    std::unique_ptr<TBitmap> fillCache_;
};

enum class TRotateStyle : uint8_t { rsNone, rs90, rs180, rs270 };
enum class TPosArrange : uint8_t { paTile, paTileShift, paRandom };

// Quarter turns and mirroring of the picture of a colour fill. It keeps the
// picture as it was chosen and writes the transformed one into the fill,
// again whenever a setting or the chosen picture changes.
class TBackImagePicture : public TPersistent {
    ORVELLA_PERSISTENT(TBackImagePicture)

public:
    TBackImagePicture();
    ~TBackImagePicture() override;
    TBackImagePicture(const TBackImagePicture&) = delete;
    TBackImagePicture& operator=(const TBackImagePicture&) = delete;

    // Binds to a fill's picture: a picture put there from outside becomes
    // the untransformed picture. The handler the picture had is called after
    // this one's and is put back on Unbind.
    void Bind(TImageData& data);
    void Unbind();
    // While owner is being read from a stream, the stored fill picture is
    // already transformed: nothing is applied then.
    void SetOwner(const TComponent* owner) { owner_ = owner; }
    // After reading: the untransformed picture is recovered from the bound
    // one by undoing the turn and the mirroring.
    void RecoverUntransformed();

    TRotateStyle RotateImage() const { return rotateImage_; }
    void SetRotateImage(TRotateStyle style);
    bool ReverseVert() const { return reverseVert_; }
    void SetReverseVert(bool reverse);
    bool ReverseHorz() const { return reverseHorz_; }
    void SetReverseHorz(bool reverse);
    bool MultiImage() const { return multiImage_; }
    void SetMultiImage(bool multi) { multiImage_ = multi; }
    TPosArrange PosArrange() const { return posArrange_; }
    void SetPosArrange(TPosArrange arrange) { posArrange_ = arrange; }

    const TPictureEx& Untransformed() const { return untransformed_; }
    // Writes the transformed untransformed picture into the bound picture.
    void Apply();
    void Assign(const TBackImagePicture& source);

private:
    void boundPictureChanged();

    TRotateStyle rotateImage_ = TRotateStyle::rsNone;
    bool reverseVert_ = false;
    bool reverseHorz_ = false;
    bool multiImage_ = false;
    TPosArrange posArrange_ = TPosArrange::paTile;
    TPictureEx untransformed_;
    TImageData* bound_ = nullptr;
    const TComponent* owner_ = nullptr;
    std::function<void()> previousHandler_;
    bool writing_ = false;
};

class TLOBackImage2004 : public TLOBackImage {
    ORVELLA_PERSISTENT(TLOBackImage2004)

public:
    TLOBackImage2004();
    ~TLOBackImage2004() override;

    TBackImagePicture& FillBackImage() { return fillBackImage_; }
    const TBackImagePicture& FillBackImage() const { return fillBackImage_; }
    TBackImagePicture& FrameBackImage() { return frameBackImage_; }
    const TBackImagePicture& FrameBackImage() const { return frameBackImage_; }

    void Assign(const TDrawObject& source) override;
    void Loaded() override;

private:
    TBackImagePicture fillBackImage_;
    TBackImagePicture frameBackImage_;
};

// The plain background a TLOBackImage2004 becomes in a document; nullptr
// for any other object.
std::unique_ptr<TDrawObject> PlainBackgroundFor(const TDrawObject& object);

}  // namespace orvella
