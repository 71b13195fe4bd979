// Lines, arcs, rectangles, ellipses and decorative lines come from
// documents: whatever their stored values, measuring, hit testing and
// painting them must neither fail nor run away.

#include "formats/component_stream.h"
#include "formats/stream_format.h"
#include "graphics/bitmap.h"
#include "graphics/picture_error.h"
#include "objects/lo_deco_line.h"
#include "objects/lo_line.h"
#include "objects/lo_rect.h"
#include "objects/object_classes.h"
#include "platform/cp932.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

std::unique_ptr<orvella::TLabelObject> makeShape(uint8_t kind)
{
    switch (kind % 5) {
    case 0: return std::make_unique<orvella::TLOLine>();
    case 1: return std::make_unique<orvella::TLOCurve>();
    case 2: return std::make_unique<orvella::TLODecoLine>();
    case 3: return std::make_unique<orvella::TLORect>();
    default: return std::make_unique<orvella::TLOCircle>();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (orvella::RegisterObjectClasses(), true);
    (void)registered;
    if (size < 1)
        return 0;
    std::unique_ptr<orvella::TLabelObject> shape = makeShape(data[0]);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        orvella::ReadComponent(bytes, *shape);
    } catch (const orvella::EFilerError&) {
        return 0;
    } catch (const orvella::ECp932&) {
        return 0;
    } catch (const orvella::EInvalidGraphic&) {
        return 0;
    }
    const orvella::TRect bounds = shape->GetLogicalBounds();
    shape->HitTest({bounds.Left, bounds.Top});
    shape->HitTest({0, 0});
    orvella::TBitmap bitmap(64, 64);
    shape->Paint(bitmap.Canvas());
    orvella::TBitmap mask(64, 64, orvella::TPixelFormat::pf8bit);
    mask.SetPalette(orvella::GrayPalette());
    shape->PaintMask(mask);
    return 0;
}
