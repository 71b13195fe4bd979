#pragma once
// Tells a window about selection and movability changes on a draw site. By
// default the changes of one user action are gathered and reported once,
// when the program falls idle, so that selecting ten objects updates a
// property panel once and not ten times.

#include "graphics/change_notify.h"

#include <QObject>

#include <functional>

namespace orvella {

class TDrawSite;

class TDSNotifyCatcher {
public:
    TDSNotifyCatcher();
    ~TDSNotifyCatcher();
    TDSNotifyCatcher(const TDSNotifyCatcher&) = delete;
    TDSNotifyCatcher& operator=(const TDSNotifyCatcher&) = delete;

    TDrawSite* DrawSite() const { return site_; }
    // Leaves the previous site (OnDrawSiteDetached) and listens to the new
    // one (OnDrawSiteAttached).
    void SetDrawSite(TDrawSite* site);

    bool WaitIdle = true;

    std::function<void(TDSNotifyCatcher&)> OnSelectChanged;
    std::function<void(TDSNotifyCatcher&)> OnMovableChanged;
    std::function<void(TDSNotifyCatcher&)> OnDrawSiteAttached;
    std::function<void(TDSNotifyCatcher&)> OnDrawSiteDetached;

    bool Pending() const { return selectPending_ || movablePending_; }
    // Raises what is pending now (what the idle moment does).
    void RaisePending();

private:
    void heard(TPersistent* sender, const TGuid& kind);
    void detach();

    TDrawSite* site_ = nullptr;
    bool selectPending_ = false;
    bool movablePending_ = false;
    TListener listener_;
    bool idleRequested_ = false;
    QObject context_;  // ends an idle request that outlives the catcher
};

}  // namespace orvella
