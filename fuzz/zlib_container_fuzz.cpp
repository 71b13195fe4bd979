// Compressed containers come inside documents and downloaded catalogs.

#include "platform/zlib_container.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(orvella::kZlibContainerMarker);
    bytes.append(reinterpret_cast<const char*>(data), size);
    try {
        const std::string unpacked = orvella::DecompressContainer(bytes);
        if (orvella::DecompressContainer(orvella::CompressToContainer(unpacked)) != unpacked)
            __builtin_trap();
    } catch (const orvella::EZlibContainer&) {
    }
    return 0;
}
