#include "graphics/stroke.h"

#include "graphics/aa_line.h"
#include "graphics/rect_utils.h"

#include <algorithm>
#include <cmath>

namespace orvella {

namespace {

constexpr long double kKappa = 0.5522847L;  // Bézier quarter circle
constexpr int kBezierSteps = 63;
constexpr long double kFlattenStep = 8;

// Calls lineTo(logical point) for each point along the Bézier whose device
// pixel differs from the previous one, the end point last.
template <typename LineTo>
void walkBezier(const TCanvas& canvas, TPoint p0, TPoint p1, TPoint p2, TPoint p3, LineTo lineTo)
{
    TPoint lastPixel = canvas.LPtoDP(p0);
    for (int j = 1; j < kBezierSteps; ++j) {
        const TPoint p = BezierPoint(p0, p1, p2, p3, (long double)j / kBezierSteps);
        const TPoint pixel = canvas.LPtoDP(p);
        if (pixel == lastPixel)
            continue;
        lineTo(p, pixel);
        lastPixel = pixel;
    }
    const TPoint end = canvas.LPtoDP(p3);
    if (!(end == lastPixel))
        lineTo(p3, end);
}

}  // namespace

TPoint BezierPoint(TPoint p0, TPoint p1, TPoint p2, TPoint p3, long double t)
{
    const long double u = 1 - t;
    const long double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {Round(a * p0.x + b * p1.x + c * p2.x + d * p3.x), Round(a * p0.y + b * p1.y + c * p2.y + d * p3.y)};
}

void TStroke::SetCount(int32_t count)
{
    const std::size_t n = std::size_t(std::max(0, count));
    points_.resize(n);
    flags_.resize(n);
}

void TStroke::AddPoint(int32_t x, int32_t y, uint8_t flag)
{
    points_.push_back({x, y});
    flags_.push_back(flag);
}

TRect TStroke::Bounds() const
{
    if (points_.empty())
        return {};
    TRect r{points_[0].x, points_[0].y, points_[0].x, points_[0].y};
    for (const TPoint& p : points_) {
        r.Left = std::min(r.Left, p.x);
        r.Top = std::min(r.Top, p.y);
        r.Right = std::max(r.Right, p.x);
        r.Bottom = std::max(r.Bottom, p.y);
    }
    return r;
}

void TStroke::Draw(TCanvas& canvas) const
{
    const int32_t count = Count();
    if (count == 0) {
        canvas.MoveTo(0, 0);
        canvas.LineTo(0, 0);
        canvas.CloseFigure();
        return;
    }
    TPoint start = points_[0];
    TPoint last = canvas.PenPos();
    int32_t i = 0;
    while (i < count) {
        const TPoint p = points_[std::size_t(i)];
        switch (flags_[std::size_t(i)]) {
        case STROKE_MOVETO:
            canvas.MoveTo(p.x, p.y);
            start = last = p;
            ++i;
            break;
        case STROKE_LINETO: {
            int32_t end = i;
            while (end < count && flags_[std::size_t(end)] == STROKE_LINETO)
                ++end;
            canvas.PolylineTo({points_.begin() + i, points_.begin() + end});
            last = points_[std::size_t(end - 1)];
            i = end;
            break;
        }
        case STROKE_CLOSE:
            canvas.LineTo(p.x, p.y);
            canvas.LineTo(start.x, start.y);
            canvas.CloseFigure();
            last = start;
            ++i;
            break;
        case STROKE_BEZIER: {
            if (i + 2 >= count) {
                // A Bézier needs three points; a short one is not drawn.
                canvas.CloseFigure();
                return;
            }
            walkBezier(canvas, last, p, points_[std::size_t(i + 1)], points_[std::size_t(i + 2)],
                       [&canvas](TPoint logical, TPoint) { canvas.LineTo(logical.x, logical.y); });
            last = points_[std::size_t(i + 2)];
            if (flags_[std::size_t(i + 2)] == STROKE_BEZIER_CLOSE) {
                canvas.LineTo(start.x, start.y);
                canvas.CloseFigure();
                last = start;
            }
            i += 3;
            break;
        }
        default:
            canvas.CloseFigure();
            return;
        }
    }
}

void TStroke::MakePath(TCanvas& canvas) const
{
    canvas.BeginPath();
    Draw(canvas);
    canvas.EndPath();
}

void TStroke::AppendPath(const TCanvas& canvas)
{
    std::vector<TPoint> points;
    std::vector<uint8_t> types;
    canvas.GetPath(points, types);
    points_.insert(points_.end(), points.begin(), points.end());
    flags_.insert(flags_.end(), types.begin(), types.end());
}

void TStroke::Flatten()
{
    const int32_t count = Count();
    if (count == 0)
        return;
    std::vector<TPoint> points;
    std::vector<uint8_t> flags;
    auto add = [&](TPoint p, uint8_t flag) {
        points.push_back(p);
        flags.push_back(flag);
    };
    auto edge = [&](TPoint a, TPoint b) {
        add(a, STROKE_LINETO);
        const long double dx = (long double)b.x - a.x, dy = (long double)b.y - a.y;
        const long double length = std::sqrt(dx * dx + dy * dy);
        long double x = a.x, y = a.y, remaining = length;
        while (remaining > kFlattenStep) {
            x += dx * kFlattenStep / length;
            y += dy * kFlattenStep / length;
            add({Round(x), Round(y)}, STROKE_LINETO);
            remaining -= kFlattenStep;
        }
    };
    TPoint start{}, last{};
    for (int32_t i = 0; i < count; ++i) {
        const TPoint p = points_[std::size_t(i)];
        const uint8_t flag = flags_[std::size_t(i)];
        if (flag == STROKE_MOVETO) {
            add(p, STROKE_MOVETO);
            start = last = p;
        } else if (flag == STROKE_LINETO) {
            edge(last, p);
            last = p;
        } else if (flag == STROKE_CLOSE) {
            edge(last, p);
            edge(p, start);
            flags.back() = STROKE_CLOSE;
            last = start;
        } else if (flag == STROKE_BEZIER && i + 2 < count) {
            for (int32_t k = 0; k < 3; ++k)
                add(points_[std::size_t(i + k)], flags_[std::size_t(i + k)]);
            last = points_[std::size_t(i + 2)];
            i += 2;
        } else {
            add(p, flag);
        }
    }
    points_.swap(points);
    flags_.swap(flags);
}

void TStroke::SetRect(const TRect& r)
{
    Clear();
    AddPoint(r.Left, r.Top, STROKE_MOVETO);
    AddPoint(r.Right, r.Top, STROKE_LINETO);
    AddPoint(r.Right, r.Bottom, STROKE_LINETO);
    AddPoint(r.Left, r.Bottom, STROKE_CLOSE);
}

void TStroke::SetEllipse(const TRect& r)
{
    const TPoint c = RectCenter(r);
    const int32_t a = Round(RectWidth(r) * kKappa / 2);
    const int32_t b = Round(RectHeight(r) * kKappa / 2);
    Clear();
    AddPoint(r.Right, c.y, STROKE_MOVETO);
    const TPoint curves[] = {{r.Right, c.y - b},  {c.x + a, r.Top},    {c.x, r.Top},     {c.x - a, r.Top},
                             {r.Left, c.y - b},   {r.Left, c.y},       {r.Left, c.y + b}, {c.x - a, r.Bottom},
                             {c.x, r.Bottom},     {c.x + a, r.Bottom}, {r.Right, c.y + b}, {r.Right, c.y}};
    for (const TPoint& p : curves)
        AddPoint(p.x, p.y, STROKE_BEZIER);
    flags_.back() = STROKE_BEZIER_CLOSE;
}

void TStroke::SetRoundRect(const TRect& r, int32_t corner)
{
    const int32_t h = corner / 2;
    const int32_t b = Round(corner * kKappa / 2);
    const int32_t L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    Clear();
    AddPoint(R, T + h, STROKE_MOVETO);
    AddPoint(R, T + h - b, STROKE_BEZIER);
    AddPoint(R - h + b, T, STROKE_BEZIER);
    AddPoint(R - h, T, STROKE_BEZIER);
    AddPoint(L + h, T, STROKE_LINETO);
    AddPoint(L + h - b, T, STROKE_BEZIER);
    AddPoint(L, T + h - b, STROKE_BEZIER);
    AddPoint(L, T + h, STROKE_BEZIER);
    AddPoint(L, B - h, STROKE_LINETO);
    AddPoint(L, B - h + b, STROKE_BEZIER);
    AddPoint(L + h - b, B, STROKE_BEZIER);
    AddPoint(L + h, B, STROKE_BEZIER);
    AddPoint(R - h, B, STROKE_LINETO);
    AddPoint(R - h + b, B, STROKE_BEZIER);
    AddPoint(R, B - h + b, STROKE_BEZIER);
    AddPoint(R, B - h, STROKE_BEZIER);
    AddPoint(R, T + h, STROKE_CLOSE);
}

void TStroke::RenderAntiAliased(TBitmap& bitmap) const
{
    const int32_t count = Count();
    if (count == 0)
        return;
    TAALineAlphaMap renderer;
    renderer.SetBitmap(bitmap);
    const TCanvas& canvas = bitmap.Canvas();
    TPoint start{}, startPixel{}, last{};
    for (int32_t i = 0; i < count; ++i) {
        const TPoint p = points_[std::size_t(i)];
        const TPoint pixel = canvas.LPtoDP(p);
        switch (flags_[std::size_t(i)]) {
        case STROKE_MOVETO:
            renderer.MoveTo(pixel.x, pixel.y);
            start = last = p;
            startPixel = pixel;
            break;
        case STROKE_LINETO:
            renderer.LineTo(pixel.x, pixel.y);
            last = p;
            break;
        case STROKE_CLOSE:
            renderer.LineTo(pixel.x, pixel.y);
            renderer.LineTo(startPixel.x, startPixel.y);
            last = start;
            break;
        case STROKE_BEZIER:
            if (i + 2 >= count)
                return;
            walkBezier(canvas, last, p, points_[std::size_t(i + 1)], points_[std::size_t(i + 2)],
                       [&renderer](TPoint, TPoint device) { renderer.LineTo(device.x, device.y); });
            last = points_[std::size_t(i + 2)];
            if (flags_[std::size_t(i + 2)] == STROKE_BEZIER_CLOSE) {
                renderer.LineTo(startPixel.x, startPixel.y);
                last = start;
            }
            i += 2;
            break;
        default:
            return;
        }
    }
}

}  // namespace orvella
