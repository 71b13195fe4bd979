#pragma once
// Quarter turns and mirroring of a bitmap.

#include "graphics/bitmap.h"

namespace orvella {

// Quarter-turn codes: 0 none, 1 a quarter turn clockwise, 2 a half turn,
// 3 a quarter turn counter-clockwise. Mirror codes: 0 none, 1 horizontal
// (each row reversed), 2 vertical (row order reversed), 3 both.
enum class TQuarterTurn : int { None = 0, Clockwise = 1, Half = 2, CounterClockwise = 3 };
enum class TMirror : int { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

// Writes the turned and mirrored copy of source into destination, which
// becomes 24-bit (width and height swapped for quarter turns). Sources of any
// format are first converted to 24-bit colour; a picture of another kind is
// drawn into a bitmap by the caller. Source and destination may be the same.
void TurnBitmap(TBitmap& destination, const TBitmap& source, TQuarterTurn turn, TMirror mirror);

}  // namespace orvella
