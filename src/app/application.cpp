#include "app/application.h"

#include "formats/doc_storage.h"
#include "frame/app_frame.h"
#include "frame/program_macros.h"

#include <QIcon>

#include <cstdio>

namespace orvella {

TOrvellaApplication::TOrvellaApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The desktop matches the windows to the installed desktop entry by this
    // name; the icon comes from the theme, or from the build's own copy
    // beside the program's data (share/icons next to share/orvella).
    setDesktopFileName(QStringLiteral("org.orvella.Orvella"));
    QIcon icon = QIcon::fromTheme(QStringLiteral("org.orvella.Orvella"));
    if (icon.isNull()) {
        const QString icons = QString::fromStdString(ProgramPlaces().ExeDir) + QStringLiteral("../icons/hicolor/");
        for (const char* size : {"16x16", "32x32", "48x48", "64x64", "128x128", "256x256"})
            icon.addFile(icons + QLatin1String(size) + QStringLiteral("/apps/org.orvella.Orvella.png"));
    }
    setWindowIcon(icon);
    // A storage that lost changes on its way out has nobody else to tell.
    SetStorageFailureReport([](std::exception_ptr error) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(error);
        else
            std::fputs("orvella: a storage failed without an application frame\n", stderr);
    });
}

bool TOrvellaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
        else
            std::fputs("orvella: unexpected exception without an application frame\n", stderr);
        return false;
    }
}

}  // namespace orvella
