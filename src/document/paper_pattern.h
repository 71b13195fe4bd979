#pragma once
// The paper's own printed pattern (the design a label maker prints on its
// sheets) as drawing objects of one face. They lie in their own layer
// group under the user's objects and are never stored with the face.

#include "graphics/graphics_types.h"

#include <memory>
#include <vector>

namespace orvella {

class TDrawObject;
class TImagePaperInfo;

inline constexpr int32_t kPaperPatternLayerGroup = -50;

// A pattern object of an upright face, turned a quarter counter-clockwise
// with the landscape face: its centre (u, v) goes to (v, uprightWidth - u).
void TurnPatternObject(TDrawObject& object, int32_t uprightWidth);

// The pattern objects of a face in the face's own coordinates, bottom
// first, in the pattern layer group; turned when the paper is landscape
// (uprightWidth is then the landscape face's height). A face without a
// pattern gives none.
std::vector<std::unique_ptr<TDrawObject>> PaperPatternObjects(const TImagePaperInfo& images, int32_t face,
                                                              bool landscape, int32_t uprightWidth);

}  // namespace orvella
