#pragma once
// The four filters of a filtered image: clip, blur/sharpen, monotone tint
// and brightness/contrast. Each is a stored object with its own change
// report; a setter reports only a real change, and Assign reports at most
// once.

#include "formats/persistent.h"
#include "graphics/change_notify.h"
#include "graphics/gr_effector.h"

#include <memory>

namespace orvella {

class TPictureEx;

// Holds a notifier's update bracket open for its lifetime.
class TUpdateBracket {
public:
    explicit TUpdateBracket(TChangeNotify& notifier) : notifier_(notifier) { notifier_.BeginUpdate(); }
    ~TUpdateBracket() { notifier_.EndUpdate(); }
    TUpdateBracket(const TUpdateBracket&) = delete;
    TUpdateBracket& operator=(const TUpdateBracket&) = delete;

private:
    TChangeNotify& notifier_;
};

class TImageFilter : public TPersistent {
    ORVELLA_PERSISTENT(TImageFilter)

public:
    TImageFilter();
    virtual bool CanApply(const TPictureEx& picture) const = 0;
    // Always fills result; outRect becomes (0, 0, result width, result height).
    virtual void Apply(const TPictureEx& source, TPictureEx& result, TRect& outRect) = 0;
    virtual bool IsActive(const TPictureEx& picture) const = 0;
    // The pixel effect from source into destination, or nullptr.
    virtual std::unique_ptr<TGREffector> CreateEffect(TBitmap& source, TBitmap& destination) const;

    // Copies the stored values inside one update bracket.
    void Assign(const TImageFilter& source);
    TChangeNotify& Notifier() { return notifier_; }

protected:
    virtual void assignValues(const TImageFilter& source) = 0;
    TChangeNotify notifier_{this};
};

class TClipFilter : public TImageFilter {
    ORVELLA_PERSISTENT(TClipFilter)

public:
    const TRect& ClipRect() const { return clipRect_; }
    void SetClipRect(const TRect& rect);
    // Set by the filtered image before each use; not stored.
    TColor BackgroundColor = 0xFFFFFF;
    bool Transparent = false;

    bool CanApply(const TPictureEx& picture) const override;
    void Apply(const TPictureEx& source, TPictureEx& result, TRect& outRect) override;
    bool IsActive(const TPictureEx& picture) const override;
    void DefineProperties(TFiler& filer) override;

protected:
    void assignValues(const TImageFilter& source) override;

private:
    TRect clipRect_;
};

// The filters whose work is a pixel effect on a 24-bit copy.
class TGREFilter : public TImageFilter {
    ORVELLA_PERSISTENT(TGREFilter)

public:
    bool CanApply(const TPictureEx& picture) const override;
    void Apply(const TPictureEx& source, TPictureEx& result, TRect& outRect) override;
    bool IsActive(const TPictureEx& picture) const override;
    // Whether the settings ask for an effect at all.
    virtual bool HasEffect() const = 0;
};

class TBlurFilter : public TGREFilter {
    ORVELLA_PERSISTENT(TBlurFilter)

public:
    // > 0: that many box-blur passes; < 0: unsharp mask over −count passes.
    int BlurCount() const { return blurCount_; }
    void SetBlurCount(int count);
    bool HasEffect() const override { return blurCount_ != 0; }
    std::unique_ptr<TGREffector> CreateEffect(TBitmap& source, TBitmap& destination) const override;

protected:
    void assignValues(const TImageFilter& source) override;

private:
    int blurCount_ = 0;
};

class TLightFilter : public TGREFilter {
    ORVELLA_PERSISTENT(TLightFilter)

public:
    int Brightness() const { return brightness_; }
    void SetBrightness(int value);
    int Contrast() const { return contrast_; }
    void SetContrast(int value);
    bool HasEffect() const override { return brightness_ != 0 || contrast_ != 0; }
    std::unique_ptr<TGREffector> CreateEffect(TBitmap& source, TBitmap& destination) const override;

protected:
    void assignValues(const TImageFilter& source) override;

private:
    int brightness_ = 0;
    int contrast_ = 0;
};

class TMonotoneFilter : public TGREFilter {
    ORVELLA_PERSISTENT(TMonotoneFilter)

public:
    TColor RefColor() const { return refColor_; }
    void SetRefColor(TColor color);
    bool HasEffect() const override { return refColor_ != clNone; }
    std::unique_ptr<TGREffector> CreateEffect(TBitmap& source, TBitmap& destination) const override;

protected:
    void assignValues(const TImageFilter& source) override;

private:
    TColor refColor_ = clNone;
};

}  // namespace orvella
