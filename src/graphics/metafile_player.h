#pragma once
// Plays the records of an enhanced metafile or of a placeable Windows
// metafile onto a canvas, the picture's frame stretched into a rectangle.
// The bytes come from documents, files and the clipboard: every size,
// count and offset is checked before it is used, unknown records are
// skipped by their size, and a damaged metafile draws what it could.

#include "graphics/graphics_types.h"

#include <string_view>

namespace orvella {

class TCanvas;

// rect is in the canvas's logical coordinates. Drawing stays inside rect
// and the canvas's clip; the canvas's state is as before afterwards.
// Returns false when the bytes are neither kind of metafile.
bool PlayMetafile(TCanvas& canvas, std::string_view bytes, const TRect& rect);

}  // namespace orvella
