#include "formats/property_table.h"

#include "objects/lo_line.h"

#include "document/lo_rect_base.h"
#include "graphics/arc_geometry.h"
#include "graphics/bitmap.h"
#include "graphics/canvas_guards.h"
#include "objects/transformer.h"
#include "objects/widened_path.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace orvella {

namespace {

TPoint lineMidpoint(TPoint a, TPoint b)
{
    // Integer division truncates toward zero, as the centre's rule wants.
    return {int32_t((int64_t(a.x) + b.x + 1) / 2), int32_t((int64_t(a.y) + b.y + 1) / 2)};
}

}  // namespace

// --- TLOLine ---

const TClassInfo& TLOLine::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOLine, TLabelObject>("TLOLine", {
        IntegerProperty("StartX", &TLOLine::StartX, &TLOLine::SetStartX),
        IntegerProperty("StartY", &TLOLine::StartY, &TLOLine::SetStartY),
        IntegerProperty("EndX", &TLOLine::EndX, &TLOLine::SetEndX),
        IntegerProperty("EndY", &TLOLine::EndY, &TLOLine::SetEndY),
        ObjectProperty("LineColor", &TLOLine::lineColor_),
        IntegerProperty("LineWidth", &TLOLine::LineWidth, &TLOLine::SetLineWidth),
        // The end points carry the direction; a stored angle is never read back.
        IntegerProperty("Angle", &TLOLine::Angle, &TLOLine::SetAngle).NotStored(),
    });
    return info;
}

TLOLine::TLOLine()
{
    lineColor_.OnChange = [this] { ChangedAndRepaint(); };
}

TLOLine::~TLOLine() { lineColor_.OnChange = nullptr; }

int32_t TLOLine::Angle() const
{
    const long double dx = (long double)end_.x - start_.x;
    const long double dy = (long double)end_.y - start_.y;
    if (dx == 0 && dy == 0)
        return 0;
    return Round(std::atan2(dy, dx) * 180 / std::numbers::pi_v<long double>);
}

void TLOLine::ChangedAndRepaint()
{
    UpdateBounds();
    Invalidate();
    Changed();
}

TPoint TLOLine::ComputeRotationCentre() const { return lineMidpoint(start_, end_); }

void TLOLine::StorePoints(TPoint start, TPoint end)
{
    start_ = start;
    end_ = end;
    UpdateRotationCentre();
}

void TLOLine::MoveBy(int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0)
        return;
    StorePoints({OffsetCoordinate(start_.x, dx), OffsetCoordinate(start_.y, dy)},
                {OffsetCoordinate(end_.x, dx), OffsetCoordinate(end_.y, dy)});
    ChangedAndRepaint();
}

void TLOLine::SetExtent(int32_t width, int32_t height)
{
    BeginUpdate();
    // The bounds reach half the pen beyond the points on both sides.
    if (start_.x < end_.x)
        SetEndPoint(OffsetCoordinate(start_.x, int64_t(width) - lineWidth_), end_.y);
    else
        SetStartPoint(OffsetCoordinate(end_.x, int64_t(width) - lineWidth_), start_.y);
    if (start_.y < end_.y)
        SetEndPoint(end_.x, OffsetCoordinate(start_.y, int64_t(height) - lineWidth_));
    else
        SetStartPoint(start_.x, OffsetCoordinate(end_.y, int64_t(height) - lineWidth_));
    EndUpdate();
}

void TLOLine::DrawOutline(TCanvas& canvas)
{
    canvas.MoveTo(start_.x, start_.y);
    canvas.LineTo(end_.x, end_.y);
}

void TLOLine::SetAngle(int32_t degrees)
{
    if (IsLoading())
        return;
    const int32_t current = Angle();
    if (degrees == current)
        return;
    const TRotator rotator(degrees - current, centre_);
    const TPoint start = TurnClamped(rotator, start_);
    const TPoint end = TurnClamped(rotator, end_);
    BeginUpdate();
    SetStartPoint(start.x, start.y);
    SetEndPoint(end.x, end.y);
    EndUpdate();
}

void TLOLine::SetStartPoint(int32_t x, int32_t y)
{
    if (start_ == TPoint{x, y})
        return;
    start_ = {x, y};
    UpdateRotationCentre();
    ChangedAndRepaint();
}

void TLOLine::SetEndPoint(int32_t x, int32_t y)
{
    if (end_ == TPoint{x, y})
        return;
    end_ = {x, y};
    UpdateRotationCentre();
    ChangedAndRepaint();
}

void TLOLine::SetLineWidth(int32_t width)
{
    if (width == lineWidth_)
        return;
    lineWidth_ = width;
    ChangedAndRepaint();
}

TRect TLOLine::GetRect() const
{
    return {std::min(start_.x, end_.x), std::min(start_.y, end_.y), std::max(start_.x, end_.x),
            std::max(start_.y, end_.y)};
}

QPainterPath TLOLine::CentreLine() const { return PolylinePath({start_, end_}, false); }

QPainterPath TLOLine::Band(int32_t extraWidth) const
{
    return WidenPath(CentreLine(), double(lineWidth_) + extraWidth, TPenCap::Round);
}

TRect TLOLine::GetLogicalBounds() const
{
    const TRect bounds = AreaBounds(Band(0));
    // A line without width still has its points.
    return bounds.IsEmpty() ? GetRect() : bounds;
}

bool TLOLine::HitTest(TPoint logical)
{
    return AreaCoversPixel(Band(SitePixelLength(Parent(), 1, kHitToleranceOffSite)), logical);
}

