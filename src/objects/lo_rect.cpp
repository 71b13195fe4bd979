#include "formats/property_table.h"

#include "objects/lo_rect.h"

#include "formats/component_reader.h"
#include "graphics/bitmap.h"
#include "graphics/canvas_guards.h"
#include "objects/transformer.h"
#include "objects/widened_path.h"

#include <cstring>

namespace orvella {

namespace {

// The handle length of a cubic Bézier quarter circle, per unit of radius.
constexpr long double kQuarterCircleHandle = 0.5522847L;

void clearShapeMask(TBitmap& mask)
{
    for (int32_t y = 0; y < mask.Height(); ++y)
        std::memset(mask.Row(y), 0, std::size_t(mask.Width()));
}

void fillShapeMaskArea(TBitmap& mask, const QPainterPath& area, const TRect& bounds)
{
    TCanvas& canvas = mask.Canvas();
    const auto saved = SaveCanvasState(canvas, true);
    CombineClipWithArea(canvas, area, RGN_AND);
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect(bounds);
}

}  // namespace

const TClassInfo& TLORect::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLORect, TLORectBase>("TLORect", {
        IntegerProperty("FrameWidth", &TLORect::FrameWidth, &TLORect::SetFrameWidth),
        ObjectProperty("FrameColor", &TLORect::frameColor_),
        ObjectProperty("FillColor", &TLORect::fillColor_),
        BooleanProperty("FillInside", &TLORect::FillInside, &TLORect::SetFillInside),
        IntegerProperty("Angle", &TLORect::Angle, &TLORect::SetAngle),
        BooleanProperty("RoundRect", &TLORect::RoundRect, &TLORect::SetRoundRect),
    });
    return info;
}

TLORect::TLORect()
{
    frameColor_.OnChange = [this] { ChangedAndRepaint(); };
    fillColor_.OnChange = [this] { ChangedAndRepaint(); };
}

TLORect::~TLORect()
{
    frameColor_.OnChange = nullptr;
    fillColor_.OnChange = nullptr;
}

void TLORect::ChangedAndRepaint()
{
    UpdateBounds();
    Invalidate();
    Changed();
}

void TLORect::InvalidateOutline()
{
    outlineValid_ = false;
    outline_.Clear();
}

void TLORect::SetFrameWidth(int32_t width)
{
    if (width == frameWidth_)
        return;
    frameWidth_ = width;
    ChangedAndRepaint();
}

void TLORect::SetFillInside(bool fill)
{
    if (fill == fillInside_)
        return;
    fillInside_ = fill;
    ChangedAndRepaint();
}

void TLORect::SetRoundRect(bool round)
{
    if (round == roundRect_)
        return;
    roundRect_ = round;
    InvalidateOutline();
    ChangedAndRepaint();
}

void TLORect::SetAngle(int32_t degrees)
{
    if (degrees == angle_)
        return;
    angle_ = degrees;
    InvalidateOutline();
    ChangedAndRepaint();
}

TPoint TLORect::RotationCentre() const
{
    const TRect& r = Rect();
    return {int32_t((int64_t(r.Left) + r.Right) / 2), int32_t((int64_t(r.Top) + r.Bottom) / 2)};
}

void TLORect::SetBoundsRect(const TRect& rect)
{
    InvalidateOutline();
    TLORectBase::SetBoundsRect(rect);
}

void TLORect::SetExtent(int32_t width, int32_t height)
{
    const TRect& r = Rect();
    int32_t newWidth = 0;
    int32_t newHeight = 0;
    if (angle_ == 0) {
        newWidth = ClampedCoordinate((long double)width - frameWidth_);
        newHeight = ClampedCoordinate((long double)height - frameWidth_);
    } else {
        const TRect bounds = GetLogicalBounds();
        newWidth = MulDiv(GetWidth(), width, bounds.Right - bounds.Left);
        newHeight = MulDiv(GetHeight(), height, bounds.Bottom - bounds.Top);
    }
    SetBoundsRect({r.Left, r.Top, OffsetCoordinate(r.Left, newWidth), OffsetCoordinate(r.Top, newHeight)});
}

void TLORect::SetTurnedOutline(TStroke outline) const
{
    if (angle_ != 0) {
        const TRotator rotator(angle_, RotationCentre());
        for (int32_t i = 0; i < outline.Count(); ++i)
            outline.Points(i) = TurnClamped(rotator, outline.Points(i));
    }
    outline_ = std::move(outline);
    outlineValid_ = true;
}

