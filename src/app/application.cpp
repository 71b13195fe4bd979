#include "app/application.h"

#include "frame/app_frame.h"

#include <cstdio>

namespace orvella {

TOrvellaApplication::TOrvellaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
