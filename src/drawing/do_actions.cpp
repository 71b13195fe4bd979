#include "drawing/do_actions.h"

#include "formats/component.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/do_list.h"
#include "drawing/object_copy.h"

#include <algorithm>

namespace orvella {

std::vector<TDrawObject*> SiteOrder(const TDrawSite& site)
{
    std::vector<TDrawObject*> order;
    order.reserve(site.ObjectCount());
    for (std::size_t i = site.ObjectCount(); i-- > 0;)
        order.push_back(&site.Objects(i));
    return order;
}

void RestoreZOrder(TDrawSite& site, const std::vector<TDrawObject*>& order)
{
    for (TDrawObject* object : order)
        if (object && object->Parent() == &site)
            site.SendToBack(*object);
}

// --- TDOAction ------------------------------------------------------------------

TDOAction::TDOAction(std::string caption)
{
    SetFlags(afUndo | afRedo);
    SetCaption(std::move(caption));
    listener_.SetHandler([this](TPersistent* sender, const TGuid& kind) {
        if (kind == NotifierClosing)
            Forget(sender);
        else
            Heard(sender, kind);
    });
}

TDOAction::~TDOAction()
{
    // Freeing the owned object tells the other steps; this one no longer
    // needs to hear about it.
    listener_.SetHandler({});
}

void TDOAction::Watch(TBroadcaster& notifier)
{
    listener_.Listen(notifier);
}

void TDOAction::Forget(TPersistent*) {}

void TDOAction::Heard(TPersistent*, const TGuid&) {}

void TDOAction::ForgetIn(std::vector<TDrawObject*>& list, TPersistent* sender)
{
    std::erase_if(list, [sender](TDrawObject* object) { return static_cast<TPersistent*>(object) == sender; });
}

void TDOAction::TakeOwnership(TDrawObject& object)
{
    if (owned_.get() == &object)
        return;
    TComponent* owner = object.Owner();
    if (!owner)
        return;
    std::unique_ptr<TComponent> taken = owner->RemoveComponent(object);
    owned_.reset(static_cast<TDrawObject*>(taken.release()));
}

void TDOAction::ReturnToSite(TDrawObject& object, TDrawSite& site)
{
    if (owned_.get() == &object)
        site.InsertOwnedObject(std::move(owned_));
    site.AddObject(object);
}

// --- TDOLayerAction -----------------------------------------------------------

TDOLayerAction::TDOLayerAction(TDrawSite& site, std::string caption)
    : TDOAction(std::move(caption)), site_(&site), before_(SiteOrder(site))
{
    Watch(site.Notifier());
    for (TDrawObject* object : before_)
        Watch(object->Notifier());
}

void TDOLayerAction::Capture()
{
    if (!site_)
        return;
    after_ = SiteOrder(*site_);
    selection_.clear();
    for (TDrawObject* object : after_) {
        Watch(object->Notifier());
        if (object->Selected())
            selection_.push_back(object);
    }
}

void TDOLayerAction::Forget(TPersistent* sender)
{
    if (site_ && static_cast<TPersistent*>(site_) == sender) {
        site_ = nullptr;
        before_.clear();
        after_.clear();
        selection_.clear();
        return;
    }
    ForgetIn(before_, sender);
    ForgetIn(after_, sender);
    ForgetIn(selection_, sender);
}

void TDOLayerAction::restore(const std::vector<TDrawObject*>& order)
{
    if (!site_)
        return;
    RestoreZOrder(*site_, order);
    for (TDrawObject* object : selection_)
        if (object->Parent() == site_)
            object->SetSelected(true);
}

void TDOLayerAction::Undo()
{
    restore(before_);
}

void TDOLayerAction::Redo()
{
    restore(after_);
}

// --- TDOChangeAction ----------------------------------------------------------

TDOChangeAction::TDOChangeAction(TDrawObject& object, std::string caption)
    : TDOAction(std::move(caption)), object_(&object), before_(CloneObject(object)), after_(CloneObject(object))
{
    Watch(object.Notifier());
}

TDOChangeAction::~TDOChangeAction() = default;

bool TDOChangeAction::Capture()
{
    if (!object_ || !object_->Parent() || !changed_)
        return false;
    after_->Assign(*object_);
    return true;
}

void TDOChangeAction::Forget(TPersistent* sender)
{
    if (object_ && static_cast<TPersistent*>(object_) == sender)
        object_ = nullptr;
}

void TDOChangeAction::Heard(TPersistent* sender, const TGuid& kind)
{
    // Movable and DontPrint are stored state that broadcasts its own kinds.
    const bool stateChange = kind == ObjectChanged || kind == MovableChanged || kind == DontPrintChanged;
    if (stateChange && object_ && static_cast<TPersistent*>(object_) == sender)
        changed_ = true;
}

void TDOChangeAction::restore(const TDrawObject& state)
{
    if (!object_)
        return;
    object_->Assign(state);
    object_->UpdateBounds();
    object_->Invalidate();
    if (object_->Parent())
        object_->SetSelected(true);
}

void TDOChangeAction::Undo()
{
    restore(*before_);
}

void TDOChangeAction::Redo()
{
    restore(*after_);
}

void RecordChange(std::unique_ptr<TDOChangeAction> step, TActionList& list)
{
    if (step && step->Capture())
        list.Add(std::move(step));
}

// --- TDOAddAction / TDODelAction -----------------------------------------------

TDOAddAction::TDOAddAction(TDrawObject& object, std::string caption)
    : TDOAction(std::move(caption)), object_(&object), site_(object.Parent())
{
    Watch(object.Notifier());
    if (site_) {
        order_ = SiteOrder(*site_);
        Watch(site_->Notifier());
        for (TDrawObject* other : order_)
            Watch(other->Notifier());
    }
}

void TDOAddAction::Forget(TPersistent* sender)
{
    if (site_ && static_cast<TPersistent*>(site_) == sender) {
        site_ = nullptr;
        order_.clear();
        return;
    }
    if (object_ && static_cast<TPersistent*>(object_) == sender)
        object_ = nullptr;
    ForgetIn(order_, sender);
}

void TDOAddAction::add()
{
    if (!object_ || !site_)
        return;
    ReturnToSite(*object_, *site_);
    object_->SetSelected(true);
    RestoreZOrder(*site_, order_);
}

void TDOAddAction::remove()
{
    if (!object_)
        return;
    object_->Changed();
    TakeOwnership(*object_);
    if (TDrawSite* parent = object_->Parent())
        parent->RemoveObject(*object_);
}

void TDOAddAction::Undo()
{
    remove();
}

void TDOAddAction::Redo()
{
    add();
}

TDODelAction::TDODelAction(TDrawObject& object, std::string caption) : TDOAddAction(object, std::move(caption))
{
    TakeOwnership(object);
}

void TDODelAction::Undo()
{
    add();
}

void TDODelAction::Redo()
{
    remove();
}

}  // namespace orvella
