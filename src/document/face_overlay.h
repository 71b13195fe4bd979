#pragma once
// The editing aids the layout editor paints over a face's objects: the
// print area, the grid, the guides, the face's frame and its trim line.

#include "graphics/graphics_types.h"

namespace orvella {

class TCanvas;
class TFaceInfo;
class TGrid;
class TGuide;

// Paints on a canvas already mapped to the face's logical units, the
// face's outer rectangle at the origin; siteSize is the face's logical
// width and height. grid and guide may be null. The canvas's pen and brush
// come back as they were.
void PaintFaceOverlay(TCanvas& canvas, const TFaceInfo& face, const TGrid* grid, const TGuide* guide, TSize siteSize);

}  // namespace orvella
