#include "formats/property_table.h"

#include "objects/lo_alpha_mask.h"

#include "graphics/bitmap_rotate.h"
#include "graphics/canvas.h"
#include "graphics/gaussian_blur.h"
#include "graphics/rect_utils.h"
#include "objects/lo_image.h"
#include "objects/picture_pixels.h"
#include "objects/widened_path.h"
#include "platform/win_math.h"

#include <algorithm>

namespace orvella {

namespace {

// A softness beyond this many mask pixels is taken as this many: a stored
// value is untrusted, and the grown mask bitmap must stay of sensible size.
constexpr int32_t kMaxShadeSize = 1000;

}  // namespace

const TClassInfo& TLOAlphaMask::StaticClassInfo()
{
    using C = TLOAlphaMask;
    static const TClassInfo info = DeclareClass<C, TLORectBase>("TLOAlphaMask", {
        IntegerProperty("Angle", &C::Angle, &C::SetAngle).Default(0),
        ObjectProperty("FillColor", &C::fillColor_),
        ObjectProperty("Picture", &C::picture_),
        IntegerProperty("ShadeSize", &C::ShadeSize, &C::SetShadeSize).Default(0),
    });
    return info;
}

TLOAlphaMask::TLOAlphaMask()
{
    fillColor_.OnChange = [this] { changedAndRepaint(false); };
    picture_.OnChange = [this] { changedAndRepaint(true); };
}

TLOAlphaMask::~TLOAlphaMask()
{
    fillColor_.OnChange = nullptr;
    picture_.OnChange = nullptr;
}

void TLOAlphaMask::changedAndRepaint(bool maskChanged)
{
    if (maskChanged)
        prepared_.reset();
    UpdateBounds();
    Invalidate();
    Changed();
}

void TLOAlphaMask::SetAngle(int32_t degrees)
{
    if (degrees == angle_)
        return;
    angle_ = degrees;
    changedAndRepaint(true);
}

void TLOAlphaMask::SetShadeSize(int32_t size)
{
    size = std::clamp(size, 0, kMaxShadeSize);
    if (size == shadeSize_)
        return;
    shadeSize_ = size;
    changedAndRepaint(true);
}

void TLOAlphaMask::SetBoundsRect(const TRect& rect)
{
    const TRect before = Rect();
    TLORectBase::SetBoundsRect(rect);
    if (Rect() != before && angle_ != 0)
        prepared_.reset();
}

std::array<TPoint, 4> TLOAlphaMask::TurnedCorners() const { return TurnRectCorners(Rect(), angle_); }

TRect TLOAlphaMask::GetLogicalBounds() const { return angle_ == 0 ? Rect() : CornersBounds(TurnedCorners()); }

bool TLOAlphaMask::HitTest(TPoint logical)
{
    if (angle_ == 0)
        return TLORectBase::HitTest(logical);
    const std::array<TPoint, 4> corners = TurnedCorners();
    return AreaCoversPixel(PolylinePath({corners.begin(), corners.end()}, true), logical);
}

void TLOAlphaMask::SetExtent(int32_t width, int32_t height)
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

void TLOAlphaMask::DrawOutline(TCanvas& canvas)
{
    const std::array<TPoint, 4> c = TurnedCorners();
    canvas.Polyline({c[0], c[1], c[2], c[3], c[0]});
}

void TLOAlphaMask::FitToPicture()
{
    const TRect& r = Rect();
    if (picture_.Empty()) {
        if (!Parent())
            SetBoundsRect({r.Left, r.Top, r.Left + 300, r.Top + 200});
        return;
    }
    SetBoundsRect(FitRectToPicture(r, {picture_.Width(), picture_.Height()}, Parent() != nullptr));
}

const TBitmap& TLOAlphaMask::PreparedMask()
{
    static const TBitmap empty;
    if (prepared_)
        return *prepared_;
    if (picture_.Empty())
        return empty;
    TBitmap picture;
    picture_.Graphic()->RenderTo24(picture);
    const int32_t s = shadeSize_;
    auto grey = std::make_unique<TBitmap>(picture.Width() + 2 * s, picture.Height() + 2 * s, TPixelFormat::pf8bit);
    grey->SetPalette(GrayPalette());
    for (int32_t y = 0; y < picture.Height(); ++y) {
        uint8_t* row = grey->Row(y + s) + s;
        for (int32_t x = 0; x < picture.Width(); ++x)
            row[x] = GreyAt(picture, x, y);
    }
    if (s != 0)
        GaussianBlur(*grey, {0, 0, grey->Width(), grey->Height()}, s, s);
    if (angle_ != 0) {
        // The mask is turned at its own resolution in the object's shape;
        // stretching it into the bounds afterwards gives the same figure.
        const TRect shape = FitRect({0, 0, GetWidth(), GetHeight()}, {0, 0, grey->Width(), grey->Height()});
        auto turned = std::make_unique<TBitmap>();
        RotateBitmap(*grey, *turned, angle_, 0, {std::max(RectWidth(shape), 1), std::max(RectHeight(shape), 1)});
        grey = std::move(turned);
    }
    prepared_ = std::move(grey);
    return *prepared_;
}

void TLOAlphaMask::Paint(TCanvas& canvas) { fillColor_.Fill(canvas, GetLogicalBounds()); }

bool TLOAlphaMask::NeedsBlend() { return BlendRatio() != 100 || !picture_.Empty() || BlendShade(); }

void TLOAlphaMask::PaintMask(TBitmap& mask)
{
    FillCoverage(mask, 0);
    const TBitmap& prepared = PreparedMask();
    if (prepared.Width() == 0)
        return;
    StretchIntoCoverage(mask, GetLogicalBounds(), prepared, TCoverageOp::Copy);
}

void TLOAlphaMask::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLORectBase::Assign(source);
        if (const auto* other = dynamic_cast<const TLOAlphaMask*>(&source)) {
            picture_.Assign(other->picture_);
            fillColor_.Assign(other->fillColor_);
            SetAngle(other->angle_);
            SetShadeSize(other->shadeSize_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void* TLOAlphaMask::QueryInterface(const TGuid& iid)
{
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    if (iid == IDOColorSpec::IID)
        return Offer<IDOColorSpec>(this);
    return TLORectBase::QueryInterface(iid);
}

}  // namespace orvella
