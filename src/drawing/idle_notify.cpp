#include "drawing/idle_notify.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <vector>

namespace orvella {

class TIdleSource {
public:
    static std::vector<TIdleNotify*>& subscribers()
    {
        static std::vector<TIdleNotify*> list;
        return list;
    }

    static QAbstractEventDispatcher* mainDispatcher()
    {
        QCoreApplication* application = QCoreApplication::instance();
        if (!application)
            return nullptr;
        return QAbstractEventDispatcher::instance(application->thread());
    }

    // Connects once to the loop of the main thread.
    static void connect()
    {
        static QAbstractEventDispatcher* connected = nullptr;
        QAbstractEventDispatcher* dispatcher = mainDispatcher();
        if (!dispatcher || dispatcher == connected)
            return;
        connected = dispatcher;
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [] { broadcast(); });
    }

    static void broadcast()
    {
        const std::vector<TIdleNotify*> snapshot = subscribers();
        for (TIdleNotify* subscriber : snapshot) {
            const auto& list = subscribers();
            if (std::find(list.begin(), list.end(), subscriber) == list.end() || !subscriber->onIdle_)
                continue;
            try {
                subscriber->onIdle_();
            } catch (...) {
                qWarning("an idle handler failed");
            }
        }
    }
};

TIdleNotify::TIdleNotify(std::function<void()> onIdle) : onIdle_(std::move(onIdle))
{
    TIdleSource::subscribers().push_back(this);
    TIdleSource::connect();
}

TIdleNotify::~TIdleNotify()
{
    std::erase(TIdleSource::subscribers(), this);
}

void CallAtNextIdle(QObject* context, std::function<void()> callback)
{
    QAbstractEventDispatcher* dispatcher = TIdleSource::mainDispatcher();
    if (!dispatcher || !context)
        return;
    // Queued from the idle signal, so that the callback may do anything a
    // handler of the event queue may do.
    QObject::connect(
        dispatcher, &QAbstractEventDispatcher::aboutToBlock, context,
        [context, callback = std::move(callback)] {
            QMetaObject::invokeMethod(context, callback, Qt::QueuedConnection);
        },
        Qt::SingleShotConnection);
    // Wakes a loop that is already waiting.
    dispatcher->wakeUp();
}

}  // namespace orvella
