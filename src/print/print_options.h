#pragma once
// What one print job prints: copies, the optional outlines and patterns,
// the shift of the whole print and the faces. Lengths are 0.1 mm.

#include "graphics/graphics_types.h"

#include <cstdint>
#include <vector>

namespace orvella {

struct TPrintSpec {
    int32_t Copies = 1;
    bool PrintFrame = false;
    bool PrintCutLine = false;
    bool PrintPaperImage = false;
    // Positive x moves the print right, positive y down.
    TPoint Offset;
    bool AllFaces = true;
    // One entry per face; a missing entry counts as not selected.
    std::vector<uint8_t> FaceSelection;
    bool SoftEdge = false;

    bool FaceSelected(int32_t face) const
    {
        return AllFaces || (face >= 0 && std::size_t(face) < FaceSelection.size() && FaceSelection[std::size_t(face)] != 0);
    }
};

}  // namespace orvella
