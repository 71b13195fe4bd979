#include "app/startup_probe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace orvella {

namespace {

class TFirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!done_ && event->type() == QEvent::Paint && watched->objectName() == QLatin1String("DrawSite1")) {
            done_ = true;
            // After this paint has reached the window.
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("first-editor-paint %lld\n",
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool done_ = false;
};

}  // namespace

void InstallStartupProbe(QApplication& application)
{
    if (!std::getenv("ORVELLA_STARTUP_PROBE"))
        return;
    application.installEventFilter(new TFirstPaintProbe(&application));
}

}  // namespace orvella