void TLOLine::Paint(TCanvas& canvas)
{
    const QPainterPath band = Band(0);
    if (band.isEmpty())
        return;
    const auto clip = SaveClip(canvas);
    CombineClipWithArea(canvas, band, RGN_AND);
    // The fill spans the figure's own bounds, so that a gradient stays put
    // whatever part of the face is being repainted.
    lineColor_.Fill(canvas, GetLogicalBounds());
}

void TLOLine::PaintMask(TBitmap& mask)
{
    for (int32_t y = 0; y < mask.Height(); ++y)
        std::memset(mask.Row(y), 0, std::size_t(mask.Width()));
    const QPainterPath band = Band(0);
    if (band.isEmpty())
        return;
    TCanvas& canvas = mask.Canvas();
    const auto saved = SaveCanvasState(canvas, true);
    CombineClipWithArea(canvas, band, RGN_AND);
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect(GetLogicalBounds());
}

void TLOLine::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLabelObject::Assign(source);
        if (const auto* line = dynamic_cast<const TLOLine*>(&source)) {
            SetStartPoint(line->start_.x, line->start_.y);
            SetEndPoint(line->end_.x, line->end_.y);
            lineColor_.Assign(line->lineColor_);
            SetLineWidth(line->lineWidth_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void* TLOLine::QueryInterface(const TGuid& iid)
{
    if (iid == IDOEncloseBounds::IID)
        return Offer<IDOEncloseBounds>(this);
    if (iid == IDORect::IID)
        return Offer<IDORect>(this);
    if (iid == IDODraw::IID)
        return Offer<IDODraw>(this);
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    if (iid == IDOLine::IID)
        return Offer<IDOLine>(this);
    if (iid == IDOColorSpec::IID)
        return Offer<IDOColorSpec>(this);
    return TLabelObject::QueryInterface(iid);
}

// --- TLOCurve ---

const TClassInfo& TLOCurve::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOCurve, TLOLine>("TLOCurve", {
        IntegerProperty("Bulge", &TLOCurve::Bulge, &TLOCurve::SetBulge),
    });
    return info;
}

TLOCurve::TLOCurve() = default;

void TLOCurve::SetBulge(int32_t bulge)
{
    if (bulge == bulge_)
        return;
    bulge_ = bulge;
    UpdateRotationCentre();
    ChangedAndRepaint();
}

TPoint TLOCurve::GetMiddlePoint() const { return BulgeMiddlePoint(StartPoint(), EndPoint(), bulge_); }

void TLOCurve::SetMiddlePoint(TPoint point) { SetBulge(SignedSagitta(StartPoint(), point, EndPoint())); }

QPainterPath TLOCurve::CentreLine() const
{
    TCanvas recorder;
    recorder.BeginPath();
    traceArc(recorder);
    recorder.EndPath();
    std::vector<TPoint> points;
    std::vector<uint8_t> types;
    recorder.GetPath(points, types);
    return PolylinePath(points, false);
}

void TLOCurve::DrawOutline(TCanvas& canvas) { traceArc(canvas); }

// The arc code traces toward growing angles; a curve bent the other way is
// traced from its end so that it runs through its middle point.
void TLOCurve::traceArc(TCanvas& canvas) const
{
    const TPoint start = StartPoint();
    const TPoint end = EndPoint();
    try {
        const TPoint middle = BulgeMiddlePoint(start, end, bulge_);
        if (bulge_ <= 0)
            DrawArcThrough(canvas, end, middle, start);
        else
            DrawArcThrough(canvas, start, middle, end);
    } catch (const EIntOverflow&) {
        // End points near the ends of the coordinate range put the arc's
        // circle beyond it: the chord stands in.
        canvas.MoveTo(start.x, start.y);
        canvas.LineTo(end.x, end.y);
    }
}

TPoint TLOCurve::ComputeRotationCentre() const
{
    const TRect bounds = GetLogicalBounds();
    return {int32_t((int64_t(bounds.Left) + bounds.Right) / 2), int32_t((int64_t(bounds.Top) + bounds.Bottom) / 2)};
}

void TLOCurve::SetExtent(int32_t width, int32_t height)
{
    const TRect bounds = GetLogicalBounds();
    TPoint start = StartPoint();
    TPoint end = EndPoint();
    const auto scaleAxis = [](int32_t& a, int32_t& b, int32_t extent, int64_t boundsExtent) {
        if (boundsExtent == 0)
            return;
        const int32_t distance =
            ClampedCoordinate(std::fabs((long double)((int64_t)a - b) * extent / (long double)boundsExtent));
        if (a > b)
            a = OffsetCoordinate(b, distance);
        else
            b = OffsetCoordinate(a, distance);
    };
    scaleAxis(start.x, end.x, width, int64_t(bounds.Right) - bounds.Left);
    scaleAxis(start.y, end.y, height, int64_t(bounds.Bottom) - bounds.Top);
    BeginUpdate();
    SetStartPoint(start.x, start.y);
    SetEndPoint(end.x, end.y);
    EndUpdate();
}

void TLOCurve::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLOLine::Assign(source);
        if (const auto* curve = dynamic_cast<const TLOCurve*>(&source))
            SetBulge(curve->bulge_);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void* TLOCurve::QueryInterface(const TGuid& iid)
{
    if (iid == IDOCurve::IID)
        return Offer<IDOCurve>(this);
    return TLOLine::QueryInterface(iid);
}

}  // namespace orvella
