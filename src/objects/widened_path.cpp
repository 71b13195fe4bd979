#include "objects/widened_path.h"

#include "drawing/draw_site.h"
#include "graphics/canvas.h"
#include "graphics/canvas_paint.h"
#include "graphics/span_fill.h"
#include "graphics/stroke.h"
#include "objects/transformer.h"

#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace orvella {

namespace {

// GDI's default limit: a join longer than ten half widths is bevelled.
constexpr double kShapeMiterLimit = 10.0;

Qt::PenCapStyle qtPenCap(TPenCap cap)
{
    switch (cap) {
    case TPenCap::Round: return Qt::RoundCap;
    case TPenCap::Square: return Qt::SquareCap;
    case TPenCap::Flat: return Qt::FlatCap;
    }
    return Qt::RoundCap;
}

QTransform logicalToDeviceTransform(const TCanvas& canvas)
{
    const TCoordMap& map = canvas.Mapping();
    const double sx = double(map.ViewportExt.cx) / (map.WindowExt.cx ? map.WindowExt.cx : 1);
    const double sy = double(map.ViewportExt.cy) / (map.WindowExt.cy ? map.WindowExt.cy : 1);
    return QTransform(sx, 0, 0, sy, map.ViewportOrg.x - sx * map.WindowOrg.x, map.ViewportOrg.y - sy * map.WindowOrg.y);
}

QRegion deviceAreaRegion(const QPainterPath& deviceArea, const TRect& bounds)
{
    std::vector<TPolygonF> polygons;
    for (const QPolygonF& polygon : deviceArea.toSubpathPolygons())
        polygons.emplace_back(polygon.begin(), polygon.end());
    return RegionFromSpans(PolygonSpans(polygons, WINDING, bounds));
}

int32_t clampedPixel(double value)
{
    return int32_t(std::clamp(value, -1073741824.0, 1073741824.0));
}

TRect outerDevicePixels(const QRectF& r)
{
    return {clampedPixel(std::floor(r.left())) - 1, clampedPixel(std::floor(r.top())) - 1,
            clampedPixel(std::ceil(r.right())) + 1, clampedPixel(std::ceil(r.bottom())) + 1};
}

}  // namespace

QPainterPath PolylinePath(const std::vector<TPoint>& points, bool closed)
{
    QPainterPath path;
    if (points.empty())
        return path;
    path.moveTo(points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i].x, points[i].y);
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath StrokePath(const TStroke& stroke)
{
    QPainterPath path;
    const int32_t count = stroke.Count();
    for (int32_t i = 0; i < count; ++i) {
        const TPoint p = stroke.Points(i);
        switch (stroke.Flags(i)) {
        case STROKE_MOVETO: path.moveTo(p.x, p.y); break;
        case STROKE_BEZIER:
        case STROKE_BEZIER_CLOSE:
            // Two controls and the end; a cut-off run becomes lines.
            if (i + 2 < count) {
                const TPoint c2 = stroke.Points(i + 1);
                const TPoint end = stroke.Points(i + 2);
                path.cubicTo(p.x, p.y, c2.x, c2.y, end.x, end.y);
                const bool closes = stroke.Flags(i + 2) == STROKE_BEZIER_CLOSE;
                i += 2;
                if (closes)
                    path.closeSubpath();
            } else {
                path.lineTo(p.x, p.y);
            }
            break;
        case STROKE_CLOSE:
            path.lineTo(p.x, p.y);
            path.closeSubpath();
            break;
        default: path.lineTo(p.x, p.y); break;
        }
    }
    return path;
}

QPainterPath WidenPath(const QPainterPath& path, double width, TPenCap cap)
{
    // A lone point is a move the path keeps; Qt drops a line to the same point.
    if (path.elementCount() == 0 || width <= 0)
        return {};
    QPainterPath area;
    const QRectF extent = path.boundingRect();
    if (extent.width() == 0 && extent.height() == 0) {
        // A figure of one point: the stroker draws nothing, a pen leaves its cap.
        const double h = width / 2;
        const QPointF at = extent.topLeft();
        if (cap == TPenCap::Round)
            area.addEllipse(at, h, h);
        else if (cap == TPenCap::Square)
            area.addRect(at.x() - h, at.y() - h, width, width);
        return area;
    }
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(qtPenCap(cap));
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(kShapeMiterLimit);
    area = stroker.createStroke(path);
    area.setFillRule(Qt::WindingFill);
    return area;
}

TRect AreaBounds(const QPainterPath& area)
{
    if (area.isEmpty())
        return {};
    const QRectF r = area.boundingRect();
    return {ClampedCoordinate(r.left()), ClampedCoordinate(r.top()), ClampedCoordinate(r.right()),
            ClampedCoordinate(r.bottom())};
}

void CombineClipWithArea(TCanvas& canvas, const QPainterPath& area, int mode)
{
    const QPainterPath device = logicalToDeviceTransform(canvas).map(area);
    const std::optional<QRegion>& current = canvas.ClipRegion();
    // Only what can be drawn is scan converted, however far the figure reaches.
    TRect box = canvas.LPtoDP(canvas.GetClipBox());
    if (current) {
        const QRect clip = current->boundingRect();
        box = {clip.left(), clip.top(), clip.left() + clip.width(), clip.top() + clip.height()};
    }
    TRect bounds = outerDevicePixels(device.boundingRect());
    bounds = {std::max(bounds.Left, box.Left), std::max(bounds.Top, box.Top), std::min(bounds.Right, box.Right),
              std::min(bounds.Bottom, box.Bottom)};
    const QRegion region = bounds.IsEmpty() ? QRegion() : deviceAreaRegion(device, bounds);
    if (!current) {
        if (mode == RGN_AND) {
            canvas.SelectClipRgn(region);
        } else {
            // Cutting from no clip at all cuts from the whole surface.
            const TRect all = canvas.LPtoDP(canvas.GetClipBox());
            canvas.SelectClipRgn(QRegion(all.Left, all.Top, all.Right - all.Left, all.Bottom - all.Top).subtracted(region));
        }
        return;
    }
    canvas.SelectClipRgn(mode == RGN_DIFF ? current->subtracted(region) : current->intersected(region));
}

bool AreaCoversPixel(const QPainterPath& area, TPoint logical)
{
    std::vector<TPolygonF> polygons;
    for (const QPolygonF& polygon : area.toSubpathPolygons())
        polygons.emplace_back(polygon.begin(), polygon.end());
    return !PolygonSpans(polygons, WINDING, {logical.x, logical.y, logical.x + 1, logical.y + 1}).empty();
}

int32_t SitePixelLength(const TDrawSite* site, int32_t pixels, int32_t fallback)
{
    if (!site)
        return fallback;
    return std::abs(site->DeviceToLogical({pixels, 0}).x - site->DeviceToLogical({0, 0}).x);
}

int32_t ClampedCoordinate(long double value)
{
    if (std::isnan(value))
        return 0;
    const long double rounded = value < 0 ? -std::floor(-value + 0.5L) : std::floor(value + 0.5L);
    return int32_t(std::clamp<long double>(rounded, std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max()));
}

TPoint TurnClamped(const TRotator& rotator, TPoint point)
{
    const TPoint centre = rotator.Centre();
    const long double dx = (long double)point.x - centre.x;
    const long double dy = (long double)point.y - centre.y;
    return {ClampedCoordinate(centre.x + (dx * rotator.Cos() - dy * rotator.Sin())),
            ClampedCoordinate(centre.y + (dx * rotator.Sin() + dy * rotator.Cos()))};
}

}  // namespace orvella
