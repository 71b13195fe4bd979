// Stored picture data comes from documents, templates and image packs: a
// class name and the graphic's own bytes, in any of the picture kinds.

#include "graphics/picture_error.h"
#include "graphics/picture_ex.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvella::TPictureEx picture;
    try {
        picture.ReadPictureData(bytes);
    } catch (const std::runtime_error&) {
        return 0;
    }
    // What was read is written back unchanged.
    std::string written;
    picture.WritePictureData(written);
    orvella::TPictureEx again;
    again.ReadPictureData(written);
    if (again.Width() != picture.Width() || again.Height() != picture.Height())
        __builtin_trap();
    return 0;
}
