#pragma once
// The undo steps of drawing objects: a z-order change of a whole site, a
// change of one object (kept as copies before and after), an added and a
// deleted object. A step that holds a removed object owns it, so objects
// that older steps refer to stay valid while they can still come back.
// Steps listen to the objects they refer to and forget an object that is
// destroyed.

#include "drawing/action_list.h"
#include "graphics/change_notify.h"

#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TDrawObject;
class TDrawSite;

// The site's objects, topmost first.
std::vector<TDrawObject*> SiteOrder(const TDrawSite& site);
// Rebuilds a recorded order (topmost first) within each layer group: each
// object still on the site is sent to the back in turn.
void RestoreZOrder(TDrawSite& site, const std::vector<TDrawObject*>& order);

// The common part: flags 3, the references kept up to date.
class TDOAction : public TActionBase {
public:
    ~TDOAction() override;

protected:
    explicit TDOAction(std::string caption);
    // Listens to the object (or site) so that its destruction is noticed.
    void Watch(TBroadcaster& notifier);
    // An object or site named by sender is being destroyed.
    virtual void Forget(TPersistent* sender);
    // Any other notification of a watched object.
    virtual void Heard(TPersistent* sender, const TGuid& kind);
    static void ForgetIn(std::vector<TDrawObject*>& list, TPersistent* sender);
    // Takes the object from whoever owns it; the object stays where it is on
    // its site.
    void TakeOwnership(TDrawObject& object);
    // Hands an owned object to the site and adds it there (AddObject).
    void ReturnToSite(TDrawObject& object, TDrawSite& site);

    std::unique_ptr<TDrawObject> owned_;

private:
    TListener listener_;  // after owned_: stops listening before it is freed
};

// A z-order change: the order before is taken when the step is made, the
// order after and the selection when it is recorded (Capture).
class TDOLayerAction : public TDOAction {
public:
    explicit TDOLayerAction(TDrawSite& site, std::string caption = {});
    void Capture();

    void Undo() override;
    void Redo() override;

    const std::vector<TDrawObject*>& Before() const { return before_; }
    const std::vector<TDrawObject*>& After() const { return after_; }

protected:
    void Forget(TPersistent* sender) override;

private:
    void restore(const std::vector<TDrawObject*>& order);

    TDrawSite* site_;
    std::vector<TDrawObject*> before_;
    std::vector<TDrawObject*> after_;
    std::vector<TDrawObject*> selection_;
};

// A change of one object. Copies of the object are taken when the step is
// made; Capture takes the state after into the spare copy.
class TDOChangeAction : public TDOAction {
public:
    explicit TDOChangeAction(TDrawObject& object, std::string caption = {});
    ~TDOChangeAction() override;

    TDrawObject* Object() const { return object_; }
    // The object reported a change since the step was made, or the caller
    // said so.
    bool HasChanged() const { return changed_; }
    void MarkChanged() { changed_ = true; }
    // Whether the step is worth recording: the object still lies on a site
    // and changed. When it is, the state after is taken.
    bool Capture();

    void Undo() override;
    void Redo() override;

protected:
    void Forget(TPersistent* sender) override;
    void Heard(TPersistent* sender, const TGuid& kind) override;

private:
    void restore(const TDrawObject& state);

    TDrawObject* object_;
    std::unique_ptr<TDrawObject> before_;
    std::unique_ptr<TDrawObject> after_;
    bool changed_ = false;
};

// An object that has just been added to its site.
class TDOAddAction : public TDOAction {
public:
    explicit TDOAddAction(TDrawObject& object, std::string caption = {});

    TDrawObject* Object() const { return object_; }
    bool OwnsObject() const { return owned_ != nullptr; }

    void Undo() override;
    void Redo() override;

protected:
    void Forget(TPersistent* sender) override;
    void add();
    void remove();

    TDrawObject* object_;
    TDrawSite* site_;
    std::vector<TDrawObject*> order_;
};

// An object about to be removed from its site; the step owns it from the
// start.
class TDODelAction : public TDOAddAction {
public:
    explicit TDODelAction(TDrawObject& object, std::string caption = {});

    void Undo() override;
    void Redo() override;
};

// Records a change step when Capture allows it; frees it otherwise.
void RecordChange(std::unique_ptr<TDOChangeAction> step, TActionList& list = ActionList());

}  // namespace orvella
