// Decoding arbitrary bytes as CP932 and encoding the result back.

#include "platform/cp932.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = orvella::DecodeCp932(bytes);
    orvella::EncodeCp932(text, orvella::Cp932Mode::Replace);
    orvella::FirstNonCp932Char(bytes);
    return 0;
}
