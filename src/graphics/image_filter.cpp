#include "formats/property_table.h"

#include "graphics/image_filter.h"

#include "formats/component_reader.h"
#include "formats/component_writer.h"
#include "graphics/encoded_images.h"
#include "graphics/metafile_player.h"
#include "graphics/picture_error.h"
#include "graphics/picture_ex.h"
#include "graphics/safety_bitmap.h"

#include <algorithm>
#include <cstring>

namespace orvella {

const TClassInfo& TImageFilter::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TImageFilter, TPersistent>("TImageFilter", {});
    return info;
}

const TClassInfo& TClipFilter::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TClipFilter, TImageFilter>("TClipFilter", {});
    return info;
}

const TClassInfo& TGREFilter::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TGREFilter, TImageFilter>("TGREFilter", {});
    return info;
}

const TClassInfo& TBlurFilter::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TBlurFilter, TGREFilter>("TBlurFilter", {
        IntegerProperty("BlurCount", &TBlurFilter::BlurCount, &TBlurFilter::SetBlurCount).Default(0),
    });
    return info;
}

const TClassInfo& TLightFilter::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLightFilter, TGREFilter>("TLightFilter", {
        IntegerProperty("Brightness", &TLightFilter::Brightness, &TLightFilter::SetBrightness).Default(0),
        IntegerProperty("Contrast", &TLightFilter::Contrast, &TLightFilter::SetContrast).Default(0),
    });
    return info;
}

const TClassInfo& TMonotoneFilter::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TMonotoneFilter, TGREFilter>("TMonotoneFilter", {
        IntegerProperty("RefColor", &TMonotoneFilter::RefColor, &TMonotoneFilter::SetRefColor)
            .Idents(ColorIdents())
            .Default(clNone),
    });
    return info;
}

TImageFilter::TImageFilter() = default;

std::unique_ptr<TGREffector> TImageFilter::CreateEffect(TBitmap&, TBitmap&) const { return nullptr; }

void TImageFilter::Assign(const TImageFilter& source)
{
    if (&source == this)
        return;
    TUpdateBracket bracket(notifier_);
    assignValues(source);
}

// --- clip ---

namespace {

// The graphic at its own size as drawing it onto the background would
// leave it: see-through parts show the background, not white.
void renderOverBackground(const TGraphic& graphic, TColor background, TBitmap& pixels)
{
    graphic.RenderTo24(pixels);
    if (!graphic.HasTransparentParts())
        return;
    TBitmap mask;
    graphic.RenderMask(mask);
    if (mask.Width() != pixels.Width() || mask.Height() != pixels.Height())
        return;
    const uint32_t fill = pixels.ColorToPixel(background & 0xFFFFFF);
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        const uint8_t* seeThrough = mask.Row(y);
        for (int32_t x = 0; x < pixels.Width(); ++x)
            if (seeThrough[3 * x] != 0)
                WritePixel(pixels.Row(y), x, TPixelFormat::pf24bit, fill);
    }
}

}  // namespace

void TClipFilter::SetClipRect(const TRect& rect)
{
    if (rect == clipRect_)
        return;
    clipRect_ = rect;
    notifier_.Changed();
}

void TClipFilter::assignValues(const TImageFilter& source)
{
    if (const auto* clip = dynamic_cast<const TClipFilter*>(&source))
        SetClipRect(clip->clipRect_);
}

bool TClipFilter::CanApply(const TPictureEx& picture) const { return !picture.Empty(); }

bool TClipFilter::IsActive(const TPictureEx& picture) const
{
    if (clipRect_.IsEmpty())
        return false;
    if (clipRect_ != TRect{0, 0, picture.Width(), picture.Height()})
        return true;
    return Transparent && !dynamic_cast<const TSafetyBitmap*>(picture.Graphic());
}

void TClipFilter::Apply(const TPictureEx& source, TPictureEx& result, TRect& outRect)
{
    const TRect whole{0, 0, source.Width(), source.Height()};
    const TRect rect = clipRect_.IsEmpty() ? whole : clipRect_;
    // A metafile stays records: its part is a metafile of its own.
    std::unique_ptr<TMetafile> clippedMetafile;
    const auto* metafile = dynamic_cast<const TMetafile*>(source.Graphic());
    if (metafile && metafile->Enhanced() && !Transparent && rect != whole) {
        const std::string bytes = ClipEnhancedMetafile(metafile->SaveToBytes(), rect);
        if (!bytes.empty()) {
            clippedMetafile = std::make_unique<TMetafile>();
            try {
                clippedMetafile->LoadFromBytes(bytes);
            } catch (const EInvalidGraphic&) {
                clippedMetafile.reset();
            }
        }
    }
    if (source.Empty() || (!Transparent && rect == whole)) {
        result.Assign(source);
    } else if (clippedMetafile) {
        result.SetGraphic(std::move(clippedMetafile));
    } else {
        // A bitmap of the rectangle's size filled with the background, the
        // source's pixels copied in where the rectangle overlaps them.
        TBitmap pixels;
        const auto* bitmap = dynamic_cast<const TSafetyBitmap*>(source.Graphic());
        if (bitmap)
            CopyBitmap(bitmap->Bitmap(), pixels);
        else
            renderOverBackground(*source.Graphic(), BackgroundColor, pixels);
        const int32_t width = rect.Right - rect.Left, height = rect.Bottom - rect.Top;
        auto clipped = std::make_unique<TSafetyBitmap>();
        TBitmap& target = clipped->MutableBitmap();
        target.SetSize(width, height, pixels.PixelFormat());
        if (pixels.PixelFormat() == TPixelFormat::pf8bit)
            target.SetPalette(pixels.Palette());
        const uint32_t fill = target.ColorToPixel(BackgroundColor & 0xFFFFFF);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                WritePixel(target.Row(y), x, target.PixelFormat(), fill);
        const int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, pixels.Width());
        const int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, pixels.Height());
        const int bpp = BytesPerPixel(pixels.PixelFormat());
        for (int32_t y = top; y < bottom && left < right; ++y)
            std::memcpy(target.Row(y - rect.Top) + std::size_t(left - rect.Left) * bpp,
                        pixels.Row(y) + std::size_t(left) * bpp, std::size_t(right - left) * bpp);
        clipped->Modified();
        result.SetGraphic(std::move(clipped));
    }
    outRect = {0, 0, result.Width(), result.Height()};
}

