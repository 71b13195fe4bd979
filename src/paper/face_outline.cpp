#include "paper/face_outline.h"

#include "graphics/arc_geometry.h"
#include "graphics/bitmap.h"
#include "platform/win_math.h"

#include <QPainterPath>
#include <QPolygon>

#include <cmath>

namespace orvella {

namespace {

bool usableRect(const TRect& r) { return r.Right > r.Left && r.Bottom > r.Top; }

// Appends an arc drawn by DrawArcThrough, its ends pinned to the given points.
void appendArc(TStroke& outline, const TPoint (&arc)[3], bool continueFigure)
{
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    canvas.BeginPath();
    DrawArcThrough(canvas, arc[0], arc[1], arc[2]);
    canvas.EndPath();
    const int32_t first = outline.Count();
    outline.AppendPath(canvas);
    if (outline.Count() == first)
        return;
    outline.Points(first) = arc[0];
    outline.Points(outline.Count() - 1) = arc[2];
    if (continueFigure)
        outline.Flags(first) = STROKE_LINETO;
}

QRegion polygonRegion(const TStroke& outline)
{
    QPolygon polygon;
    for (int32_t i = 0; i < outline.Count(); ++i)
        polygon << QPoint(outline.Points(i).x, outline.Points(i).y);
    return QRegion(polygon, Qt::OddEvenFill);
}

QRect qtRect(const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

}  // namespace

TBarrelArcs BarrelArcs(const TRect& r)
{
    const long double w = (long double)r.Right - r.Left;
    const long double h = (long double)r.Bottom - r.Top;
    const long double cx = r.Left + w / 2;
    const long double cy = r.Top + h / 2;
    const long double f = std::sqrt(std::fabs(h / 2 * (h / 2) - w / 2 * (w / 2)));
    TBarrelArcs arcs;
    if (h < w) {
        const int32_t a = Round(cx - f);
        const int32_t b = Round(cx + f);
        const int32_t m = Round(((long double)r.Top + r.Bottom) / 2);
        arcs = {{{a, r.Bottom}, {r.Left, m}, {a, r.Top}}, {{b, r.Top}, {r.Right, m}, {b, r.Bottom}}};
    } else {
        const int32_t a = Round(cy - f);
        const int32_t b = Round(cy + f);
        const int32_t m = Round(((long double)r.Left + r.Right) / 2);
        arcs = {{{r.Left, a}, {m, r.Top}, {r.Right, a}}, {{r.Right, b}, {m, r.Bottom}, {r.Left, b}}};
    }
    return arcs;
}

TStroke BarrelOutline(const TRect& r)
{
    TStroke outline;
    if (!usableRect(r)) {
        outline.SetRect(r);
        return outline;
    }
    const TBarrelArcs arcs = BarrelArcs(r);
    appendArc(outline, arcs.First, false);
    appendArc(outline, arcs.Second, true);
    if (outline.Count() > 0)
        outline.Flags(outline.Count() - 1) = STROKE_CLOSE;
    return outline;
}

void DrawFaceShape(TCanvas& canvas, TFaceShape shape, const TRect& r, int32_t corner)
{
    switch (shape) {
    case fsDoughnut:
    case fsEllipse:
        canvas.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        break;
    case fsRoundRect:
    case fsRectCD:
        canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, corner, corner);
        break;
    case fsBarrelCD: {
        const TStroke outline = BarrelOutline(r);
        canvas.BeginPath();
        outline.Draw(canvas);
        canvas.EndPath();
        canvas.StrokeAndFillPath();
        break;
    }
    case fsRect:
    default:
        canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        break;
    }
}

void DrawCenterShape(TCanvas& canvas, TCenterShape shape, const TRect& r)
{
    DrawFaceShape(canvas, shape == csBarrel ? fsBarrelCD : fsEllipse, r, 0);
}

QRegion FaceShapeRegion(TFaceShape shape, const TRect& r, int32_t corner)
{
    return FaceShapeRegion(shape, r, corner, corner);
}

QRegion FaceShapeRegion(TFaceShape shape, const TRect& r, int32_t cornerWidth, int32_t cornerHeight)
{
    if (!usableRect(r))
        return {};
    switch (shape) {
    case fsDoughnut:
    case fsEllipse:
        return QRegion(qtRect(r), QRegion::Ellipse);
    case fsRoundRect:
    case fsRectCD: {
        QPainterPath path;
        path.addRoundedRect(QRectF(qtRect(r)), std::max(0, cornerWidth) / 2.0, std::max(0, cornerHeight) / 2.0);
        return QRegion(path.toFillPolygon().toPolygon(), Qt::OddEvenFill);
    }
    case fsBarrelCD:
        return polygonRegion(BarrelOutline(r));
    case fsRect:
    default:
        return QRegion(qtRect(r));
    }
}

QRegion CenterShapeRegion(TCenterShape shape, const TRect& r)
{
    return FaceShapeRegion(shape == csBarrel ? fsBarrelCD : fsEllipse, r, 0);
}

}  // namespace orvella
