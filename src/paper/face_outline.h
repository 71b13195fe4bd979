#pragma once
// The outline of a face shape or hole shape in a rectangle: the barrel's
// construction, drawing the outline with a canvas's pen and brush, and the
// region it covers. Rectangles and regions are in whatever coordinates the
// caller gives (logical units, or device pixels for a canvas's regions).

#include "graphics/canvas.h"
#include "graphics/stroke.h"
#include "paper/face_shape.h"

#include <QRegion>

namespace orvella {

// The three points of each of the barrel's two arcs, in drawing order; the
// straight edges run from arc 1's end to arc 2's start and from arc 2's end
// back to arc 1's start.
struct TBarrelArcs {
    TPoint First[3];
    TPoint Second[3];
};
TBarrelArcs BarrelArcs(const TRect& r);

// The barrel as one closed figure: arc, edge, arc, edge.
TStroke BarrelOutline(const TRect& r);

// Draws the outline of a face shape in r (corner is the whole corner
// ellipse size of rounded shapes).
void DrawFaceShape(TCanvas& canvas, TFaceShape shape, const TRect& r, int32_t corner);
void DrawCenterShape(TCanvas& canvas, TCenterShape shape, const TRect& r);

// The region the outline covers. A canvas may scale x and y apart, so the
// corner ellipse of rounded shapes has a width and a height of its own.
QRegion FaceShapeRegion(TFaceShape shape, const TRect& r, int32_t corner);
QRegion FaceShapeRegion(TFaceShape shape, const TRect& r, int32_t cornerWidth, int32_t cornerHeight);
QRegion CenterShapeRegion(TCenterShape shape, const TRect& r);

}  // namespace orvella
