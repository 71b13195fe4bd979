#include "drawing/ds_operation.h"

#include "drawing/action_list.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"

#include <optional>

namespace orvella {

void TDSOperation::MakeList(TDrawSite& site)
{
    MakeTargetList(targets_, site, SelectedOnly, TargetClassName, TargetClassOnly);
    if (OnMakeList)
        OnMakeList(*this, site, targets_);
}

bool TDSOperation::CanExecute(TDrawSite& site)
{
    MakeList(site);
    return Enough(targets_);
}

bool TDSOperation::Execute(TDrawSite& site)
{
    if (!OnExecute && !OnEachObject)
        return false;
    if (!CanExecute(site))
        return false;
    std::optional<TActionGroupGuard> group;
    if (!ActionString.empty())
        group.emplace(ActionString);
    if (OnExecute)
        OnExecute(*this, site);
    if (OnEachObject)
        for (TDrawObject* object : WorkingOrder(targets_))
            RunRecorded(ActionType, site, *object, [&] { OnEachObject(*this, site, *object); }, true);
    targets_.Clear();
    return true;
}

}  // namespace orvella
