#pragma once
// Command actions bound to draw sites: menus and tool buttons trigger them,
// they find their target (the focused draw site, or a focused text field
// the edit commands also serve), work on the site's objects and record the
// work in the undo history. Their enabled state follows CanExecute and is
// refreshed whenever the program falls idle.

#include "drawing/do_list.h"
#include "drawing/idle_notify.h"
#include "graphics/change_notify.h"

#include <QAction>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TActionList;
class TDrawObject;
class TDrawSite;

// How the per-object work is recorded in the undo history.
enum class TActionType { atNone, atDelete, atAdd, atChange, atLayer };

// A focused text field that the clipboard commands and Undo serve; the
// window layer supplies it.
class TTextEditTarget {
public:
    virtual ~TTextEditTarget() = default;
    virtual bool HasSelection() const = 0;
    virtual void Copy() = 0;
    virtual void Cut() = 0;
    // Deletes the selection.
    virtual void Clear() = 0;
    virtual void Paste() = 0;
    virtual bool CanUndo() const = 0;
    virtual void Undo() = 0;
};

// What a command acts on: a text field when one has the focus, else a site.
struct TCommandTarget {
    TDrawSite* Site = nullptr;
    std::shared_ptr<TTextEditTarget> Text;
};
using TCommandTargetResolver = std::function<TCommandTarget()>;
// The window layer installs the lookup of the focused control; without one
// commands that have no site of their own have no target.
void SetCommandTargetResolver(TCommandTargetResolver resolver);
TCommandTarget ResolveCommandTarget();

// The target list of a site as both command actions and operations make it:
// the site's objects (selected only), topmost first, narrowed to a
// registered class when one is named: objects of other classes are dropped,
// or with targetClassOnly the list is emptied.
void MakeTargetList(TDOList& targets, TDrawSite& site, bool selectedOnly, const std::string& targetClassName,
                    bool targetClassOnly);

// Runs work for one object and records it as type says: a delete step
// before the work, an add step after it (before it with addFirst), a change
// or z-order step around it (dropped when the work fails).
void RunRecorded(TActionType type, TDrawSite& site, TDrawObject& object, const std::function<void()>& work,
                 bool addFirst = false, TActionList* list = nullptr);

// What command actions and operations share: which objects are targets,
// in which order the work runs and how it is recorded.
struct TTargetRules {
    // More than one target allowed.
    bool MultiSelect = true;
    // The selected objects, else all.
    bool SelectedOnly = true;
    // The work runs topmost first, else bottom first.
    bool FromFront = false;
    // Only objects of this registered class (or descendants).
    std::string TargetClassName;
    // Any other candidate empties the list.
    bool TargetClassOnly = false;
    TActionType ActionType = TActionType::atNone;
    // When set, the whole run is one undo group of this caption.
    std::string ActionString;

    // Whether made targets allow a run: exactly one when a single selected
    // object is asked for, else at least one.
    bool Enough(const TDOList& targets) const;
    // The targets (topmost first) in the order the work runs.
    std::vector<TDrawObject*> WorkingOrder(const TDOList& targets) const;
};

class TDrawSiteActionBase : public QAction, public TTargetRules {
public:
    explicit TDrawSiteActionBase(QObject* parent = nullptr);
    ~TDrawSiteActionBase() override;

    // A site of its own; commands without one act on the focused target.
    TDrawSite* DrawSite() const { return site_; }
    void SetDrawSite(TDrawSite* site);
    TCommandTarget Target() const;

    // The targets of the last MakeList, topmost first.
    TDOList& Targets() { return targets_; }

    virtual void MakeList(TDrawSite& site);
    virtual bool CanExecute(TDrawSite& site);
    virtual void ExecuteFirst(TDrawSite& site);
    virtual void EachObject(TDrawSite& site, TDrawObject& object);

    // The whole command on a site: CanExecute, the undo group, ExecuteFirst
    // and the recorded work for each target. Failures pass on, the undo
    // group is closed either way.
    virtual void ExecuteOn(TDrawSite& site);
    // On the current target; failures go to the frame's exception report
    // (this is what triggering the action runs).
    void Execute();
    // Enabled state (and caption where it changes) for the current target.
    void Update();

protected:
    // Text fields: whether the command serves them, and what it does there.
    virtual bool HandlesText() const { return false; }
    virtual bool CanExecuteText(TTextEditTarget&) { return false; }
    virtual void ExecuteText(TTextEditTarget&) {}
    // Sets enabled state and caption; the default follows CanExecute.
    virtual void UpdateFor(const TCommandTarget& target);

private:
    TDrawSite* site_ = nullptr;
    TListener siteListener_;
    TDOList targets_;
    TIdleNotify idle_;
};

// A command whose work points are events.
class TDrawSiteAction : public TDrawSiteActionBase {
public:
    using TDrawSiteActionBase::TDrawSiteActionBase;

    std::function<void(TDrawSiteAction&, TDrawSite&)> OnExecuteFirst;
    std::function<void(TDrawSiteAction&, TDrawSite&, TDOList&)> OnMakeList;
    std::function<void(TDrawSiteAction&, TDrawSite&, TDrawObject&)> OnEachObject;

    void MakeList(TDrawSite& site) override;
    void ExecuteFirst(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;
};

// The base of the built-in commands: caption and shortcut given at birth.
class TStandardDSA : public TDrawSiteActionBase {
public:
    TStandardDSA(const char* caption, const QKeySequence& shortcut, QObject* parent = nullptr);
};

}  // namespace orvella
