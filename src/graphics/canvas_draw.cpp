// Lines, outlines and filled shapes of the canvas.

#include "graphics/canvas.h"

#include "graphics/canvas_paint.h"
#include "graphics/rect_utils.h"

#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cstdlib>
#include <span>

namespace orvella {

namespace {

// Dash patterns of one-pixel pens, in pixels: on, off, on, off ...
std::span<const int> dashPattern(TPenStyle style)
{
    static const int dash[] = {18, 6};
    static const int dot[] = {3, 3};
    static const int dashDot[] = {9, 6, 3, 6};
    static const int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case TPenStyle::psDash: return dash;
    case TPenStyle::psDot: return dot;
    case TPenStyle::psDashDot: return dashDot;
    case TPenStyle::psDashDotDot: return dashDotDot;
    default: return {};
    }
}

// Whether pixel number phase of a dashed line falls on a dash.
bool onDash(std::span<const int> pattern, int phase)
{
    int total = 0;
    for (int length : pattern)
        total += length;
    int position = phase % total;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (position < pattern[i])
            return i % 2 == 0;
        position -= pattern[i];
    }
    return true;
}

constexpr double kKappa = 0.5522847;

}  // namespace

int32_t TCanvas::penWidthPixels() const
{
    if (state_.Pen.Width <= 0)
        return 1;
    return std::max(1, state_.Mapping.LengthToDevice(state_.Pen.Width));
}

void TCanvas::plotPixel(int32_t x, int32_t y, const TSpanPaint& paint)
{
    TPixelSurface* surface = Surface();
    if (!surface || x < 0 || y < 0 || x >= surface->Width() || y >= surface->Height())
        return;
    if (state_.Clip) {
        bool inside = false;
        for (const auto& [left, right] : clipRows()[std::size_t(y - clipRowsTop_)])
            if (x >= left && x < right) {
                inside = true;
                break;
            }
        if (!inside)
            return;
    }
    PaintRow(surface->Row(y), surface->PixelFormat(), y, x, x + 1, paint);
}

void TCanvas::cosmeticLine(TPoint from, TPoint to, bool lastPixel, int& phase)
{
    const TRect bounds = drawableBounds();
    if (std::max(from.x, to.x) < bounds.Left || std::min(from.x, to.x) >= bounds.Right ||
        std::max(from.y, to.y) < bounds.Top || std::min(from.y, to.y) >= bounds.Bottom) {
        // Every dash pattern repeats within 24 pixels.
        phase = int((phase + std::max(std::llabs(int64_t(to.x) - from.x), std::llabs(int64_t(to.y) - from.y))) % 24);
        return;
    }
    const TSpanPaint pen = penPaint();
    TSpanPaint gap = pen;
    TPixelSurface* surface = Surface();
    gap.fore = surface ? surface->ColorToPixel(state_.BkColor) : 0;
    const std::span<const int> pattern = dashPattern(state_.Pen.Style);
    const bool fillGaps = state_.BkMode == OPAQUE;

    const int64_t dx = std::llabs(int64_t(to.x) - from.x);
    const int64_t dy = -std::llabs(int64_t(to.y) - from.y);
    const int32_t sx = from.x < to.x ? 1 : -1;
    const int32_t sy = from.y < to.y ? 1 : -1;
    int64_t error = dx + dy;
    int32_t x = from.x, y = from.y;
    // Pixels beyond the surface are walked only as far as needed.
    const int64_t steps = std::max(dx, -dy);
    for (int64_t step = 0; step <= steps; ++step) {
        const bool last = x == to.x && y == to.y;
        if (last && !lastPixel)
            break;
        if (pattern.empty() || onDash(pattern, phase))
            plotPixel(x, y, pen);
        else if (fillGaps)
            plotPixel(x, y, gap);
        ++phase;
        if (last)
            break;
        const int64_t doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void TCanvas::fillWide(const QPainterPath& centreLine, Qt::PenJoinStyle join)
{
    QPainterPathStroker stroker;
    stroker.setWidth(penWidthPixels());
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(join);
    const QPainterPath outline = stroker.createStroke(centreLine.translated(0.5, 0.5));
    std::vector<TPolygonF> polygons;
    for (const QPolygonF& polygon : outline.toSubpathPolygons())
        polygons.emplace_back(polygon.begin(), polygon.end());
    TSpanPaint paint = penPaint();
    paintSpans(PolygonSpans(polygons, WINDING, drawableBounds()), paint);
}

void TCanvas::strokeDevice(const std::vector<TPoint>& points, bool closed)
{
    if (!penVisible() || points.empty())
        return;
    if (penWidthPixels() <= 1) {
        int phase = 0;
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            cosmeticLine(points[i], points[i + 1], false, phase);
        if (closed && points.size() > 1)
            cosmeticLine(points.back(), points.front(), false, phase);
        return;
    }
    QPainterPath path(QPointF(points[0].x, points[0].y));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i].x, points[i].y);
    if (closed)
        path.closeSubpath();
    fillWide(path, Qt::RoundJoin);
}

