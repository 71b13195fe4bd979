// JAN and QR objects arrive in documents and pasted object lists: any bytes
// read as either object must load or fail with a stream error, and what
// loaded must encode and draw without a crash.

#include "formats/component_stream.h"
#include "formats/stream_format.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/jan_code.h"
#include "objects/lo_jan_code.h"
#include "objects/lo_qr_code.h"
#include "objects/object_classes.h"
#include "objects/qr_code.h"
#include "platform/cp932.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orvella;
    static const bool registered = (RegisterObjectClasses(), true);
    (void)registered;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    TLOQRStd qr;
    try {
        ReadComponent(bytes, qr);
    } catch (const EFilerError&) {
    } catch (const ECp932&) {
    }
    // Whatever was read draws within a small rectangle, turned or not.
    qr.SetBoundsRect({0, 0, 120, 120});
    TBitmap picture(200, 200);
    qr.Paint(picture.Canvas());
    qr.SetAngle(qr.GetAngle() % 360 + 1);
    qr.Paint(picture.Canvas());

    TLOJANCode jan;
    try {
        ReadComponent(bytes, jan);
    } catch (const EFilerError&) {
    } catch (const ECp932&) {
    }
    DrawJANCode(picture.Canvas(), jan.JANCode(), {0, 0, 200, 80}, jan.ShowFrame(), false, jan.GetAngle());
    return 0;
}
