#pragma once
// Circular arcs through three points, their bounds, and their drawing as a
// polyline or as the outline of a pen-wide band; a flat parabola stands in
// for arcs that are nearly straight or huge. Angles are radians from +x
// toward +y (clockwise on screen, y grows downward).

#include "graphics/canvas.h"

namespace orvella {

struct TArc {
    int32_t cx = 0;
    int32_t cy = 0;
    int32_t Radius = 0;
    long double StartAngle = 0;
    long double EndAngle = 0;  // the arc runs toward increasing angles, through 0 when start > end
};

struct TCircle {
    TPoint Center;
    long double Radius = 0;
};

TPoint ArcPoint(const TArc& arc, long double angle, long double radius);
TCircle CircleThroughPoints(TPoint s, TPoint m, TPoint e);
TArc ArcFromPoints(TPoint s, TPoint m, TPoint e);
void ArcEndPoints(const TArc& arc, TPoint& start, TPoint& middle, TPoint& end);
TRect ArcBounds(const TArc& arc);
void DrawArc(TCanvas& canvas, const TArc& arc);
void DrawArcBand(TCanvas& canvas, const TArc& arc);
void DrawParabola(TCanvas& canvas, TPoint s, TPoint m, TPoint e);
void DrawParabolaBand(TCanvas& canvas, TPoint s, TPoint m, TPoint e);
// The arc, or the parabola when the arc is nearly straight or huge.
void DrawArcThrough(TCanvas& canvas, TPoint s, TPoint m, TPoint e);
// The band variant; the figure is closed afterwards.
void DrawArcBandThrough(TCanvas& canvas, TPoint s, TPoint m, TPoint e);
// The point bulge units from the chord's middle, square to the chord (bulge
// limited to -4000..4000).
TPoint BulgeMiddlePoint(TPoint s, TPoint e, int32_t bulge);
// -1, 0 or 1: the side of c relative to the line a -> b.
int PointOrientation(TPoint a, TPoint b, TPoint c);
// The signed height of the arc through s, p, e over the chord s-e.
int32_t SignedSagitta(TPoint s, TPoint p, TPoint e);
// The arc over a chord from p1 to p2 that rises bulge units above it.
TArc ArcOfChord(TPoint p1, TPoint p2, long double bulge);

// Arcs flatter than this (units) or wider than kMaxArcRadius are drawn as parabolas.
constexpr int32_t kFlatArcSagitta = 20;
constexpr int32_t kMaxArcRadius = 7999;

}  // namespace orvella
