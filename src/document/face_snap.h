#pragma once
// What the layout editor snaps to while objects are dragged, and how it
// shows and rounds lengths in tenths of a millimetre.

#include "drawing/universal_ghost.h"
#include "graphics/graphics_types.h"

#include <cstdint>
#include <string>

namespace orvella {

class TGrid;
class TGuide;

// The offset that snaps a logical point: (0, 0) while Alt is held; else on
// each axis the smaller of the guide offset (within tolerance, logical
// units) and the grid offset, the grid's on a tie, or kNoSnap when neither
// snaps there. grid and guide may be null.
TPoint FaceSnapOffset(TPoint point, int32_t tolerance, const TGrid* grid, const TGuide* guide, bool altHeld);

// The same offset as the drag outlines' snapping hook answers it: an axis
// holding kNoSnap has no value.
TSnapOffset AsSnapOffset(TPoint offset);

// A length in tenths of a millimetre as the status bar shows it: -5 reads
// "-0.5mm", 123 "12.3mm".
std::string FormatTenthsMm(int32_t value);

// A dragged guide position rounded to the nearest whole millimetre (halves
// away from zero), or kept as it is when exact.
int32_t RoundGuidePosition(int32_t value, bool exact);

}  // namespace orvella
