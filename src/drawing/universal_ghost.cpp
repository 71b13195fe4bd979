#include "drawing/universal_ghost.h"

#include "drawing/action_list.h"
#include "drawing/do_actions.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/object_copy.h"

#include <QtGlobal>

#include <cstdlib>

namespace orvella {

namespace {

TSnapHook& snapHook()
{
    static TSnapHook hook;
    return hook;
}

}  // namespace

void SetSnapHook(TSnapHook hook)
{
    snapHook() = std::move(hook);
}

const TSnapHook& SnapHook()
{
    return snapHook();
}

TMoveSettings& MoveSettings()
{
    static TMoveSettings settings;
    return settings;
}

void ResetMoveModes()
{
    MoveSettings().CircumMove = false;
    MoveSettings().ParallelMove = false;
    MoveSettings().RotateMove = false;
}

int32_t ObjectAngle(TDrawObject& object)
{
    const TIntfRef<IDORotate> rotate = Supports<IDORotate>(&object);
    return rotate ? rotate->GetAngle() : 0;
}

TUniversalGhost::TUniversalGhost(TDrawObject& object, int handleIndex, std::string caption)
    : object_(&object), clone_(CloneObject(object)), handleIndex_(handleIndex), caption_(std::move(caption))
{
    limit_ = {0, 0, 0, 0};
    if (object.Parent())
        limit_ = object.Parent()->LogicalClientRect();
    watch_.SetHandler([this](TPersistent*, const TGuid& kind) {
        if (kind == NotifierClosing)
            lost_ = true;
    });
    watch_.Listen(object.Notifier());
}

TUniversalGhost::~TUniversalGhost() = default;

void TUniversalGhost::Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState)
{
    site_ = &site;
    limit_ = bounds;
    start_ = start;
}

bool TUniversalGhost::Concerns(const TDrawSite& site) const
{
    return !lost_ && object_->Parent() == &site;
}

void TUniversalGhost::Draw(TCanvas& canvas)
{
    if (const TIntfRef<IDODraw> draw = Supports<IDODraw>(clone_.get()))
        draw->DrawOutline(canvas);
}

void TUniversalGhost::Apply(TShiftState)
{
    if (caption_.empty()) {
        object_->Assign(*clone_);
        object_->UpdateBounds();
        object_->Invalidate();
        return;
    }
    auto step = std::make_unique<TDOChangeAction>(*object_, caption_);
    object_->Assign(*clone_);
    object_->UpdateBounds();
    object_->Invalidate();
    step->MarkChanged();
    RecordChange(std::move(step));
}

TSnapOffset TUniversalGhost::SnapOffset(std::span<const TPoint> points) const
{
    TSnapOffset best;
    const TSnapHook& hook = SnapHook();
    if (!hook)
        return best;
    const auto keepSmaller = [](std::optional<int32_t>& kept, const std::optional<int32_t>& offered) {
        if (offered && (!kept || std::abs(int64_t(*offered)) < std::abs(int64_t(*kept))))
            kept = offered;
    };
    for (const TPoint& p : points) {
        const TSnapOffset offer = hook(p);
        keepSmaller(best.dx, offer.dx);
        keepSmaller(best.dy, offer.dy);
    }
    return best;
}

TPoint TUniversalGhost::Snap(TPoint p) const
{
    const TSnapOffset offset = SnapOffset(std::span<const TPoint>(&p, 1));
    return {p.x + offset.dx.value_or(0), p.y + offset.dy.value_or(0)};
}

TCreationGhost::TCreationGhost(TDrawObject& object) : created_(&object)
{
    watch_.SetHandler([this](TPersistent*, const TGuid& kind) {
        if (kind == NotifierClosing)
            created_ = nullptr;
    });
    watch_.Listen(object.Notifier());
}

TCreationGhost::~TCreationGhost()
{
    watch_.SetHandler({});
    if (!created_)
        return;
    // Never placed: the object leaves its site and is freed with it.
    try {
        if (TDrawSite* site = created_->Parent()) {
            std::unique_ptr<TDrawObject> unplaced = site->RemoveObject(*created_);
            site->SetCursor(crDefault);
            site->Invalidate();
        }
    } catch (...) {
        qWarning("freeing an object that was never placed failed");
    }
}

void TCreationGhost::Created()
{
    if (!created_)
        return;
    TDrawObject& object = *created_;
    created_ = nullptr;
    object.SetVisible(true);
    object.SetSelected(true);
    if (TDrawSite* site = object.Parent()) {
        // The cross that asked for the drag has done its work.
        site->SetCursor(crDefault);
        site->RefreshHandles();
    }
    ActionList().Add(std::make_unique<TDOAddAction>(object, "追加"));
}

}  // namespace orvella
