#include "formats/property_table.h"

#include "drawing/designer.h"

#include "formats/class_registry.h"
#include "formats/component.h"
#include "drawing/action_list.h"
#include "drawing/do_actions.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_list.h"
#include "drawing/object_utils.h"
#include "drawing/universal_ghost.h"
#include "graphics/color_fill.h"
#include "platform/text_case.h"

#include <algorithm>

namespace orvella {

bool TDODesigner::CreateObject(TDrawSite&, std::string_view) { return false; }
bool TDODesigner::EditObject(TDrawObject&, bool&) { return false; }
bool TDODesigner::ShowHandles(TDrawObject&) { return false; }
bool TDODesigner::BeginDrag(TDrawObject&, int) { return false; }
std::unique_ptr<TComponent> TDODesigner::CreateInstance(std::string_view) { return nullptr; }

TDODesignerList& DesignerList()
{
    static TDODesignerList list;
    return list;
}

void TDODesignerList::Register(std::shared_ptr<TDODesigner> designer)
{
    if (designer)
        designers_.push_back(std::move(designer));
}

bool TDODesignerList::Contains(const TDODesigner& designer) const
{
    return std::any_of(designers_.begin(), designers_.end(), [&](const auto& d) { return d.get() == &designer; });
}

void TDODesignerList::Unregister(const TDODesigner& designer)
{
    std::erase_if(designers_, [&](const auto& d) { return d.get() == &designer; });
}

void TDODesignerList::UnloadModule(std::string_view module)
{
    std::erase_if(designers_, [&](const auto& d) { return !module.empty() && SameText(d->Module, module); });
}

template <class Ask>
bool TDODesignerList::askNewestFirst(const Ask& ask)
{
    const std::vector<std::shared_ptr<TDODesigner>> snapshot = designers_;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
        if (ask(**it))
            return true;
    return false;
}

bool TDODesignerList::CreateObject(TDrawSite& site, std::string_view command)
{
    return askNewestFirst([&](TDODesigner& d) { return d.CreateObject(site, command); });
}

bool TDODesignerList::EditObject(TDrawObject& object, bool& cancelled)
{
    return askNewestFirst([&](TDODesigner& d) { return d.EditObject(object, cancelled); });
}

bool TDODesignerList::ShowHandles(TDrawObject& object)
{
    return askNewestFirst([&](TDODesigner& d) { return d.ShowHandles(object); });
}

bool TDODesignerList::BeginDrag(TDrawObject& object, int handleIndex)
{
    return askNewestFirst([&](TDODesigner& d) { return d.BeginDrag(object, handleIndex); });
}

std::unique_ptr<TComponent> TDODesignerList::CreateInstance(std::string_view className)
{
    std::unique_ptr<TComponent> instance;
    askNewestFirst([&](TDODesigner& d) {
        instance = d.CreateInstance(className);
        return instance != nullptr;
    });
    return instance;
}

TDialogDesigner::TDialogDesigner(const TClassInfo& objectClass, TDialog dialog)
    : objectClass_(objectClass), dialog_(std::move(dialog))
{
}

bool TDialogDesigner::EditObject(TDrawObject& object, bool& cancelled)
{
    if (!dialog_ || !object.ClassInfo().InheritsFrom(objectClass_))
        return false;
    cancelled = !dialog_(object);
    return true;
}

namespace {

constexpr TColor kNewTextShadowColor = 8421504;

// The text classes live on a higher floor; they are known here by the name
// their base is stored under.
bool isTextObject(const TClassInfo& info)
{
    for (const TClassInfo* c = &info; c; c = c->Parent())
        if (c->ClassName() == "TLOText")
            return true;
    return false;
}

}  // namespace

void TLOCreator::AddCommand(std::string name, TCreationCommand command)
{
    commands_[UpperCase(name)] = std::move(command);
}

void TLOCreator::AddAlias(std::string name, std::string className)
{
    aliases_[UpperCase(name)] = std::move(className);
}

std::unique_ptr<TComponent> TLOCreator::CreateInstance(std::string_view className)
{
    std::string_view name = className;
    if (const auto alias = aliases_.find(UpperCase(className)); alias != aliases_.end())
        name = alias->second;
    const TClassInfo* info = GetClass(name);
    if (!info || !info->InheritsFrom(TComponent::StaticClassInfo()))
        return nullptr;
    std::unique_ptr<TPersistent> object = info->Create();
    if (!object)
        return nullptr;
    return std::unique_ptr<TComponent>(static_cast<TComponent*>(object.release()));
}

bool TLOCreator::CreateObject(TDrawSite& site, std::string_view command)
{
    TCreationCommand how;
    if (const auto it = commands_.find(UpperCase(command)); it != commands_.end())
        how = it->second;
    const std::string_view instanceName = how.InstanceName.empty() ? command : std::string_view(how.InstanceName);

    std::unique_ptr<TComponent> instance = DesignerList().CreateInstance(instanceName);
    auto* created = dynamic_cast<TDrawObject*>(instance.get());
    if (!created)
        return false;
    // Still owned while it is prepared: a preparation that fails (a picture
    // on the clipboard that does not read) frees it.
    if (how.Prepare)
        how.Prepare(*created, site);
    instance.release();
    if (isTextObject(created->ClassInfo()))
        if (const TIntfRef<IDOOptionalColorSpec> shadow = Supports<IDOOptionalColorSpec>(created)) {
            TColorSpec grey;
            grey.SetColor(kNewTextShadowColor);
            shadow->SetColorSpec(grey);
        }

    TDrawObject& object = site.InsertOwnedObject(std::unique_ptr<TDrawObject>(created));
    GhostList().Cancel();
    if (OnObjectCreated)
        OnObjectCreated(object);
    object.SetSelected(false);
    site.SetCursor(crDefault);

    if (how.EditFirst) {
        bool cancelled = false;
        DesignerList().EditObject(object, cancelled);
        if (cancelled) {
            site.RemoveObject(object);
            return false;
        }
    }
    object.SetCursor(crSizeAll);
    site.AddObject(object);
    if (how.PlaceByDragging) {
        object.SetVisible(false);
        site.SetCursor(crCross);
        object.BeginDrag(-2);
    } else {
        if (object.Selectable())
            PlaceNewObject(object, site);
        if (OnRecordUndo)
            OnRecordUndo(object, "追加");
        else
            ActionList().Add(std::make_unique<TDOAddAction>(object, "追加"));
        if (object.Selectable()) {
            site.SetAllSelected(false);
            object.SetSelected(true);
            site.RefreshHandles();
        }
    }
    ResetMoveModes();
    if (OnResetCreationModes)
        OnResetCreationModes();
    return true;
}

}  // namespace orvella
