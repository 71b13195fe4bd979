#pragma once
// Plays the records of an enhanced metafile or of a placeable Windows
// metafile onto a canvas, the picture's frame stretched into a rectangle.
// The bytes come from documents, files and the clipboard: every size,
// count and offset is checked before it is used, unknown records are
// skipped by their size, and a damaged metafile draws what it could.

#include "graphics/graphics_types.h"

#include <string>
#include <string_view>

namespace orvella {

class TCanvas;

// rect is in the canvas's logical coordinates. Drawing stays inside rect
// and the canvas's clip; the canvas's state is as before afterwards.
// Returns false when the bytes are neither kind of metafile.
bool PlayMetafile(TCanvas& canvas, std::string_view bytes, const TRect& rect);

// An enhanced metafile showing the part of this one that rect covers, rect
// in the picture's screen pixels (96 an inch): the frame moves onto rect
// and a clip to it comes first, the records stay as they are. Empty when
// the bytes are no enhanced metafile.
std::string ClipEnhancedMetafile(std::string_view bytes, const TRect& rect);

}  // namespace orvella