void TClipFilter::DefineProperties(TFiler& filer)
{
    TImageFilter::DefineProperties(filer);
    filer.DefineProperty(
        "ClipRect",
        [this](TReader& reader) {
            int32_t values[4] = {0, 0, 0, 0};
            reader.ReadListBegin();
            for (int i = 0; !reader.EndOfList(); ++i) {
                const int32_t value = reader.ReadInteger();
                if (i < 4)
                    values[i] = value;
            }
            reader.ReadListEnd();
            SetClipRect({values[0], values[1], values[2], values[3]});
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            for (int32_t value : {clipRect_.Left, clipRect_.Top, clipRect_.Right, clipRect_.Bottom})
                writer.WriteInteger(value);
            writer.WriteListEnd();
        },
        !clipRect_.IsEmpty());
}

// --- pixel-effect filters ---

bool TGREFilter::CanApply(const TPictureEx& picture) const
{
    // Every graphic with pixels of its own; a metafile stays records.
    return !picture.Empty() && !dynamic_cast<const TMetafile*>(picture.Graphic());
}

bool TGREFilter::IsActive(const TPictureEx&) const { return HasEffect(); }

void TGREFilter::Apply(const TPictureEx& source, TPictureEx& result, TRect& outRect)
{
    TBitmap input, output;
    std::unique_ptr<TGREffector> effect;
    if (CanApply(source)) {
        source.Graphic()->RenderTo24(input);
        effect = CreateEffect(input, output);
    }
    if (!effect) {
        result.Assign(source);
    } else {
        effect->Execute();
        auto filtered = std::make_unique<TSafetyBitmap>();
        filtered->Assign(output);
        result.SetGraphic(std::move(filtered));
    }
    outRect = {0, 0, result.Width(), result.Height()};
}

void TBlurFilter::SetBlurCount(int count)
{
    if (count == blurCount_)
        return;
    blurCount_ = count;
    notifier_.Changed();
}

void TBlurFilter::assignValues(const TImageFilter& source)
{
    if (const auto* blur = dynamic_cast<const TBlurFilter*>(&source))
        SetBlurCount(blur->blurCount_);
}

std::unique_ptr<TGREffector> TBlurFilter::CreateEffect(TBitmap& source, TBitmap& destination) const
{
    if (blurCount_ > 0)
        return std::make_unique<TGREffectBlur>(source, destination, blurCount_);
    if (blurCount_ < 0)
        return std::make_unique<TGREffectUnsharpMask>(source, destination, -double(blurCount_));
    return nullptr;
}

void TLightFilter::SetBrightness(int value)
{
    if (value == brightness_)
        return;
    brightness_ = value;
    notifier_.Changed();
}

void TLightFilter::SetContrast(int value)
{
    if (value == contrast_)
        return;
    contrast_ = value;
    notifier_.Changed();
}

void TLightFilter::assignValues(const TImageFilter& source)
{
    if (const auto* light = dynamic_cast<const TLightFilter*>(&source)) {
        SetBrightness(light->brightness_);
        SetContrast(light->contrast_);
    }
}

std::unique_ptr<TGREffector> TLightFilter::CreateEffect(TBitmap& source, TBitmap& destination) const
{
    if (!HasEffect())
        return nullptr;
    return std::make_unique<TGREffectBrightnessContrast>(source, destination, brightness_, contrast_);
}

void TMonotoneFilter::SetRefColor(TColor color)
{
    if (color == refColor_)
        return;
    refColor_ = color;
    notifier_.Changed();
}

void TMonotoneFilter::assignValues(const TImageFilter& source)
{
    if (const auto* monotone = dynamic_cast<const TMonotoneFilter*>(&source))
        SetRefColor(monotone->refColor_);
}

std::unique_ptr<TGREffector> TMonotoneFilter::CreateEffect(TBitmap& source, TBitmap& destination) const
{
    if (!HasEffect())
        return nullptr;
    return std::make_unique<TGREffectMonoTone>(source, destination, refColor_);
}

}  // namespace orvella
