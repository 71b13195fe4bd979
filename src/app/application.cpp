#include "app/application.h"

#include "formats/doc_storage.h"
#include "frame/app_frame.h"

#include <cstdio>

namespace orvella {

TOrvellaApplication::TOrvellaApplication(int& argc, char** argv) : QApplication(argc, argv)
{
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
