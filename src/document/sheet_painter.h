#pragma once
// Painting a sheet of a label document, or one face of it, at a given
// scale: the one painting path of the screen's sheet view, the picture
// export and the command-line renderer. Scales are percents of the screen
// size (96 pixels per inch); lengths on papers and faces are 0.1 mm.

#include "graphics/graphics_types.h"

#include <cstdint>

namespace orvella {

class TBitmap;
class TCanvas;
class TLabelData;

// The scale at which the screen size becomes dpi, in whole percents, so
// only near (180 dpi gives 187, which is 179.52 dpi); the ...AtDpi functions
// below render at any resolution exactly.
int32_t ScaleForDpi(int32_t dpi);

// The finest resolution the ...AtDpi functions accept.
constexpr int32_t kMaxPaintPpi = 9600;

// A picture larger than this in either direction is refused rather than
// allocated (about 1.7 m at 254 pixels per 10 mm).
constexpr int32_t kMaxPaintPixels = 20000;

// One face of the current sheet of data's effective paper: a 24-bit bitmap
// of the face's bounds (with its bleed), the face's objects drawn and
// everything outside the face's outline filled white. A face without
// objects gives a white bitmap of the face's size. Raises
// std::out_of_range for a face the paper does not have and
// std::length_error for a picture too large to make.
void RenderFace(TLabelData& data, int32_t face, int32_t scale, TBitmap& out);

// The whole current sheet: the paper white, its faces as the paper site
// shows them, and each face's objects placed at the face, clipped to the
// face's outline.
void RenderSheet(TLabelData& data, int32_t scale, TBitmap& out);

// RenderFace and RenderSheet at scale 100 on a canvas of dpi pixels per
// inch, as a printer of that resolution maps the sheet (0.1 mm units at
// exactly dpi / 254 pixels each). Raises std::out_of_range for a dpi
// outside 1..kMaxPaintPpi.
void RenderFaceAtDpi(TLabelData& data, int32_t face, int32_t dpi, TBitmap& out);
void RenderSheetAtDpi(TLabelData& data, int32_t dpi, TBitmap& out);

// The same onto any canvas with plain pixel mapping, the paper's top-left
// corner at deviceOrigin.
void PaintSheet(TCanvas& canvas, TPoint deviceOrigin, TLabelData& data, int32_t scale);

// The device size of a logical size at scale, as a draw site computes it.
TSize DeviceSizeAt(TSize logical, int32_t scale);

}  // namespace orvella
