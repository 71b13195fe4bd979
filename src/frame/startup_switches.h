#pragma once
// Settings read once at start into process-wide switches.

#include <cstdint>

namespace orvella {

struct TStartupSwitches {
    // "AntiAliasDistortionText": distorted text is drawn anti-aliased.
    bool AntiAliasDistortionText = true;
    // The largest image side loaded; this system has no reason to limit it.
    int32_t ImageLimitSize = 2147483647;
};

TStartupSwitches& StartupSwitches();

// Reads the switches from the settings (done once by the start-up sequence).
void ReadStartupSwitches();

}  // namespace orvella
