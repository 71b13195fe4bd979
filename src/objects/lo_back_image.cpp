#include "formats/property_table.h"

#include "objects/lo_back_image.h"

#include "graphics/bitmap_for_rect.h"
#include "graphics/bitmap_turn.h"
#include "graphics/canvas_guards.h"
#include "graphics/coord_map.h"
#include "graphics/gr_blender.h"
#include "graphics/rect_utils.h"
#include "graphics/safety_bitmap.h"
#include "objects/picture_pixels.h"

#include <algorithm>

namespace orvella {

namespace {

constexpr std::array<const char*, 4> kRotateStyleNames{"rsNone", "rs90", "rs180", "rs270"};
constexpr std::array<const char*, 3> kPosArrangeNames{"paTile", "paTileShift", "paRandom"};

// A kept fill larger than this (a face at some 1200 dpi) is not kept.
constexpr int64_t kMaxCachedFillPixels = int64_t(6000) * 6000;

void intersectClip(TCanvas& canvas, QRegion region)
{
    if (canvas.ClipRegion())
        region = region.intersected(*canvas.ClipRegion());
    canvas.SelectClipRgn(region);
}

}  // namespace

// --- TLOBackImage ---

const TClassInfo& TLOBackImage::StaticClassInfo()
{
    using C = TLOBackImage;
    static const TClassInfo info = DeclareClass<C, TLORectBase>("TLOBackImage", {
        IntegerProperty("BlendRatio", &C::BackBlendRatio, &C::SetBlendRatio).Default(100),
        ObjectProperty("FillColor", &C::fillColor_),
        ObjectProperty("FrameColor", &C::frameColor_),
        IntegerProperty("FrameWidth", &C::FrameWidth, &C::SetFrameWidth).Default(0),
        ObjectProperty("BlendColor", &C::blendColor_),
        ObjectProperty("BlendPicture", &C::blendPicture_),
        ObjectProperty("Image", &C::legacyImage_).NotStored(),
        BooleanProperty("EllipseClip", &C::ignoredFlag, &C::ignoreFlag).NotStored(),
        BooleanProperty("CenterClip", &C::ignoredFlag, &C::ignoreFlag).NotStored(),
        IntegerProperty("CenterRadius", &C::ignoredNumber, &C::ignoreNumber).NotStored(),
    });
    return info;
}

TLOBackImage::TLOBackImage()
{
    SetLayerGroup(-100);
    // A new background is plain: white, without frame or blend.
    fillColor_.SetColor(clWhite);
    for (TColorSpec* color : {&fillColor_, &frameColor_, &blendColor_})
        color->OnChange = [this] { changedAndRepaint(); };
    blendPicture_.OnChange = [this] { changedAndRepaint(); };
}

TLOBackImage::~TLOBackImage()
{
    for (TColorSpec* color : {&fillColor_, &frameColor_, &blendColor_})
        color->OnChange = nullptr;
    blendPicture_.OnChange = nullptr;
}

void TLOBackImage::changedAndRepaint()
{
    fillCache_.reset();
    Invalidate();
    Changed();
}

void TLOBackImage::SetFrameWidth(int32_t width)
{
    if (width == frameWidth_)
        return;
    frameWidth_ = width;
    Changed();
}

void TLOBackImage::SetBoundsRect(const TRect& rect)
{
    fillCache_.reset();
    TLORectBase::SetBoundsRect(rect);
}

void TLOBackImage::SetBlendRatio(int32_t ratio)
{
    if (ratio == blendRatio_)
        return;
    blendRatio_ = ratio;
    changedAndRepaint();
}

void TLOBackImage::SetFaceInfo(const TFaceInfo* face)
{
    if (face)
        faceInfo_ = *face;
}

bool TLOBackImage::IsPlain() const
{
    return frameWidth_ == 0 && fillColor_.Kind() == TColorSpecKind::cskSolid && fillColor_.Color() == clWhite &&
           blendPicture_.Empty();
}

void TLOBackImage::Reset()
{
    BeginUpdate();
    try {
        TColorSpec white;
        white.SetColor(clWhite);
        fillColor_.Assign(white);
        SetFrameWidth(0);
        blendPicture_.Clear();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLOBackImage::SetExtent(int32_t width, int32_t height)
{
    const TRect& r = Rect();
    SetBoundsRect({r.Left, r.Top, OffsetCoordinate(r.Left, width), OffsetCoordinate(r.Top, height)});
}

void TLOBackImage::DrawOutline(TCanvas& canvas)
{
    const TRect& r = Rect();
    canvas.Polyline({{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}, {r.Left, r.Top}});
}

TRect TLOBackImage::FillArea() const
{
    if (fillColor_.Kind() != TColorSpecKind::cskBitmap || fillColor_.Tile())
        return Rect();
    const TImageData& data = fillColor_.ImageData();
    TRect clip = data.ClipFilter().ClipRect();
    if (clip.IsEmpty())
        clip = {0, 0, data.Picture().Width(), data.Picture().Height()};
    if (clip.IsEmpty())
        return Rect();
    return CoverRect(clip, Rect());
}

void TLOBackImage::Paint(TCanvas& canvas)
{
    const auto saved = SaveCanvasState(canvas, true);
    // The face description as if the face's outer rectangle started at the
    // object's top-left.
    TFaceInfo face = faceInfo_;
    const TRect outer = face.GetOuterRect();
    face.SetOuterRect(OffsetRect(outer, Rect().Left - outer.Left, Rect().Top - outer.Top));
    const TRect area = FillArea();

    intersectClip(canvas, face.CreateFaceRegion(&canvas, false));
    if (frameWidth_ != 0) {
        frameColor_.Fill(canvas, Rect());
        // The band runs inside the outer outline: what stays for the fill is
        // the face with its bleed margin reduced by the band.
        TFaceInfo inner = face;
        inner.FaceMargin = int32_t(std::clamp<int64_t>(int64_t(face.FaceMargin) - frameWidth_, INT32_MIN, INT32_MAX));
        intersectClip(canvas, inner.CreateFaceRegion(&canvas, false));
    }
    if (!paintCachedFill(canvas, area)) {
        if (blendPicture_.Empty())
            fillColor_.Fill(canvas, area);
        else
            paintBlended(canvas, area);
    }

    canvas.Pen().Style = TPenStyle::psClear;
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    face.DrawHole(canvas, false);
}

void TLOBackImage::paintBlended(TCanvas& canvas, const TRect& area)
{
    std::unique_ptr<TBitmap> blend = CreateBitmapForRect(canvas, area, TPixelFormat::pf24bit, 5, false);
    std::unique_ptr<TBitmap> alpha = CreateBitmapForRect(canvas, area, TPixelFormat::pf8bit, 5, false, GrayPalette());
    std::unique_ptr<TBitmap> fill = CreateBitmapForRect(canvas, area, TPixelFormat::pf24bit, 5, false);
    if (!blend || !alpha || !fill || fill->Width() == 0 || fill->Height() == 0)
        return;
    const TRect visible = IntersectRect(InflateRect(canvas.GetClipBox(), 5, 5), NormalizeRect(area));
    blendColor_.Fill(blend->Canvas(), area);
    TBitmap map;
    blendPicture_.Graphic()->RenderTo24(map);
    StretchIntoCoverage(*alpha, area, map, TCoverageOp::Copy);
    fillColor_.Fill(fill->Canvas(), area);

    TGRBlendAlphaMapRatio blender;
    blender.Ratio = blendRatio_;
    blender.Dest = fill.get();
    blender.DestRect = {0, 0, fill->Width(), fill->Height()};
    blender.Source = blend.get();
    blender.SourceRect = {0, 0, blend->Width(), blend->Height()};
    blender.AlphaMap = alpha.get();
    blender.AlphaMapRect = {0, 0, alpha->Width(), alpha->Height()};
    blender.Execute();

    const TRect device = canvas.LPtoDP(visible);
    const auto mapping = SaveCanvasState(canvas, true);
    TCoordMap::ResetMapping(canvas);
    TCoordMap::ResetMapping(fill->Canvas());
    canvas.BitBlt(device.Left, device.Top, fill->Width(), fill->Height(), fill->Canvas(), 0, 0, SRCCOPY);
}

bool TLOBackImage::paintCachedFill(TCanvas& canvas, const TRect& area)
{
    if (fillColor_.Kind() != TColorSpecKind::cskBitmap && blendPicture_.Empty())
        return false;
    const TRect device = NormalizeRect(canvas.LPtoDP(area));
    const int64_t width = RectWidth(device), height = RectHeight(device);
    if (width <= 0 || height <= 0 || width * height > kMaxCachedFillPixels)
        return false;
    if (!fillCache_ || fillCache_->Width() != width || fillCache_->Height() != height) {
        auto cache = std::make_unique<TBitmap>(int32_t(width), int32_t(height), TPixelFormat::pf24bit);
        TCoordMap mapping;
        mapping.Capture(canvas);
        mapping.WindowOrg = area.TopLeft();
        mapping.ViewportOrg = {0, 0};
        mapping.ApplyTo(cache->Canvas());
        fillInto(*cache, area);
        TCoordMap::ResetMapping(cache->Canvas());
        fillCache_ = std::move(cache);
    }
    const TRect visible = IntersectRect(device, NormalizeRect(canvas.LPtoDP(canvas.GetClipBox())));
    if (visible.IsEmpty())
        return true;
    const auto saved = SaveCanvasState(canvas, true);
    TCoordMap::ResetMapping(canvas);
    canvas.BitBlt(visible.Left, visible.Top, RectWidth(visible), RectHeight(visible), fillCache_->Canvas(),
                  visible.Left - device.Left, visible.Top - device.Top, SRCCOPY);
    return true;
}

void TLOBackImage::fillInto(TBitmap& target, const TRect& area)
{
    if (blendPicture_.Empty()) {
        fillColor_.Fill(target.Canvas(), area);
        return;
    }
    paintBlended(target.Canvas(), area);
}

void TLOBackImage::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLORectBase::Assign(source);
        if (const auto* other = dynamic_cast<const TLOBackImage*>(&source)) {
            fillColor_.Assign(other->fillColor_);
            frameColor_.Assign(other->frameColor_);
            SetFrameWidth(other->frameWidth_);
            blendColor_.Assign(other->blendColor_);
            blendPicture_.Assign(other->blendPicture_);
            SetBlendRatio(other->blendRatio_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLOBackImage::Loaded()
{
    TLORectBase::Loaded();
    if (legacyImage_.Empty())
        return;
    // Older documents kept the fill picture beside the fill.
    fillColor_.ImageData().Picture().Assign(legacyImage_);
    fillColor_.SetKind(TColorSpecKind::cskBitmap);
    legacyImage_.Clear();
}

void* TLOBackImage::QueryInterface(const TGuid& iid)
{
    if (iid == IDOFaceInfo::IID)
        return Offer<IDOFaceInfo>(this);
    return TLORectBase::QueryInterface(iid);
}

// --- TBackImagePicture ---

const TClassInfo& TBackImagePicture::StaticClassInfo()
{
    using C = TBackImagePicture;
    static const TClassInfo info = DeclareClass<C, TPersistent>("TBackImagePicture", {
        EnumProperty("RotateImage", kRotateStyleNames, &C::RotateImage, &C::SetRotateImage).Default(0),
        BooleanProperty("ReverseVert", &C::ReverseVert, &C::SetReverseVert).Default(0),
        BooleanProperty("ReverseHorz", &C::ReverseHorz, &C::SetReverseHorz).Default(0),
        BooleanProperty("MultiImage", &C::MultiImage, &C::SetMultiImage).Default(0),
        EnumProperty("PosArrange", kPosArrangeNames, &C::PosArrange, &C::SetPosArrange).Default(0),
    });
    return info;
}

TBackImagePicture::TBackImagePicture() = default;

TBackImagePicture::~TBackImagePicture() { Unbind(); }

void TBackImagePicture::Bind(TImageData& data)
{
    Unbind();
    bound_ = &data;
    previousHandler_ = data.Picture().OnChange;
    data.Picture().OnChange = [this] { boundPictureChanged(); };
}

void TBackImagePicture::Unbind()
{
    if (!bound_)
        return;
    bound_->Picture().OnChange = std::move(previousHandler_);
    previousHandler_ = nullptr;
    bound_ = nullptr;
}

void TBackImagePicture::boundPictureChanged()
{
    if (!writing_ && bound_ && !(owner_ && owner_->IsLoading())) {
        untransformed_.Assign(bound_->Picture());
        Apply();
    }
    if (previousHandler_)
        previousHandler_();
}

void TBackImagePicture::SetRotateImage(TRotateStyle style)
{
    if (style == rotateImage_)
        return;
    rotateImage_ = style;
    Apply();
}

void TBackImagePicture::SetReverseVert(bool reverse)
{
    if (reverse == reverseVert_)
        return;
    reverseVert_ = reverse;
    Apply();
}

void TBackImagePicture::SetReverseHorz(bool reverse)
{
    if (reverse == reverseHorz_)
        return;
    reverseHorz_ = reverse;
    Apply();
}

void TBackImagePicture::Apply()
{
    if (!bound_ || untransformed_.Empty() || (owner_ && owner_->IsLoading()))
        return;
    TBitmap image;
    untransformed_.Graphic()->RenderTo24(image);
    if (reverseHorz_)
        TurnBitmap(image, image, TQuarterTurn::None, TMirror::Horizontal);
    if (reverseVert_)
        TurnBitmap(image, image, TQuarterTurn::None, TMirror::Vertical);
    if (rotateImage_ != TRotateStyle::rsNone)
        TurnBitmap(image, image, TQuarterTurn(int(rotateImage_)), TMirror::None);
    auto result = std::make_unique<TSafetyBitmap>();
    result->Assign(image);
    writing_ = true;
    try {
        bound_->Picture().SetGraphic(std::move(result));
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void TBackImagePicture::RecoverUntransformed()
{
    if (!bound_ || bound_->Picture().Empty())
        return;
    TBitmap image;
    bound_->Picture().Graphic()->RenderTo24(image);
    if (rotateImage_ != TRotateStyle::rsNone)
        TurnBitmap(image, image, TQuarterTurn((4 - int(rotateImage_)) % 4), TMirror::None);
    if (reverseVert_)
        TurnBitmap(image, image, TQuarterTurn::None, TMirror::Vertical);
    if (reverseHorz_)
        TurnBitmap(image, image, TQuarterTurn::None, TMirror::Horizontal);
    auto result = std::make_unique<TSafetyBitmap>();
    result->Assign(image);
    untransformed_.SetGraphic(std::move(result));
}

void TBackImagePicture::Assign(const TBackImagePicture& source)
{
    if (&source == this)
        return;
    rotateImage_ = source.rotateImage_;
    reverseVert_ = source.reverseVert_;
    reverseHorz_ = source.reverseHorz_;
    multiImage_ = source.multiImage_;
    posArrange_ = source.posArrange_;
    untransformed_.Assign(source.untransformed_);
    Apply();
}

// --- TLOBackImage2004 ---

const TClassInfo& TLOBackImage2004::StaticClassInfo()
{
    using C = TLOBackImage2004;
    static const TClassInfo info = DeclareClass<C, TLOBackImage>("TLOBackImage2004", {
        ObjectProperty("FillBackImage", &C::fillBackImage_),
        ObjectProperty("FrameBackImage", &C::frameBackImage_),
    });
    return info;
}

TLOBackImage2004::TLOBackImage2004()
{
    fillBackImage_.Bind(FillColor().ImageData());
    frameBackImage_.Bind(FrameColor().ImageData());
    fillBackImage_.SetOwner(this);
    frameBackImage_.SetOwner(this);
}

void TLOBackImage2004::Loaded()
{
    TLOBackImage::Loaded();
    fillBackImage_.RecoverUntransformed();
    frameBackImage_.RecoverUntransformed();
}

TLOBackImage2004::~TLOBackImage2004()
{
    fillBackImage_.Unbind();
    frameBackImage_.Unbind();
}

void TLOBackImage2004::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLOBackImage::Assign(source);
        if (const auto* other = dynamic_cast<const TLOBackImage2004*>(&source)) {
            fillBackImage_.Assign(other->fillBackImage_);
            frameBackImage_.Assign(other->frameBackImage_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::unique_ptr<TDrawObject> PlainBackgroundFor(const TDrawObject& object)
{
    const auto* edited = dynamic_cast<const TLOBackImage2004*>(&object);
    if (!edited)
        return nullptr;
    // A copy between classes: the published-property copy of Assign wants
    // one class on both sides, so the stored values are taken one by one.
    auto plain = std::make_unique<TLOBackImage>();
    plain->SetBoundsRect(edited->Rect());
    plain->SetBorder(edited->Border());
    plain->SetMovable(edited->Movable());
    plain->SetSelectable(edited->Selectable());
    plain->SetLayerGroup(edited->LayerGroup());
    plain->SetCursor(edited->Cursor());
    plain->SetEnabled(edited->Enabled());
    plain->SetHint(edited->Hint());
    plain->SetDontPrint(edited->DontPrint());
    plain->SetBlendShade(edited->BlendShade());
    plain->SetFillColor(edited->FillColor());
    plain->SetFrameColor(edited->FrameColor());
    plain->SetFrameWidth(edited->FrameWidth());
    plain->SetBlendColor(edited->BlendColor());
    plain->SetBlendPicture(edited->BlendPicture());
    plain->SetBlendRatio(edited->BackBlendRatio());
    plain->SetFaceInfo(edited->GetFaceInfo());
    plain->SetName(object.Name());
    return plain;
}

}  // namespace orvella
