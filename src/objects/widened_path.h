#pragma once
// The areas the shape objects paint, test and mask: a figure widened by a
// geometric pen (caps and mitred joins) as a painter path in logical units,
// and the ways that area meets a canvas. Painting clips the canvas to the
// area and lets a colour fill cover it, so gradients follow the figure.

#include "graphics/graphics_types.h"

#include <QPainterPath>

#include <vector>

namespace orvella {

class TCanvas;
class TDrawSite;
class TRotator;
class TStroke;

enum class TPenCap { Round, Square, Flat };

// A painter path of the points, open or closed.
QPainterPath PolylinePath(const std::vector<TPoint>& points, bool closed);
// A stroke's figures (moves, lines and cubic Béziers) as a painter path.
QPainterPath StrokePath(const TStroke& stroke);

// The band a pen of width (logical units) covers along path, as a winding
// area. A figure of a single point still gets its dot (round cap) or square.
QPainterPath WidenPath(const QPainterPath& path, double width, TPenCap cap);

// The smallest logical rectangle holding the area, each edge rounded to the
// nearest unit; empty for an empty area.
TRect AreaBounds(const QPainterPath& area);

// Combines the area into the canvas's clip region (RGN_AND or RGN_DIFF),
// mapped to device pixels in floating point and scan converted with the
// canvas's pixel rule; a canvas without a clip region starts from the area.
void CombineClipWithArea(TCanvas& canvas, const QPainterPath& area, int mode);

// The one-pixel probe: whether the pixel whose top-left corner is the
// logical point (one unit per pixel) is covered by the area.
bool AreaCoversPixel(const QPainterPath& area, TPoint logical);

// A coordinate rounded half away from zero and held to the 32-bit range:
// a figure reaching beyond it is cut there rather than failing.
int32_t ClampedCoordinate(long double value);
// The point turned by the rotator, each coordinate clamped the same way.
TPoint TurnClamped(const TRotator& rotator, TPoint point);

// How far off a figure a click still hits when no site tells a pixel's size.
inline constexpr int32_t kHitToleranceOffSite = 3;

// The logical length of pixels device pixels on site, or fallback off a site.
int32_t SitePixelLength(const TDrawSite* site, int32_t pixels, int32_t fallback);

}  // namespace orvella
