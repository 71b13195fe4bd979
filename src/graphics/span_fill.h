#pragma once
// Scan conversion in device pixels. A pixel belongs to a shape when its
// centre (x + 0.5, y + 0.5) lies inside, with left and top edges inside and
// right and bottom edges outside, which gives the exclusive right and bottom
// of rectangles, ellipses and fills.

#include "graphics/graphics_types.h"

#include <QPointF>

#include <vector>

namespace orvella {

struct TSpan {
    int32_t y;
    int32_t x0;  // first pixel
    int32_t x1;  // one past the last pixel
};

using TPolygonF = std::vector<QPointF>;

// Spans of the polygons under the fill mode (ALTERNATE or WINDING), sorted by
// row and x, limited to bounds.
std::vector<TSpan> PolygonSpans(const std::vector<TPolygonF>& polygons, int fillMode, const TRect& bounds);

// Spans of the ellipse inscribed in box, one per row, limited to bounds.
std::vector<TSpan> EllipseSpans(const TRect& box, const TRect& bounds);

// Splits a one-span-per-row (convex) shape into the pixels that touch its
// outside (its one-pixel outline) and the rest.
void SplitConvexSpans(const std::vector<TSpan>& spans, std::vector<TSpan>& outline, std::vector<TSpan>& interior);

}  // namespace orvella
