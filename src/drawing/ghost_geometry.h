#pragma once
// The plane geometry the drag outlines share, apart from drawing so that it
// can be checked with numbers alone. Angles are degrees, positive clockwise
// on screen (y grows downward), as objects turn.

#include "graphics/graphics_types.h"

namespace orvella {

// p turned about centre by degrees, rounded half away from zero.
TPoint TurnPoint(TPoint p, TPoint centre, long double degrees);
// The direction of p seen from centre, in (-180, 180]; 0 for p == centre.
long double PointAngle(TPoint p, TPoint centre);
// The turn from direction a to direction b, in (-180, 180].
long double AngleBetween(long double a, long double b);
long double PointDistance(TPoint a, TPoint b);
// angle rounded to the nearest multiple of step (halves away from zero);
// a step of 0 or below leaves the angle as it is.
long double PhaseAngle(long double angle, int32_t step);
// The nearest multiple of 45 degrees, halves rounding up in size (67 gives
// 45, 68 gives 90).
int32_t SnapToEighth(int32_t degrees);
// The point a moved end takes for a horizontal or vertical line from fixed:
// horizontal when the line leans less than 45 degrees, vertical otherwise
// (an exact diagonal and a line of no length included).
TPoint ConstrainLineEnd(TPoint moved, TPoint fixed);
// The offset that keeps centre at least 10 units inside limit on each axis.
TPoint CentreInsideOffset(TPoint centre, const TRect& limit);

}  // namespace orvella
