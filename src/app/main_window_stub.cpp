#include "app/main_window_stub.h"

#include "app/prepare_form.h"
#include "app/window_placement.h"

#include <QCloseEvent>
#include <QPushButton>

namespace orvella {

TMainWindowStub::TMainWindowStub(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("$(AppName)"));
    // The splash presses this when it closes; the start menu hangs off it later.
    auto* startupFinished = new QPushButton(this);
    startupFinished->setObjectName(QStringLiteral("btnStartupFinished"));
    startupFinished->hide();
    PrepareForm(this);
}

bool TMainWindowStub::OpenDocument(const QString&) { return false; }

void TMainWindowStub::NewDocument() {}

void TMainWindowStub::closeEvent(QCloseEvent* event)
{
    SaveMainWindowPlacement(this);
    QMainWindow::closeEvent(event);
}

}  // namespace orvella