void TLORect::RebuildOutline() const
{
    const TRect& rc = Rect();
    const int32_t left = rc.Left, top = rc.Top, right = rc.Right, bottom = rc.Bottom;
    TStroke outline;
    if (!roundRect_) {
        outline.AddPoint(left, top, STROKE_MOVETO);
        outline.AddPoint(right, top, STROKE_LINETO);
        outline.AddPoint(right, bottom, STROKE_LINETO);
        outline.AddPoint(left, bottom, STROKE_CLOSE);
        SetTurnedOutline(std::move(outline));
        return;
    }
    const int32_t s = std::min(GetWidth(), GetHeight()) / 3;
    const int32_t r = s / 2;
    const int32_t h = Round(s * kQuarterCircleHandle / 2);
    const auto corner = [&outline](TPoint c1, TPoint c2, TPoint end) {
        outline.AddPoint(c1.x, c1.y, STROKE_BEZIER);
        outline.AddPoint(c2.x, c2.y, STROKE_BEZIER);
        outline.AddPoint(end.x, end.y, STROKE_BEZIER);
    };
    outline.AddPoint(right, top + r, STROKE_MOVETO);
    corner({right, top + r - h}, {right - r + h, top}, {right - r, top});
    outline.AddPoint(left + r, top, STROKE_LINETO);
    corner({left + r - h, top}, {left, top + r - h}, {left, top + r});
    outline.AddPoint(left, bottom - r, STROKE_LINETO);
    corner({left, bottom - r + h}, {left + r - h, bottom}, {left + r, bottom});
    outline.AddPoint(right - r, bottom, STROKE_LINETO);
    corner({right - r + h, bottom}, {right, bottom - r + h}, {right, bottom - r});
    outline.AddPoint(right, top + r, STROKE_CLOSE);
    SetTurnedOutline(std::move(outline));
}

const TStroke& TLORect::Outline() const
{
    if (!outlineValid_)
        RebuildOutline();
    return outline_;
}

QPainterPath TLORect::OutlinePath() const
{
    QPainterPath path = StrokePath(Outline());
    path.setFillRule(Qt::WindingFill);
    return path;
}

QPainterPath TLORect::FrameBand(int32_t width) const { return WidenPath(OutlinePath(), width, TPenCap::Square); }

