#include "formats/property_table.h"

#include "objects/lo_image.h"

#include "drawing/draw_site.h"
#include "drawing/object_utils.h"
#include "graphics/bitmap_rotate.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "graphics/coord_map.h"
#include "graphics/rect_utils.h"
#include "objects/picture_pixels.h"
#include "objects/widened_path.h"
#include "platform/win_math.h"

#include <algorithm>

namespace orvella {

namespace {

constexpr std::array<const char*, 4> kImageSourceNames{"isFile", "isOnePoint", "isTwain", "isPlugin"};

// Clears a flag on every way out of a scope.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagGuard() { flag_ = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

TRect FitRectToPicture(const TRect& current, TSize pixels, bool onSite)
{
    const TSize logical = GraphicLogicalSize(pixels);
    const TRect size{0, 0, logical.cx, logical.cy};
    if (!onSite)
        return OffsetRect(size, current.Left, current.Top);
    const int32_t side = std::max(RectWidth(current), RectHeight(current));
    const TRect square = CoverRect({0, 0, side, side}, current);
    return FitRect(size, square);
}

const TClassInfo& TLOImage::StaticClassInfo()
{
    using C = TLOImage;
    static const TClassInfo info = DeclareClass<C, TLORectBase>("TLOImage", {
        ObjectProperty("ImageData", &C::imageData_),
        ObjectProperty("FramePicture", &C::framePicture_),
        BooleanProperty("AlphaFrame", &C::AlphaFrame, &C::SetAlphaFrame).Default(0),
        IntegerProperty("Angle", &C::Angle, &C::SetAngle),
        EnumProperty("ImageSource", kImageSourceNames, &C::ImageSource, &C::SetImageSource),
        ObjectProperty("Picture", &C::legacyPicture_).NotStored(),
    });
    return info;
}

TLOImage::TLOImage()
{
    imageListener_.SetHandler([this](TPersistent*, const TGuid& kind) {
        if (kind == ObjectChanged)
            sourceChanged();
    });
    imageListener_.Listen(imageData_.Notifier());
    framePicture_.OnChange = [this] { sourceChanged(); };
    legacyPicture_.OnChange = [this] { legacyPictureRead_ = true; };
}

TLOImage::~TLOImage()
{
    framePicture_.OnChange = nullptr;
    legacyPicture_.OnChange = nullptr;
    imageListener_.Unlisten(imageData_.Notifier());
}

void TLOImage::forgetRendering()
{
    rendered_.reset();
    renderedMask_.reset();
    scaled_.reset();
    scaledMask_.reset();
}

void TLOImage::sourceChanged()
{
    // Building the rendering filters the picture, which reports through the
    // same notifier; that must not throw away what is being built.
    if (building_)
        return;
    forgetRendering();
    UpdateBounds();
    Invalidate();
    Changed();
}

void TLOImage::SetAlphaFrame(bool alphaFrame)
{
    if (alphaFrame == alphaFrame_)
        return;
    alphaFrame_ = alphaFrame;
    forgetRendering();
    Invalidate();
    Changed();
}

void TLOImage::SetAngle(int32_t degrees)
{
    if (degrees == angle_)
        return;
    angle_ = degrees;
    forgetRendering();
    UpdateBounds();
    Invalidate();
    Changed();
}

void TLOImage::SetBoundsRect(const TRect& rect)
{
    const TRect before = Rect();
    TLORectBase::SetBoundsRect(rect);
    // The turned picture is built for the rectangle's shape.
    if (Rect() != before && angle_ != 0)
        forgetRendering();
}

std::array<TPoint, 4> TLOImage::TurnedCorners() const { return TurnRectCorners(Rect(), angle_); }

TRect TLOImage::GetLogicalBounds() const { return angle_ == 0 ? Rect() : CornersBounds(TurnedCorners()); }

bool TLOImage::HitTest(TPoint logical)
{
    if (angle_ == 0)
        return TLORectBase::HitTest(logical);
    const std::array<TPoint, 4> corners = TurnedCorners();
    return AreaCoversPixel(PolylinePath({corners.begin(), corners.end()}, true), logical);
}

void TLOImage::SetExtent(int32_t width, int32_t height)
{
    const TRect& r = Rect();
    int32_t newWidth = width, newHeight = height;
    if (angle_ != 0) {
        const TRect bounds = GetLogicalBounds();
        newWidth = MulDiv(GetWidth(), width, RectWidth(bounds));
        newHeight = MulDiv(GetHeight(), height, RectHeight(bounds));
    }
    SetBoundsRect({r.Left, r.Top, OffsetCoordinate(r.Left, newWidth), OffsetCoordinate(r.Top, newHeight)});
}

void TLOImage::DrawOutline(TCanvas& canvas)
{
    const std::array<TPoint, 4> c = TurnedCorners();
    canvas.Polyline({c[0], c[1], c[2], c[3], c[0]});
}

void TLOImage::FitToPicture()
{
    TPictureEx& filtered = imageData_.GetFilteredPicture();
    if (filtered.Empty())
        return;
    SetBoundsRect(FitRectToPicture(Rect(), {filtered.Width(), filtered.Height()}, Parent() != nullptr));
}

void TLOImage::buildRendering()
{
    forgetRendering();
    if (imageData_.Picture().Empty())
        return;
    const TFlagGuard guard(building_);
    const TGraphic* graphic = imageData_.GetFilteredPicture().Graphic();
    if (!graphic || graphic->Empty())
        return;
    auto base = std::make_unique<TBitmap>();
    graphic->RenderTo24(*base);
    auto mask = std::make_unique<TBitmap>(base->Width(), base->Height(), TPixelFormat::pf24bit);
    if (imageData_.HasTransparency() && graphic->HasTransparentParts()) {
        graphic->RenderMask(*mask);
        if (mask->Width() != base->Width() || mask->Height() != base->Height())
            mask->SetSize(base->Width(), base->Height(), TPixelFormat::pf24bit);
    }
    if (!framePicture_.Empty() && !alphaFrame_) {
        TBitmap frame;
        framePicture_.Graphic()->RenderTo24(frame);
        LayFrameOver(*base, *mask, frame);
    }
    if (angle_ != 0) {
        const TRect shape = FitRect({0, 0, GetWidth(), GetHeight()}, {0, 0, base->Width(), base->Height()});
        const TSize size{std::max(RectWidth(shape), 1), std::max(RectHeight(shape), 1)};
        auto turned = std::make_unique<TBitmap>();
        auto turnedMask = std::make_unique<TBitmap>();
        RotateBitmapKeepTransparency(*base, mask.get(), *turned, turnedMask.get(), angle_, size);
        base = std::move(turned);
        mask = std::move(turnedMask);
        if (mask->Width() != base->Width() || mask->Height() != base->Height())
            mask->SetSize(base->Width(), base->Height(), TPixelFormat::pf24bit);
    }
    WhitenMasked(*base, *mask);
    rendered_ = std::move(base);
    renderedMask_ = std::move(mask);
}

const TBitmap& TLOImage::RenderedImage()
{
    if (!rendered_)
        buildRendering();
    static const TBitmap empty;
    return rendered_ ? *rendered_ : empty;
}

const TBitmap& TLOImage::RenderedMask()
{
    if (!renderedMask_)
        buildRendering();
    static const TBitmap empty;
    return renderedMask_ ? *renderedMask_ : empty;
}

void TLOImage::Paint(TCanvas& canvas)
{
    if (imageData_.Picture().Empty())
        return;
    if (angle_ == 0 && framePicture_.Empty()) {
        const TGraphic* graphic = imageData_.GetFilteredPicture().Graphic();
        if (graphic)
            graphic->Draw(canvas, Rect());
        return;
    }
    if (!rendered_)
        buildRendering();
    if (rendered_)
        paintRendering(canvas);
}

void TLOImage::paintRendering(TCanvas& canvas)
{
    const TRect bounds = GetLogicalBounds();
    const TRect device = NormalizeRect(canvas.LPtoDP(bounds));
    const int64_t width = RectWidth(device), height = RectHeight(device);
    // Resampling a large picture down on every paint (and every print band)
    // costs far more than drawing it: a shrunk copy is made once.
    const bool shrinks = width > 0 && height > 0 && width * height < int64_t(rendered_->Width()) * rendered_->Height();
    if (!shrinks) {
        DrawMasked(canvas, bounds, *rendered_, *renderedMask_);
        return;
    }
    if (!scaled_ || scaled_->Width() != width || scaled_->Height() != height) {
        const auto shrink = [&](TBitmap& source) {
            auto target = std::make_unique<TBitmap>(int32_t(width), int32_t(height), TPixelFormat::pf24bit);
            target->Canvas().SetStretchBltMode(HALFTONE);
            target->Canvas().StretchBlt(0, 0, int32_t(width), int32_t(height), source.Canvas(), 0, 0, source.Width(),
                                        source.Height(), SRCCOPY);
            return target;
        };
        scaled_ = shrink(*rendered_);
        scaledMask_ = shrink(*renderedMask_);
    }
    // Pixel for pixel: the mask merged in, then the image ANDed on top, as
    // DrawMasked does, without a resampling pass.
    // Only the part a print band or an update shows is copied.
    const TRect visible = IntersectRect(device, NormalizeRect(canvas.LPtoDP(canvas.GetClipBox())));
    if (visible.IsEmpty())
        return;
    const auto saved = SaveCanvasState(canvas, true);
    TCoordMap::ResetMapping(canvas);
    const int32_t sx = visible.Left - device.Left, sy = visible.Top - device.Top;
    canvas.BitBlt(visible.Left, visible.Top, RectWidth(visible), RectHeight(visible), scaledMask_->Canvas(), sx, sy,
                  MERGEPAINT);
    canvas.BitBlt(visible.Left, visible.Top, RectWidth(visible), RectHeight(visible), scaled_->Canvas(), sx, sy,
                  SRCAND);
}

bool TLOImage::NeedsBlend()
{
    if (imageData_.Picture().Empty())
        return false;
    return BlendRatio() != 100 || BlendShade() || (!framePicture_.Empty() && alphaFrame_);
}

void TLOImage::PaintMask(TBitmap& mask)
{
    FillCoverage(mask, 0);
    if (imageData_.Picture().Empty())
        return;
    const TRect bounds = GetLogicalBounds();
    if (angle_ == 0 && framePicture_.Empty() && !imageData_.HasTransparency()) {
        FillCoverageRect(mask, bounds, 255);
    } else {
        if (!renderedMask_)
            buildRendering();
        if (!renderedMask_)
            return;
        StretchIntoCoverage(mask, bounds, *renderedMask_, TCoverageOp::Invert);
    }
    if (framePicture_.Empty() || !alphaFrame_)
        return;
    // The frame's grey levels fade the picture out: a vignette.
    TBitmap frame;
    framePicture_.Graphic()->RenderTo24(frame);
    if (angle_ != 0) {
        const TRect shape = FitRect({0, 0, GetWidth(), GetHeight()}, {0, 0, frame.Width(), frame.Height()});
        TBitmap turned;
        RotateBitmap(frame, turned, angle_, clWhite, {std::max(RectWidth(shape), 1), std::max(RectHeight(shape), 1)});
        StretchIntoCoverage(mask, bounds, turned, TCoverageOp::And);
        return;
    }
    StretchIntoCoverage(mask, bounds, frame, TCoverageOp::And);
}

void TLOImage::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLORectBase::Assign(source);
        if (const auto* image = dynamic_cast<const TLOImage*>(&source)) {
            imageData_.Assign(image->imageData_);
            SetAngle(image->angle_);
            imageSource_ = image->imageSource_;
            framePicture_.Assign(image->framePicture_);
            SetAlphaFrame(image->alphaFrame_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLOImage::Loaded()
{
    TLORectBase::Loaded();
    if (!legacyPictureRead_)
        return;
    legacyPictureRead_ = false;
    if (!legacyPicture_.Empty())
        imageData_.Picture().Assign(legacyPicture_);
    legacyPicture_.OnChange = nullptr;
    legacyPicture_.Clear();
    legacyPicture_.OnChange = [this] { legacyPictureRead_ = true; };
    // Older one-point clip-art was drawn on this grey, meant to be left out.
    if (imageSource_ == TImageSource::isOnePoint)
        imageData_.SetTransparentColor(kFrameWindowColor);
}

void* TLOImage::QueryInterface(const TGuid& iid)
{
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    return TLORectBase::QueryInterface(iid);
}

// --- TLOWizardImage ---

const TClassInfo& TLOWizardImage::StaticClassInfo()
{
    using C = TLOWizardImage;
    static const TClassInfo info = DeclareClass<C, TLOImage>("TLOWizardImage", {
        BooleanProperty("wizInputEnable", &C::WizInputEnable, &C::SetWizInputEnable).Default(0),
        StringProperty("wizInputCaption", &C::WizInputCaption, &C::SetWizInputCaption),
    });
    return info;
}

void TLOWizardImage::Assign(const TDrawObject& source)
{
    TLOImage::Assign(source);
    if (const auto* other = dynamic_cast<const TLOWizardImage*>(&source); other && other != this) {
        wizInputEnable_ = other->wizInputEnable_;
        wizInputCaption_ = other->wizInputCaption_;
    }
}

void* TLOWizardImage::QueryInterface(const TGuid& iid)
{
    if (iid == IDOWizardInput::IID)
        return Offer<IDOWizardInput>(this);
    return TLOImage::QueryInterface(iid);
}

}  // namespace orvella
