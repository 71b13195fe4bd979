#pragma once
// An operation on a site's objects that is not bound to a menu: the editor
// windows run their own per-object work through it and get the same target
// lists and undo recording as the command actions.

#include "drawing/do_list.h"
#include "drawing/draw_site_action.h"

#include <functional>
#include <string>

namespace orvella {

class TDrawObject;
class TDrawSite;

// ActionType is atNone, atDelete, atAdd or atChange; an add step is
// recorded before the work.
class TDSOperation : public TTargetRules {
public:

    std::function<void(TDSOperation&, TDrawSite&)> OnExecute;
    std::function<void(TDSOperation&, TDrawSite&, TDOList&)> OnMakeList;
    std::function<void(TDSOperation&, TDrawSite&, TDrawObject&)> OnEachObject;

    // Targets as the command actions make them, then OnMakeList.
    void MakeList(TDrawSite& site);
    bool CanExecute(TDrawSite& site);
    // Runs when OnExecute or OnEachObject is assigned and there are
    // targets; answers whether it ran. Failures pass on, the undo group is
    // closed either way.
    bool Execute(TDrawSite& site);

    TDOList& Targets() { return targets_; }

private:
    TDOList targets_;
};

}  // namespace orvella
