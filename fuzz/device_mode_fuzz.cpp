// Device-mode records as drivers and files hand them over: loaded, turned
// to the wide layout and back, and read.

#include "print/device_mode.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    orvella::TmDeviceMode mode;
    mode.LoadFromDevMode(bytes);
    mode.GetDevModeW();
    mode.DeviceName();
    mode.FormName();
    mode.GetDevModeA();
    mode.LoadFromHandle(bytes);
    mode.GetDevModeW();
    mode.SetDeviceName(mode.FormName());
    mode.GetDevModeA();
    return 0;
}
