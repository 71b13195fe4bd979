// Picture objects, backgrounds and alpha masks come from documents with
// their pictures inside: whatever the stored values and picture bytes,
// reading must refuse them cleanly, and measuring, hit testing, painting
// and coverage must neither fail nor run away.

#include "formats/component_stream.h"
#include "formats/stream_format.h"
#include "graphics/bitmap.h"
#include "graphics/picture_error.h"
#include "objects/lo_alpha_mask.h"
#include "objects/lo_back_image.h"
#include "objects/lo_image.h"
#include "objects/object_classes.h"
#include "platform/cp932.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

std::unique_ptr<orvella::TLabelObject> makeObject(uint8_t kind)
{
    switch (kind % 5) {
    case 0: return std::make_unique<orvella::TLOImage>();
    case 1: return std::make_unique<orvella::TLOWizardImage>();
    case 2: return std::make_unique<orvella::TLOBackImage>();
    case 3: return std::make_unique<orvella::TLOBackImage2004>();
    default: return std::make_unique<orvella::TLOAlphaMask>();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (orvella::RegisterObjectClasses(), true);
    (void)registered;
    if (size < 1)
        return 0;
    std::unique_ptr<orvella::TLabelObject> object = makeObject(data[0]);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        orvella::ReadComponent(bytes, *object);
    } catch (const orvella::EFilerError&) {
        return 0;
    } catch (const orvella::ECp932&) {
        return 0;
    } catch (const orvella::EInvalidGraphic&) {
        return 0;
    }
    if (auto* background = dynamic_cast<orvella::TLOBackImage*>(object.get())) {
        orvella::TFaceInfo face;
        face.FaceShape = orvella::fsDoughnut;
        face.FaceRect = {5, 5, 59, 59};
        face.FaceMargin = 5;
        face.SetCutCenterSize(20);
        background->SetFaceInfo(&face);
    }
    const orvella::TRect bounds = object->GetLogicalBounds();
    object->HitTest({bounds.Left, bounds.Top});
    object->HitTest({0, 0});
    orvella::TBitmap bitmap(64, 64);
    object->Paint(bitmap.Canvas());
    orvella::TBitmap mask(64, 64, orvella::TPixelFormat::pf8bit);
    mask.SetPalette(orvella::GrayPalette());
    object->PaintMask(mask);
    return 0;
}
