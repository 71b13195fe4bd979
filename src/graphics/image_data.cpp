#include "formats/property_table.h"

#include "graphics/image_data.h"

#include "graphics/encoded_images.h"
#include "graphics/masked_image.h"
#include "graphics/rect_utils.h"
#include "graphics/safety_bitmap.h"

namespace orvella {

const TClassInfo& TImageData::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TImageData, TPersistent>("TImageData", {
        ObjectProperty("Picture", &TImageData::picture_),
        ObjectProperty("ClipFilter", &TImageData::clip_),
        ObjectProperty("BlurFilter", &TImageData::blur_),
        ObjectProperty("LightFilter", &TImageData::light_),
        ObjectProperty("MonotoneFilter", &TImageData::monotone_),
        IntegerProperty("TransparentColor", &TImageData::TransparentColor, &TImageData::SetTransparentColor)
            .Idents(ColorIdents())
            .Default(clNone),
    });
    return info;
}

TImageData::TImageData()
{
    listener_.SetHandler([this](TPersistent* sender, const TGuid& kind) {
        if (kind != ObjectChanged)
            return;
        if (sender == &picture_)
            pictureChanged();
        else
            filterChanged(sender);
    });
    picture_.Notifier().Subscribe(listener_);
    for (TImageFilter* filter : std::initializer_list<TImageFilter*>{&clip_, &blur_, &light_, &monotone_})
        filter->Notifier().Subscribe(listener_);
}

TImageData::~TImageData() = default;

void TImageData::SetTransparentColor(TColor color)
{
    if (color == transparentColor_)
        return;
    transparentColor_ = color;
    result_.Clear();
    notifier_.Changed();
}

bool TImageData::HasTransparency() const
{
    const TGraphic* graphic = picture_.Graphic();
    return transparentColor_ != clNone &&
           (dynamic_cast<const TSafetyBitmap*>(graphic) || dynamic_cast<const TPNGImage*>(graphic) ||
            dynamic_cast<const TSafetyJPEGImage*>(graphic));
}

void TImageData::ResetClip(int32_t width, int32_t height)
{
    const TRect whole{0, 0, picture_.Width(), picture_.Height()};
    TRect rect = whole;
    // Centred the way the coordinate layer centres (W div 2 - w div 2), so
    // that odd sizes land where every other fitting puts them.
    if (width != 0 && height != 0 && !picture_.Empty())
        rect = FitRect({0, 0, width, height}, whole);
    clip_.SetClipRect(rect);
}

void TImageData::pictureChanged()
{
    TUpdateBracket bracket(notifier_);
    const int32_t width = picture_.Width(), height = picture_.Height();
    if (width != lastWidth_ && height != lastHeight_) {
        lastWidth_ = width;
        lastHeight_ = height;
        ResetClip(0, 0);
        notifier_.Broadcast(PictureSizeChanged);
    }
    lastWidth_ = width;
    lastHeight_ = height;
    notifier_.Broadcast(PictureChanged);
    result_.Clear();
    notifier_.Changed();
}

void TImageData::filterChanged(const TPersistent* filter)
{
    TUpdateBracket bracket(notifier_);
    if (filter == &clip_ && clip_.ClipRect().IsEmpty())
        ResetClip(0, 0);
    result_.Clear();
    notifier_.Changed();
}

TPictureEx& TImageData::GetFilteredPicture()
{
    if (picture_.Empty() || !result_.Empty())
        return result_;
    const bool transparency = HasTransparency();
    TPictureEx working;
    working.Assign(picture_);
    TBitmap mask;
    TRect outRect;

    clip_.BackgroundColor = transparency ? transparentColor_ : clWhite;
    clip_.Transparent = transparency;
    clip_.Apply(working, result_, outRect);
    working.Assign(result_);

    if (transparency) {
        // Keyed on the colours before any effect changes them.
        TSafetyBitmap& bitmap = working.ForceBitmap();
        bitmap.SetTransparent(true, transparentColor_);
        BuildTransparencyMask(bitmap.Bitmap(), transparentColor_, mask);
    }
    for (TImageFilter* filter : std::initializer_list<TImageFilter*>{&blur_, &monotone_}) {
        if (!filter->CanApply(working))
            continue;
        filter->Apply(working, result_, outRect);
        working.Assign(result_);
    }
    if (light_.CanApply(working))
        light_.Apply(working, result_, outRect);
    else
        result_.Assign(working);

    if (mask.Width() > 0) {
        TSafetyBitmap& bitmap = result_.ForceBitmap();
        bitmap.SetTransparent(true, transparentColor_);
        bitmap.InstallMask(mask);
    }
    return result_;
}

void TImageData::Assign(const TImageData& source)
{
    if (&source == this)
        return;
    TUpdateBracket bracket(notifier_);
    picture_.Assign(source.picture_);
    clip_.Assign(source.clip_);
    blur_.Assign(source.blur_);
    light_.Assign(source.light_);
    monotone_.Assign(source.monotone_);
    SetTransparentColor(source.transparentColor_);
    result_.Assign(source.result_);
}

}  // namespace orvella
