#include "graphics/span_fill.h"

#include <algorithm>
#include <cmath>

namespace orvella {

namespace {

struct Edge {
    double top, bottom;  // top < bottom
    double xAtTop, slope;
    int direction;
};

struct Crossing {
    double x;
    int direction;
};

int32_t firstPixelAtOrAfter(double centre)
{
    const double value = std::ceil(centre - 0.5);
    if (value < -2147483647.0)
        return -2147483647;
    if (value > 2147483647.0)
        return 2147483647;
    return int32_t(value);
}

void addSpan(std::vector<TSpan>& spans, int32_t y, int32_t x0, int32_t x1, const TRect& bounds)
{
    x0 = std::max(x0, bounds.Left);
    x1 = std::min(x1, bounds.Right);
    if (x0 >= x1)
        return;
    if (!spans.empty() && spans.back().y == y && spans.back().x1 >= x0) {
        spans.back().x1 = std::max(spans.back().x1, x1);
        return;
    }
    spans.push_back({y, x0, x1});
}

}  // namespace

std::vector<TSpan> PolygonSpans(const std::vector<TPolygonF>& polygons, int fillMode, const TRect& bounds)
{
    std::vector<Edge> edges;
    double minY = 1e300, maxY = -1e300;
    for (const TPolygonF& polygon : polygons) {
        const std::size_t n = polygon.size();
        for (std::size_t i = 0; i < n; ++i) {
            const QPointF& a = polygon[i];
            const QPointF& b = polygon[(i + 1) % n];
            if (a.y() == b.y() || !std::isfinite(a.y()) || !std::isfinite(b.y()))
                continue;
            const bool down = a.y() < b.y();
            const QPointF& top = down ? a : b;
            const QPointF& bottom = down ? b : a;
            edges.push_back({top.y(), bottom.y(), top.x(), (bottom.x() - top.x()) / (bottom.y() - top.y()),
                             down ? 1 : -1});
            minY = std::min(minY, top.y());
            maxY = std::max(maxY, bottom.y());
        }
    }
    std::vector<TSpan> spans;
    if (edges.empty())
        return spans;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });
    const int32_t firstRow = std::max(bounds.Top, firstPixelAtOrAfter(minY));
    const int32_t endRow = std::min(bounds.Bottom, firstPixelAtOrAfter(maxY));
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t nextEdge = 0;
    for (int32_t y = firstRow; y < endRow; ++y) {
        const double centre = y + 0.5;
        while (nextEdge < edges.size() && edges[nextEdge].top <= centre)
            active.push_back(&edges[nextEdge++]);
        std::erase_if(active, [centre](const Edge* e) { return e->bottom <= centre; });
        crossings.clear();
        for (const Edge* e : active)
            if (e->top <= centre)
                crossings.push_back({e->xAtTop + (centre - e->top) * e->slope, e->direction});
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += fillMode == 2 ? crossings[i].direction : 1;
            const bool inside = fillMode == 2 ? winding != 0 : (winding & 1) != 0;
            if (inside)
                addSpan(spans, y, firstPixelAtOrAfter(crossings[i].x), firstPixelAtOrAfter(crossings[i + 1].x), bounds);
        }
    }
    return spans;
}

std::vector<TSpan> EllipseSpans(const TRect& box, const TRect& bounds)
{
    std::vector<TSpan> spans;
    const double a = (double(box.Right) - box.Left) / 2;
    const double b = (double(box.Bottom) - box.Top) / 2;
    if (a <= 0 || b <= 0)
        return spans;
    const double cx = (double(box.Left) + box.Right) / 2;
    const double cy = (double(box.Top) + box.Bottom) / 2;
    const int32_t firstRow = std::max(box.Top, bounds.Top);
    const int32_t endRow = std::min(box.Bottom, bounds.Bottom);
    for (int32_t y = firstRow; y < endRow; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        if (dy * dy >= 1)
            continue;
        const double half = a * std::sqrt(1 - dy * dy);
        addSpan(spans, y, firstPixelAtOrAfter(cx - half), firstPixelAtOrAfter(cx + half), bounds);
    }
    return spans;
}

void SplitConvexSpans(const std::vector<TSpan>& spans, std::vector<TSpan>& outline, std::vector<TSpan>& interior)
{
    outline.clear();
    interior.clear();
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const TSpan& row = spans[i];
        const bool hasAbove = i > 0 && spans[i - 1].y == row.y - 1;
        const bool hasBelow = i + 1 < spans.size() && spans[i + 1].y == row.y + 1;
        int32_t innerStart = row.x1, innerEnd = row.x1;
        if (hasAbove && hasBelow) {
            // Inner pixels have both vertical neighbours inside and are not at the row's ends.
            innerStart = std::max({row.x0 + 1, spans[i - 1].x0, spans[i + 1].x0});
            innerEnd = std::min({row.x1 - 1, spans[i - 1].x1, spans[i + 1].x1});
        }
        if (innerStart >= innerEnd) {
            outline.push_back(row);
            continue;
        }
        outline.push_back({row.y, row.x0, innerStart});
        interior.push_back({row.y, innerStart, innerEnd});
        outline.push_back({row.y, innerEnd, row.x1});
    }
}

}  // namespace orvella
