#include "drawing/ds_notify_catcher.h"

#include "drawing/draw_site.h"
#include "drawing/idle_notify.h"

namespace orvella {

TDSNotifyCatcher::TDSNotifyCatcher()
{
    listener_.SetHandler([this](TPersistent* sender, const TGuid& kind) { heard(sender, kind); });
}

TDSNotifyCatcher::~TDSNotifyCatcher() = default;

void TDSNotifyCatcher::SetDrawSite(TDrawSite* site)
{
    if (site == site_)
        return;
    if (site_) {
        listener_.Unlisten(site_->Notifier());
        detach();
    }
    site_ = site;
    if (site_) {
        listener_.Listen(site_->Notifier());
        if (OnDrawSiteAttached)
            OnDrawSiteAttached(*this);
    }
}

void TDSNotifyCatcher::detach()
{
    site_ = nullptr;
    selectPending_ = false;
    movablePending_ = false;
    if (OnDrawSiteDetached)
        OnDrawSiteDetached(*this);
}

void TDSNotifyCatcher::heard(TPersistent* sender, const TGuid& kind)
{
    if (kind == NotifierClosing) {
        // The site re-broadcasts what its objects say; only its own closing
        // ends the attachment.
        if (site_ && sender == static_cast<TPersistent*>(site_))
            detach();
        return;
    }
    if (kind == SelectionChanged)
        selectPending_ = true;
    else if (kind == MovableChanged)
        movablePending_ = true;
    else
        return;
    if (!WaitIdle) {
        RaisePending();
    } else if (!idleRequested_) {
        idleRequested_ = true;
        CallAtNextIdle(&context_, [this] {
            idleRequested_ = false;
            RaisePending();
        });
    }
}

void TDSNotifyCatcher::RaisePending()
{
    const bool select = std::exchange(selectPending_, false);
    const bool movable = std::exchange(movablePending_, false);
    if (select && OnSelectChanged)
        OnSelectChanged(*this);
    if (movable && OnMovableChanged)
        OnMovableChanged(*this);
}

}  // namespace orvella
