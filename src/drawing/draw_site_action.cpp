#include "formats/property_table.h"

#include "drawing/draw_site_action.h"

#include "frame/app_frame.h"
#include "formats/class_registry.h"
#include "drawing/action_list.h"
#include "drawing/do_actions.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"

#include <QString>

#include <algorithm>
#include <optional>

namespace orvella {

namespace {

TCommandTargetResolver& targetResolver()
{
    static TCommandTargetResolver resolver;
    return resolver;
}

}  // namespace

void SetCommandTargetResolver(TCommandTargetResolver resolver)
{
    targetResolver() = std::move(resolver);
}

TCommandTarget ResolveCommandTarget()
{
    return targetResolver() ? targetResolver()() : TCommandTarget{};
}

void MakeTargetList(TDOList& targets, TDrawSite& site, bool selectedOnly, const std::string& targetClassName,
                    bool targetClassOnly)
{
    targets.Clear();
    site.GetObjects(targets, selectedOnly);
    if (targetClassName.empty())
        return;
    const TClassInfo* targetClass = GetClass(targetClassName);
    if (!targetClass)
        return;
    std::vector<TDrawObject*> kept;
    for (std::size_t i = 0; i < targets.Count(); ++i)
        if (targets[i].ClassInfo().InheritsFrom(*targetClass))
            kept.push_back(&targets[i]);
    const bool allOfClass = kept.size() == targets.Count();
    targets.Clear();
    if (targetClassOnly && !allOfClass)
        return;
    for (TDrawObject* object : kept)
        targets.Add(*object);
}

void RunRecorded(TActionType type, TDrawSite& site, TDrawObject& object, const std::function<void()>& work,
                 bool addFirst, TActionList* list)
{
    TActionList& history = list ? *list : ActionList();
    // With recording off a step would be freed at once, and a delete step
    // with the object it has just taken over: no step is made then.
    if (!history.Recording)
        type = TActionType::atNone;
    switch (type) {
    case TActionType::atNone:
        work();
        break;
    case TActionType::atDelete:
        history.Add(std::make_unique<TDODelAction>(object));
        work();
        break;
    case TActionType::atAdd:
        if (addFirst) {
            history.Add(std::make_unique<TDOAddAction>(object));
            work();
        } else {
            work();
            history.Add(std::make_unique<TDOAddAction>(object));
        }
        break;
    case TActionType::atChange: {
        auto step = std::make_unique<TDOChangeAction>(object);
        work();
        RecordChange(std::move(step), history);
        break;
    }
    case TActionType::atLayer: {
        auto step = std::make_unique<TDOLayerAction>(site);
        work();
        step->Capture();
        history.Add(std::move(step));
        break;
    }
    }
}

// --- TTargetRules ---------------------------------------------------------------------

bool TTargetRules::Enough(const TDOList& targets) const
{
    if (SelectedOnly && !MultiSelect)
        return targets.Count() == 1;
    return !targets.Empty();
}

std::vector<TDrawObject*> TTargetRules::WorkingOrder(const TDOList& targets) const
{
    std::vector<TDrawObject*> objects;
    objects.reserve(targets.Count());
    for (std::size_t i = 0; i < targets.Count(); ++i)
        objects.push_back(&targets[i]);
    if (!FromFront)
        std::reverse(objects.begin(), objects.end());
    return objects;
}

// --- TDrawSiteActionBase --------------------------------------------------------

TDrawSiteActionBase::TDrawSiteActionBase(QObject* parent) : QAction(parent), idle_([this] { Update(); })
{
    siteListener_.SetHandler([this](TPersistent* sender, const TGuid& kind) {
        if (kind == NotifierClosing && site_ && static_cast<TPersistent*>(site_) == sender)
            site_ = nullptr;
    });
    connect(this, &QAction::triggered, this, [this] { Execute(); });
}

TDrawSiteActionBase::~TDrawSiteActionBase() = default;

void TDrawSiteActionBase::SetDrawSite(TDrawSite* site)
{
    if (site_)
        siteListener_.Unlisten(site_->Notifier());
    site_ = site;
    if (site_)
        siteListener_.Listen(site_->Notifier());
}

TCommandTarget TDrawSiteActionBase::Target() const
{
    if (site_)
        return {site_, nullptr};
    return ResolveCommandTarget();
}

void TDrawSiteActionBase::MakeList(TDrawSite& site)
{
    MakeTargetList(targets_, site, SelectedOnly, TargetClassName, TargetClassOnly);
}

bool TDrawSiteActionBase::CanExecute(TDrawSite& site)
{
    MakeList(site);
    return Enough(targets_);
}

void TDrawSiteActionBase::ExecuteFirst(TDrawSite&) {}

void TDrawSiteActionBase::EachObject(TDrawSite&, TDrawObject&) {}

void TDrawSiteActionBase::ExecuteOn(TDrawSite& site)
{
    if (!CanExecute(site))
        return;
    std::optional<TActionGroupGuard> group;
    if (!ActionString.empty())
        group.emplace(ActionString);
    ExecuteFirst(site);
    for (TDrawObject* object : WorkingOrder(targets_))
        RunRecorded(ActionType, site, *object, [&] { EachObject(site, *object); });
    targets_.Clear();
    site.RefreshHandles();
}

void TDrawSiteActionBase::Execute()
{
    try {
        const TCommandTarget target = Target();
        if (target.Text) {
            if (HandlesText() && CanExecuteText(*target.Text))
                ExecuteText(*target.Text);
        } else if (target.Site) {
            ExecuteOn(*target.Site);
        }
    } catch (...) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
        else
            qWarning("a command failed: %s", qPrintable(text()));
    }
    Update();
}

void TDrawSiteActionBase::Update()
{
    try {
        UpdateFor(Target());
    } catch (...) {
        setEnabled(false);
    }
}

void TDrawSiteActionBase::UpdateFor(const TCommandTarget& target)
{
    if (target.Text)
        setEnabled(HandlesText() && CanExecuteText(*target.Text));
    else if (target.Site)
        setEnabled(CanExecute(*target.Site));
    else
        setEnabled(false);
    targets_.Clear();
}

// --- TDrawSiteAction ----------------------------------------------------------------

void TDrawSiteAction::MakeList(TDrawSite& site)
{
    TDrawSiteActionBase::MakeList(site);
    if (OnMakeList)
        OnMakeList(*this, site, Targets());
}

void TDrawSiteAction::ExecuteFirst(TDrawSite& site)
{
    if (OnExecuteFirst)
        OnExecuteFirst(*this, site);
}

void TDrawSiteAction::EachObject(TDrawSite& site, TDrawObject& object)
{
    if (OnEachObject)
        OnEachObject(*this, site, object);
}

// --- TStandardDSA ------------------------------------------------------------------

TStandardDSA::TStandardDSA(const char* caption, const QKeySequence& shortcut, QObject* parent)
    : TDrawSiteActionBase(parent)
{
    setText(QString::fromUtf8(caption));
    setShortcut(shortcut);
}

}  // namespace orvella