void TCanvas::strokeDevicePath(const QPainterPath& path)
{
    if (!penVisible())
        return;
    if (penWidthPixels() > 1) {
        fillWide(path, Qt::RoundJoin);
        return;
    }
    for (const QPolygonF& polygon : path.toSubpathPolygons()) {
        std::vector<TPoint> points;
        for (const QPointF& p : polygon) {
            const TPoint point{RoundHalfAway(p.x()), RoundHalfAway(p.y())};
            if (points.empty() || !(points.back() == point))
                points.push_back(point);
        }
        strokeDevice(points, false);
    }
}

void TCanvas::drawConvexShape(const std::vector<TSpan>& spans, const QPainterPath& centreLine, Qt::PenJoinStyle join)
{
    if (!penVisible()) {
        if (brushVisible())
            paintSpans(spans, brushPaint());
        return;
    }
    if (penWidthPixels() > 1 || state_.Pen.Style != TPenStyle::psSolid) {
        if (brushVisible())
            paintSpans(spans, brushPaint());
        if (penWidthPixels() > 1)
            fillWide(centreLine, join);
        else
            strokeDevicePath(centreLine);
        return;
    }
    std::vector<TSpan> outline, interior;
    SplitConvexSpans(spans, outline, interior);
    if (brushVisible())
        paintSpans(interior, brushPaint());
    paintSpans(outline, penPaint());
}

// --- lines ---

void TCanvas::MoveTo(int32_t x, int32_t y)
{
    if (pathOpen_)
        addPathPoint({x, y}, PT_MOVETO);
    state_.PenPos = {x, y};
}

void TCanvas::LineTo(int32_t x, int32_t y)
{
    if (pathOpen_)
        addPathPoint({x, y}, PT_LINETO);
    else
        strokeDevice({LPtoDP(state_.PenPos), LPtoDP(TPoint{x, y})}, false);
    state_.PenPos = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.empty())
        return;
    if (pathOpen_) {
        addPathPoint(points[0], PT_MOVETO);
        for (std::size_t i = 1; i < points.size(); ++i)
            addPathPoint(points[i], PT_LINETO);
        return;
    }
    std::vector<TPoint> device;
    device.reserve(points.size());
    for (const TPoint& p : points)
        device.push_back(LPtoDP(p));
    strokeDevice(device, false);
}

void TCanvas::PolylineTo(const std::vector<TPoint>& points)
{
    if (points.empty())
        return;
    if (pathOpen_) {
        for (const TPoint& p : points)
            addPathPoint(p, PT_LINETO);
    } else {
        std::vector<TPoint> device{LPtoDP(state_.PenPos)};
        for (const TPoint& p : points)
            device.push_back(LPtoDP(p));
        strokeDevice(device, false);
    }
    state_.PenPos = points.back();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& points)
{
    if (points.size() < 4 || (points.size() - 1) % 3 != 0)
        return;
    const TPoint saved = state_.PenPos;
    if (pathOpen_)
        addPathPoint(points[0], PT_MOVETO);
    state_.PenPos = points[0];
    TCanvas::PolyBezierTo({points.begin() + 1, points.end()});
    if (!pathOpen_)
        state_.PenPos = saved;
}

void TCanvas::PolyBezierTo(const std::vector<TPoint>& points)
{
    if (points.empty() || points.size() % 3 != 0)
        return;
    if (pathOpen_) {
        for (const TPoint& p : points)
            addPathPoint(p, PT_BEZIERTO);
    } else {
        const TPoint start = LPtoDP(state_.PenPos);
        QPainterPath path(QPointF(start.x, start.y));
        for (std::size_t i = 0; i + 2 < points.size(); i += 3) {
            const TPoint a = LPtoDP(points[i]), b = LPtoDP(points[i + 1]), c = LPtoDP(points[i + 2]);
            path.cubicTo(a.x, a.y, b.x, b.y, c.x, c.y);
        }
        strokeDevicePath(path);
    }
    state_.PenPos = points.back();
}

// --- shapes ---

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (points.size() < 2)
        return;
    if (pathOpen_) {
        addPathPoint(points[0], PT_MOVETO);
        for (std::size_t i = 1; i < points.size(); ++i)
            addPathPoint(points[i], PT_LINETO);
        TCanvas::CloseFigure();
        return;
    }
    std::vector<TPoint> device;
    TPolygonF polygon;
    for (const TPoint& p : points) {
        device.push_back(LPtoDP(p));
        polygon.emplace_back(device.back().x, device.back().y);
    }
    if (brushVisible())
        paintSpans(PolygonSpans({polygon}, state_.PolyFillMode, drawableBounds()), brushPaint());
    strokeDevice(device, true);
}

void TCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (pathOpen_) {
        addPathPoint({left, top}, PT_MOVETO);
        addPathPoint({right, top}, PT_LINETO);
        addPathPoint({right, bottom}, PT_LINETO);
        addPathPoint({left, bottom}, PT_LINETO);
        TCanvas::CloseFigure();
        return;
    }
    TRect r = LPtoDP(TRect{left, top, right, bottom});
    if (!penVisible()) {
        // Without a pen the fill stops one pixel short on the right and bottom,
        // where the outline would have been.
        r.Right -= 1;
        r.Bottom -= 1;
    }
    if (r.IsEmpty())
        return;
    if (!penVisible()) {
        if (brushVisible())
            paintRect(r, brushPaint());
        return;
    }
    if (penWidthPixels() <= 1 && state_.Pen.Style == TPenStyle::psSolid) {
        if (brushVisible())
            paintRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, brushPaint());
        const TSpanPaint pen = penPaint();
        paintRect({r.Left, r.Top, r.Right, r.Top + 1}, pen);
        if (r.Bottom - 1 > r.Top)
            paintRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, pen);
        paintRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, pen);
        if (r.Right - 1 > r.Left)
            paintRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, pen);
        return;
    }
    if (brushVisible())
        paintRect(r, brushPaint());
    QPainterPath outline;
    outline.addRect(QRectF(r.Left, r.Top, RectWidth(r) - 1, RectHeight(r) - 1));
    if (penWidthPixels() > 1)
        fillWide(outline, Qt::MiterJoin);
    else
        strokeDevicePath(outline);
}

void TCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (pathOpen_) {
        const TRect r = NormalizeRect({left, top, right, bottom});
        const TPoint c = RectCenter(r);
        const int32_t a = RoundHalfAway(RectWidth(r) * kKappa / 2);
        const int32_t b = RoundHalfAway(RectHeight(r) * kKappa / 2);
        addPathPoint({r.Right, c.y}, PT_MOVETO);
        const TPoint curve[] = {{r.Right, c.y - b}, {c.x + a, r.Top}, {c.x, r.Top},   {c.x - a, r.Top},
                                {r.Left, c.y - b},  {r.Left, c.y},    {r.Left, c.y + b}, {c.x - a, r.Bottom},
                                {c.x, r.Bottom},    {c.x + a, r.Bottom}, {r.Right, c.y + b}, {r.Right, c.y}};
        for (const TPoint& p : curve)
            addPathPoint(p, PT_BEZIERTO);
        TCanvas::CloseFigure();
        return;
    }
    TRect r = LPtoDP(TRect{left, top, right, bottom});
    if (!penVisible()) {
        r.Right -= 1;
        r.Bottom -= 1;
    }
    if (r.IsEmpty())
        return;
    QPainterPath outline;
    outline.addEllipse(QRectF(r.Left, r.Top, RectWidth(r) - 1, RectHeight(r) - 1));
    drawConvexShape(EllipseSpans(r, drawableBounds()), outline, Qt::RoundJoin);
}

void TCanvas::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cornerWidth,
                        int32_t cornerHeight)
{
    if (pathOpen_) {
        TCanvas::Rectangle(left, top, right, bottom);
        return;
    }
    TRect r = LPtoDP(TRect{left, top, right, bottom});
    if (!penVisible()) {
        r.Right -= 1;
        r.Bottom -= 1;
    }
    if (r.IsEmpty())
        return;
    const double rx = std::min<double>(std::abs(state_.Mapping.LengthToDevice(cornerWidth)), RectWidth(r)) / 2;
    const double ry = std::min<double>(
        std::abs(CheckedInt32(MulDiv64(cornerHeight, state_.Mapping.ViewportExt.cy, state_.Mapping.WindowExt.cy))),
        RectHeight(r)) / 2;
    QPainterPath area;
    area.addRoundedRect(QRectF(r.Left, r.Top, RectWidth(r), RectHeight(r)), rx, ry);
    std::vector<TPolygonF> polygons;
    for (const QPolygonF& polygon : area.toSubpathPolygons())
        polygons.emplace_back(polygon.begin(), polygon.end());
    QPainterPath outline;
    outline.addRoundedRect(QRectF(r.Left, r.Top, RectWidth(r) - 1, RectHeight(r) - 1), rx, ry);
    drawConvexShape(PolygonSpans(polygons, ALTERNATE, drawableBounds()), outline, Qt::RoundJoin);
}

void TCanvas::FillRect(const TRect& r)
{
    if (!brushVisible())
        return;
    TSpanPaint paint = brushPaint();
    paint.mix = R2_COPYPEN;
    paintRect(LPtoDP(r), paint);
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor color)
{
    TPixelSurface* surface = Surface();
    if (!surface)
        return;
    TSpanPaint paint;
    paint.fore = surface->ColorToPixel(color);
    const TPoint d = LPtoDP(TPoint{x, y});
    plotPixel(d.x, d.y, paint);
}

TColor TCanvas::GetPixel(int32_t x, int32_t y)
{
    TPixelSurface* surface = Surface();
    const TPoint d = LPtoDP(TPoint{x, y});
    if (!surface || d.x < 0 || d.y < 0 || d.x >= surface->Width() || d.y >= surface->Height())
        return clNone;
    return surface->PixelToColor(ReadPixel(surface->Row(d.y), d.x, surface->PixelFormat()));
}

}  // namespace orvella
