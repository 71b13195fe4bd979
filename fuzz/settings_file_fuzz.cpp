// The settings file: read as the program reads it, written back, and read
// again; a file that parsed once must come back the same after a round trip.

#include "platform/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto keys = orvella::TSettingsStore::Parse(input);
    const std::string written = orvella::TSettingsStore::Format(keys);
    if (orvella::TSettingsStore::Format(orvella::TSettingsStore::Parse(written)) != written)
        std::abort();
    return 0;
}
