#include "document/paper_pattern.h"

#include "document/ld_objects.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "paper/extra_info.h"

namespace orvella {

void TurnPatternObject(TDrawObject& object, int32_t uprightWidth)
{
    if (auto bounds = Supports<IDOEncloseBounds>(&object)) {
        const TRect r = bounds->GetLogicalBounds();
        const int32_t u = (r.Left + r.Right) / 2;
        const int32_t v = (r.Top + r.Bottom) / 2;
        bounds->MoveBy(v - u, uprightWidth - u - v);
    }
    if (auto rotate = Supports<IDORotate>(&object))
        rotate->SetAngle(((rotate->GetAngle() - 90) % 360 + 360) % 360);
}

std::vector<std::unique_ptr<TDrawObject>> PaperPatternObjects(const TImagePaperInfo& images, int32_t face,
                                                              bool landscape, int32_t uprightWidth)
{
    // One pattern serves every face unless the paper designs them apart.
    const std::size_t index = images.SeparatelyDesign ? std::size_t(face) : 0;
    if (face < 0 || index >= images.FaceObjects.size() || images.FaceObjects[index].IsEmpty())
        return {};
    std::vector<std::unique_ptr<TDrawObject>> objects = ReadFaceObjects(images.FaceObjects[index].Bytes);
    for (auto& object : objects) {
        if (landscape)
            TurnPatternObject(*object, uprightWidth);
        object->SetLayerGroup(kPaperPatternLayerGroup);
    }
    return objects;
}

}  // namespace orvella
