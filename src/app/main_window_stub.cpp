#include "app/main_window_stub.h"

namespace orvella {

TMainWindowStub::TMainWindowStub(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Orvella"));
    resize(960, 680);
}

}  // namespace orvella
