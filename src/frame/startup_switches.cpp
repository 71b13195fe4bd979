#include "frame/startup_switches.h"

#include "frame/app_frame.h"

namespace orvella {

TStartupSwitches& StartupSwitches()
{
    static TStartupSwitches switches;
    return switches;
}

void ReadStartupSwitches()
{
    // "ImageLimitSize" is read only on systems that need the limit, which
    // this one does not.
    StartupSwitches().AntiAliasDistortionText = GetSettingBool("AntiAliasDistortionText", true);
}

}  // namespace orvella
