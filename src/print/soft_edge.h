#pragma once
// Soft face edges: white that fades in over about 5 mm at a face's outline
// and around its hole, laid over what was printed.

#include "graphics/bitmap.h"

namespace orvella {

class TCanvas;
class TFaceInfo;

// An 8-bit mask over the face's outer rectangle, one pixel per 0.1 mm: 255
// (white) outside the face, 0 well inside, blurred in between.
std::unique_ptr<TBitmap> MakeSoftEdgeMask(const TFaceInfo& face);

// Whitens the device pixels of area on canvas by the mask. The canvas maps
// logical units of the sheet (the mask lies at outerTopLeft).
void ApplySoftEdge(TCanvas& canvas, const TRect& area, const TBitmap& mask, TPoint outerTopLeft);

}  // namespace orvella
