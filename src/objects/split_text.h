#pragma once
// Splitting a text of several lines into one text object per line, laid
// out in equal strips across the area the whole text covers.

#include "graphics/graphics_types.h"

#include <functional>

namespace orvella {

class TDrawObject;
class TDrawSite;

// Over the selected text objects with more than one line (they stay as
// they are): the area is the ink bounds of their lines centred on the
// face's centre, cut into one strip per line from the top, or from the
// right for vertical text. Each line becomes a new text object copied from
// its source (a wizard text's input mark and caption are not copied), with
// that line and strip, passed to created, added to the site with an add
// step and selected; the old selection is cleared first. Answers how many
// objects were made. The caller switches the move settings off.
int SplitTexts(TDrawSite& site, TSize faceSize, const std::function<void(TDrawObject&)>& created);

}  // namespace orvella
