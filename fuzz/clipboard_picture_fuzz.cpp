// Pictures pasted from the clipboard come from any program: the first byte
// picks the offered format, the rest are its bytes.

#include "graphics/picture_clipboard.h"
#include "graphics/picture_error.h"
#include "graphics/picture_ex.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const orvella::TClipPictureKind kinds[] = {orvella::TClipPictureKind::Bitmap,
                                                       orvella::TClipPictureKind::Dib,
                                                       orvella::TClipPictureKind::EnhancedMetafile,
                                                       orvella::TClipPictureKind::Encoded};
    const orvella::TClipPictureKind kind = kinds[data[0] % 4];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    orvella::TPictureEx picture;
    try {
        orvella::AssignClipPicture(picture, kind, bytes);
    } catch (const orvella::EInvalidGraphic&) {
        if (!picture.Empty())
            __builtin_trap();
        return 0;
    }
    if (picture.Empty() && kind != orvella::TClipPictureKind::EnhancedMetafile)
        __builtin_trap();
    return 0;
}
