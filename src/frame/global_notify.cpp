#include "frame/global_notify.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QStatusTipEvent>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace orvella {

namespace {

std::vector<TGlobalNotify*>& listeners()
{
    static std::vector<TGlobalNotify*> list;
    return list;
}

// Calls `event` of every listener; a listener may remove itself meanwhile.
template <typename Member, typename... Args>
void broadcast(Member member, const Args&... args)
{
    const std::vector<TGlobalNotify*> snapshot = listeners();
    for (TGlobalNotify* listener : snapshot) {
        if (std::find(listeners().begin(), listeners().end(), listener) == listeners().end())
            continue;
        if (const auto& handler = listener->*member)
            handler(args...);
    }
}

class TNotifyDispatcher : public QObject {
public:
    explicit TNotifyDispatcher(QCoreApplication* application) : QObject(application)
    {
        application->installEventFilter(this);
        if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance(application->thread()))
            connect(loop, &QAbstractEventDispatcher::aboutToBlock, this, &TNotifyDispatcher::scheduleIdle);
        if (auto* gui = qobject_cast<QGuiApplication*>(application)) {
            connect(gui, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    broadcast(&TGlobalNotify::OnActivate);
                else if (state == Qt::ApplicationInactive)
                    broadcast(&TGlobalNotify::OnDeactivate);
            });
            connect(gui, &QGuiApplication::focusObjectChanged, this,
                    [] { BroadcastGlobalNotify(GUID_ActiveControlChanged); });
            connect(gui, &QGuiApplication::focusWindowChanged, this,
                    [] { BroadcastGlobalNotify(GUID_ActiveFormChanged); });
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != this)
            active_ = true;
        if (event->type() == QEvent::StatusTip && watched->isWidgetType()) {
            broadcast(&TGlobalNotify::OnHint, static_cast<QStatusTipEvent*>(event)->tip().toStdString());
        } else if (event->type() == QEvent::WindowStateChange && watched->isWindowType()) {
            const auto* window = static_cast<QWindow*>(watched);
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool wasMinimized = change->oldState() & Qt::WindowMinimized;
            const bool minimized = window->windowStates() & Qt::WindowMinimized;
            if (minimized && !wasMinimized)
                broadcast(&TGlobalNotify::OnMinimize);
            else if (!minimized && wasMinimized)
                broadcast(&TGlobalNotify::OnRestore);
        }
        return false;
    }

private:
    // The loop is about to wait: after some activity, idle handlers run once,
    // from the queue, so that they may open windows of their own.
    void scheduleIdle()
    {
        if (!active_ || pending_)
            return;
        pending_ = true;
        QMetaObject::invokeMethod(this, [this] {
            pending_ = false;
            active_ = false;
            broadcast(&TGlobalNotify::OnIdle);
        }, Qt::QueuedConnection);
    }

    bool active_ = true;
    bool pending_ = false;
};

QPointer<TNotifyDispatcher>& dispatcher()
{
    static QPointer<TNotifyDispatcher> instance;
    return instance;
}

void ensureDispatcher()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!dispatcher() && application && QThread::currentThread() == application->thread())
        dispatcher() = new TNotifyDispatcher(application);
}

}  // namespace

TGlobalNotify::TGlobalNotify()
{
    ensureDispatcher();
    listeners().push_back(this);
}

TGlobalNotify::~TGlobalNotify() { std::erase(listeners(), this); }

void TGlobalNotify::Notify(const TGuid& kind)
{
    if (kind == GUID_ActiveControlChanged && OnActiveControlChange)
        OnActiveControlChange();
    else if (kind == GUID_ActiveFormChanged && OnActiveFormChange)
        OnActiveFormChange();
}

void BroadcastGlobalNotify(const TGuid& kind)
{
    const std::vector<TGlobalNotify*> snapshot = listeners();
    for (TGlobalNotify* listener : snapshot)
        if (std::find(listeners().begin(), listeners().end(), listener) != listeners().end())
            listener->Notify(kind);
}

}  // namespace orvella
