#include "app/main_window_stub.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvella"));
    QApplication::setOrganizationName(QStringLiteral("Orvella"));
    orvella::TMainWindowStub window;
    window.show();
    return QApplication::exec();
}
