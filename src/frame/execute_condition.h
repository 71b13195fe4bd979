#pragma once
// The conditions the program checks before it opens any window. Each check
// asks a small probe, so that tests can drive every failure path.

#include <functional>

namespace orvella {

class IPrinterList;

enum TExecuteConditionFlag : unsigned {
    ecNeedHighColor = 1u << 0,
    ecNeedPrinter = 1u << 1,
    ecExclusive = 1u << 2,
    ecPowerUsers = 1u << 3,
};
using TExecuteCondition = unsigned;

struct TExecuteProbes {
    // Bits per pixel of the primary screen; unset or 0 means unknown (passes).
    std::function<int()> ScreenDepth;
    // The printers; unset means none can be selected.
    const IPrinterList* Printers = nullptr;
    // Takes the single-instance lock; false when another instance holds it.
    std::function<bool()> AcquireExclusive;
};

// Tests the conditions in their fixed order, showing the message of the
// first that fails. True when the program may start.
bool CheckExecuteCondition(TExecuteCondition conditions, const TExecuteProbes& probes);

// The depth of the primary screen through Qt; 0 without a GUI application.
int PrimaryScreenDepth();

}  // namespace orvella
