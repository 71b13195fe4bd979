#include "print/disc_print_windows.h"

namespace orvella {

namespace {

TDiscPrintWindows& Windows()
{
    static TDiscPrintWindows windows;
    return windows;
}

}  // namespace

void SetDiscPrintWindows(TDiscPrintWindows windows) { Windows() = std::move(windows); }

const TDiscPrintWindows& DiscPrintWindows() { return Windows(); }

}  // namespace orvella
