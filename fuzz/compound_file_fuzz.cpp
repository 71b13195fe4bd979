// Compound files come from users and downloads: parse any bytes, and what
// parses must write and parse back to the same tree.

#include "formats/compound_file.h"
#include "formats/storage_error.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const auto root = orvella::ReadCompoundFile(bytes);
        const std::string written = orvella::WriteCompoundFile(*root);
        if (orvella::WriteCompoundFile(*orvella::ReadCompoundFile(written)) != written)
            __builtin_trap();
    } catch (const orvella::EStorageError&) {
    }
    return 0;
}
