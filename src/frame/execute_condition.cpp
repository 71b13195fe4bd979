#include "frame/execute_condition.h"

#include "frame/message_box.h"
#include "frame/printer_list.h"

#include <QGuiApplication>
#include <QScreen>

namespace orvella {

bool CheckExecuteCondition(TExecuteCondition conditions, const TExecuteProbes& probes)
{
    if (conditions & ecNeedHighColor) {
        const int depth = probes.ScreenDepth ? probes.ScreenDepth() : 0;
        if (depth > 0 && depth <= 8 && ShowAppMessage("$(SysMsgNotEnoughColor)", {bkYes, bkNo}, 0, 1) == mrNo)
            return false;
    }
    // ecPowerUsers: a user of this system may always install below its own
    // home, so there is nothing to refuse.
    if (conditions & ecNeedPrinter) {
        if (!probes.Printers || !SelectUsablePrinter(*probes.Printers)) {
            ShowInfo("$(SysMsgNotDefaultPrinter)");
            return false;
        }
    }
    if (conditions & ecExclusive) {
        if (!probes.AcquireExclusive || !probes.AcquireExclusive()) {
            ShowInfo("$(SysMsgAlreadyRun)");
            return false;
        }
    }
    return true;
}

int PrimaryScreenDepth()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 0;
}

}  // namespace orvella
