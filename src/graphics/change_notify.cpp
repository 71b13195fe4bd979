#include "graphics/change_notify.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdio>

namespace orvella {

TListener::TListener(THandler handler) : handler_(std::move(handler)) {}

TListener::~TListener()
{
    while (!sources_.empty())
        Unlisten(*sources_.back());
}

void TListener::Listen(TBroadcaster& source)
{
    if (IsListening(source))
        return;
    source.listeners_.push_back(this);
    sources_.push_back(&source);
}

void TListener::Unlisten(TBroadcaster& source)
{
    std::erase(source.listeners_, this);
    std::erase(sources_, &source);
}

bool TListener::IsListening(const TBroadcaster& source) const
{
    return std::find(sources_.begin(), sources_.end(), &source) != sources_.end();
}

void TListener::hear(TPersistent* sender, const TGuid& kind)
{
    if (handler_)
        handler_(sender, kind);
}

TBroadcaster::TBroadcaster(TPersistent* sender) : sender_(sender) {}

TBroadcaster::~TBroadcaster()
{
    *alive_ = false;
    try {
        const std::vector<TListener*> snapshot = listeners_;
        for (TListener* listener : snapshot)
            if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
                listener->hear(sender_, NotifierClosing);
    } catch (...) {
        qWarning("a listener failed while its notifier was closing");
    }
    while (!listeners_.empty()) {
        const std::size_t before = listeners_.size();
        listeners_.back()->Unlisten(*this);
        if (listeners_.size() == before) {
            // Cannot happen while Unlisten erases; if it ever does, stop
            // rather than spin, and leave the trace.
            qCritical("fall into infinity loop.");
            Q_ASSERT_X(false, "TBroadcaster", "fall into infinity loop.");
            break;
        }
    }
}

void TBroadcaster::Broadcast(TPersistent* sender, const TGuid& kind)
{
    const std::shared_ptr<bool> alive = alive_;
    const std::vector<TListener*> snapshot = listeners_;
    for (TListener* listener : snapshot) {
        if (!*alive)
            return;
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            listener->hear(sender, kind);
    }
}

void TChangeNotify::BeginUpdate()
{
    if (updateCount_ == 0)
        changed_ = false;
    ++updateCount_;
}

void TChangeNotify::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ != 0 || !changed_)
        return;
    changed_ = false;
    const std::shared_ptr<bool> alive = alive_;
    Broadcast(ObjectChanged);
    if (*alive && OnChanged)
        OnChanged();
}

void TChangeNotify::Changed()
{
    BeginUpdate();
    changed_ = true;
    EndUpdate();
}

}  // namespace orvella
