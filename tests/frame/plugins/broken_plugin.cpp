// Libraries in the plug-in folder that are no usable server, one per mode:
//   ORV_BROKEN_NO_FACTORY  exports nothing the loader looks for;
//   ORV_BROKEN_REFUSES     serves no plug-in server class;
//   ORV_BROKEN_THROWS      throws through the boundary.

#include "frame/plugin_abi.h"

#include <stdexcept>

using namespace orvella;

#if defined(ORV_BROKEN_NO_FACTORY)
extern "C" __attribute__((visibility("default"))) int SomethingElse() { return 42; }
#else
extern "C" __attribute__((visibility("default"))) TResult OrvGetClassObject(const TGuid*, const TGuid*, void** object)
{
    *object = nullptr;
#if defined(ORV_BROKEN_THROWS)
    throw std::runtime_error("broken plug-in");
#else
    return CLASS_E_CLASSNOTAVAILABLE_;
#endif
}
#endif