QPainterPath TLORect::TurnedRectPath(const TRect& r) const
{
    const TRotator rotator(angle_, RotationCentre());
    std::vector<TPoint> corners{{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
    if (angle_ != 0)
        for (TPoint& p : corners)
            p = TurnClamped(rotator, p);
    QPainterPath path = PolylinePath(corners, true);
    path.setFillRule(Qt::WindingFill);
    return path;
}

bool TLORect::PaintsInside() const
{
    return fillInside_ && frameWidth_ < GetWidth() && frameWidth_ < GetHeight();
}

int32_t TLORect::ShownFrameWidth() const { return std::max(frameWidth_, SitePixelLength(Parent(), 2, 0)); }

void TLORect::DrawOutline(TCanvas& canvas) { Outline().Draw(canvas); }

TRect TLORect::GetLogicalBounds() const
{
    if (frameWidth_ > 0)
        return AreaBounds(FrameBand(frameWidth_));
    const TRect bounds = AreaBounds(OutlinePath());
    return bounds.IsEmpty() ? Rect() : bounds;
}

bool TLORect::HitTest(TPoint logical)
{
    const int64_t penWidth = int64_t(frameWidth_) + SitePixelLength(Parent(), 1, kHitToleranceOffSite);
    const QPainterPath band = FrameBand(ClampedCoordinate((long double)penWidth));
    if (fillInside_ || frameWidth_ == 0)
        return AreaCoversPixel(OutlinePath().united(band), logical);
    return AreaCoversPixel(band, logical);
}

void TLORect::PaintInside(TCanvas& canvas)
{
    if (!PaintsInside())
        return;
    const auto clip = SaveClip(canvas);
    CombineClipWithArea(canvas, OutlinePath(), RGN_AND);
    fillColor_.Fill(canvas, GetLogicalBounds());
}

void TLORect::Paint(TCanvas& canvas)
{
    const TRect bounds = GetLogicalBounds();
    PaintInside(canvas);
    if (frameWidth_ <= 0)
        return;
    const int32_t w = ShownFrameWidth();
    const auto clip = SaveClip(canvas);
    if (roundRect_) {
        CombineClipWithArea(canvas, FrameBand(w), RGN_AND);
    } else {
        // The band is centred on the rectangle's edge.
        const TRect& r = Rect();
        const int64_t k = w / 2;
        const auto at = [](int64_t value) { return ClampedCoordinate((long double)value); };
        CombineClipWithArea(canvas,
                            TurnedRectPath({at(r.Left - k), at(r.Top - k), at(r.Right + w - k), at(r.Bottom + w - k)}),
                            RGN_AND);
        const TRect inner{at(r.Left + w - k), at(r.Top + w - k), at(r.Right - k), at(r.Bottom - k)};
        // A frame wider than the rectangle leaves no hole: the inner corners
        // would cross over and cut a band out of the frame instead.
        if (!inner.IsEmpty())
            CombineClipWithArea(canvas, TurnedRectPath(inner), RGN_DIFF);
    }
    frameColor_.Fill(canvas, bounds);
}

void TLORect::PaintMask(TBitmap& mask)
{
    clearShapeMask(mask);
    const TRect bounds = GetLogicalBounds();
    if (frameWidth_ > 0)
        fillShapeMaskArea(mask, FrameBand(frameWidth_), bounds);
    if (PaintsInside())
        fillShapeMaskArea(mask, OutlinePath(), bounds);
}

void TLORect::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLORectBase::Assign(source);
        if (const auto* rect = dynamic_cast<const TLORect*>(&source)) {
            SetFrameWidth(rect->frameWidth_);
            frameColor_.Assign(rect->frameColor_);
            fillColor_.Assign(rect->fillColor_);
            SetFillInside(rect->fillInside_);
            SetAngle(rect->angle_);
            SetRoundRect(rect->roundRect_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLORect::DefineProperties(TFiler& filer)
{
    TLORectBase::DefineProperties(filer);
    // Older documents named the corner style "Round"; it is read, never written.
    filer.DefineProperty(
        "Round", [this](TReader& reader) { SetRoundRect(reader.ReadBoolean()); }, nullptr, false);
}

void* TLORect::QueryInterface(const TGuid& iid)
{
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    if (iid == IDOColorSpec::IID)
        return Offer<IDOColorSpec>(this);
    if (iid == IDOOptionalColorSpec::IID) {
        AddRef();
        return static_cast<IDOOptionalColorSpec*>(&fillCapability_);
    }
    return TLORectBase::QueryInterface(iid);
}

// --- TLOCircle ---

const TClassInfo& TLOCircle::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOCircle, TLORect>("TLOCircle", {});
    return info;
}

void TLOCircle::RebuildOutline() const
{
    const TRect& rc = Rect();
    const int32_t left = rc.Left, top = rc.Top, right = rc.Right, bottom = rc.Bottom;
    const TPoint c = RotationCentre();
    const int32_t a = Round(GetWidth() * kQuarterCircleHandle / 2);
    const int32_t b = Round(GetHeight() * kQuarterCircleHandle / 2);
    TStroke outline;
    const auto quarter = [&outline](TPoint c1, TPoint c2, TPoint end, uint8_t lastFlag) {
        outline.AddPoint(c1.x, c1.y, STROKE_BEZIER);
        outline.AddPoint(c2.x, c2.y, STROKE_BEZIER);
        outline.AddPoint(end.x, end.y, lastFlag);
    };
    outline.AddPoint(right, c.y, STROKE_MOVETO);
    quarter({right, c.y - b}, {c.x + a, top}, {c.x, top}, STROKE_BEZIER);
    quarter({c.x - a, top}, {left, c.y - b}, {left, c.y}, STROKE_BEZIER);
    quarter({left, c.y + b}, {c.x - a, bottom}, {c.x, bottom}, STROKE_BEZIER);
    quarter({c.x + a, bottom}, {right, c.y + b}, {right, c.y}, STROKE_BEZIER_CLOSE);
    SetTurnedOutline(std::move(outline));
}

void TLOCircle::Paint(TCanvas& canvas)
{
    PaintInside(canvas);
    if (FrameWidth() <= 0)
        return;
    const auto clip = SaveClip(canvas);
    CombineClipWithArea(canvas, FrameBand(FrameWidth()), RGN_AND);
    FrameColor().Fill(canvas, GetLogicalBounds());
}

}  // namespace orvella
