#pragma once
// A picture with its filter chain: clip, blur/sharpen, monotone and
// brightness/contrast, plus a transparent colour keyed on the source's own
// colours. The filtered result is cached and rebuilt after any change.

#include "formats/persistent.h"
#include "graphics/change_notify.h"
#include "graphics/image_filter.h"
#include "graphics/picture_ex.h"

namespace orvella {

// Sent by a filtered image besides ObjectChanged, when its picture changed
// and when the picture's size changed.
inline constexpr TGuid PictureChanged = MakeGuid("{8ACE3145-816D-4C84-9FB6-074EE8176F9F}");
inline constexpr TGuid PictureSizeChanged = MakeGuid("{A83B89E2-381D-4E95-8BAA-432EF6D0B8F3}");

class TImageData : public TPersistent {
    ORVELLA_PERSISTENT(TImageData)

public:
    TImageData();
    ~TImageData() override;

    TPictureEx& Picture() { return picture_; }
    const TPictureEx& Picture() const { return picture_; }
    TClipFilter& ClipFilter() { return clip_; }
    TBlurFilter& BlurFilter() { return blur_; }
    TLightFilter& LightFilter() { return light_; }
    TMonotoneFilter& MonotoneFilter() { return monotone_; }
    const TClipFilter& ClipFilter() const { return clip_; }
    const TBlurFilter& BlurFilter() const { return blur_; }
    const TLightFilter& LightFilter() const { return light_; }
    const TMonotoneFilter& MonotoneFilter() const { return monotone_; }

    // Setting a picture or a filter copies into the owned one.
    void SetPicture(const TPictureEx& picture) { picture_.Assign(picture); }
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor color);

    // The picture after the filters; empty for an empty source. Stays owned
    // by this object and valid until the next change.
    TPictureEx& GetFilteredPicture();
    // The source is a bitmap, PNG or JPEG and a transparent colour is set.
    bool HasTransparency() const;
    // The whole picture, or with a width, the largest centred rectangle of
    // the aspect width : height inside it.
    void ResetClip(int32_t width, int32_t height);
    void Clear() { picture_.Clear(); }
    void Assign(const TImageData& source);

    TChangeNotify& Notifier() { return notifier_; }

private:
    void pictureChanged();
    void filterChanged(const TPersistent* filter);

    TPictureEx picture_;
    TClipFilter clip_;
    TBlurFilter blur_;
    TLightFilter light_;
    TMonotoneFilter monotone_;
    TColor transparentColor_ = clNone;
    TPictureEx result_;
    TChangeNotify notifier_{this};
    int32_t lastWidth_ = 0;
    int32_t lastHeight_ = 0;
    // Hears the picture and the filters; declared last so that it leaves
    // them before they go.
    TListener listener_;
};

}  // namespace orvella
