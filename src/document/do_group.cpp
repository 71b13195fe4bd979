#include "formats/property_table.h"

#include "document/do_group.h"

#include "drawing/action_list.h"
#include "drawing/do_actions.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "drawing/draw_site_action_edit.h"
#include "drawing/ds_operation.h"
#include "drawing/object_copy.h"
#include "drawing/object_utils.h"
#include "graphics/rect_utils.h"

namespace orvella {

const TClassInfo& TDOGroup::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TDOGroup, TLabelObject>("TDOGroup", {});
    return info;
}

TDOGroup::TDOGroup() = default;

TDOGroup::~TDOGroup() = default;

void TDOGroup::membersChanged()
{
    Changed();
    UpdateBounds();
}

void TDOGroup::AddMembers(const TDOList& list)
{
    for (std::size_t i = list.Count(); i-- > 0;)
        members_.push_back(CloneObject(list[i]));
    membersChanged();
}

void TDOGroup::Ungroup()
{
    TDrawSite* site = Parent();
    if (!site)
        return;
    for (const auto& member : members_) {
        TDrawObject& copy = site->InsertOwnedObject(CloneObject(*member));
        copy.SetSelected(true);
        site->AddObject(copy);
        ActionList().Add(std::make_unique<TDOAddAction>(copy));
    }
}

void TDOGroup::Paint(TCanvas& canvas)
{
    for (const auto& member : members_)
        member->PaintTo(canvas);
}

bool TDOGroup::HitTest(TPoint logical)
{
    for (const auto& member : members_)
        if (member->HitTest(logical))
            return true;
    return false;
}

TRect TDOGroup::GetLogicalBounds() const
{
    TRect bounds;
    bool first = true;
    for (const auto& member : members_) {
        const TRect memberBounds = member->GetLogicalBounds();
        bounds = first ? memberBounds : UnionRect(bounds, memberBounds);
        first = false;
    }
    return bounds;
}

void TDOGroup::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLabelObject::Assign(source);
        if (const auto* group = dynamic_cast<const TDOGroup*>(&source)) {
            members_.clear();
            for (const auto& member : group->members_)
                members_.push_back(CloneObject(*member));
            membersChanged();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TDOGroup::GetChildren(const std::function<void(TComponent&)>& proc) const
{
    for (const auto& member : members_)
        proc(*member);
}

void TDOGroup::AdoptMember(TDrawObject& member)
{
    TComponent* owner = member.Owner();
    if (!owner)
        return;
    std::unique_ptr<TComponent> taken = owner->RemoveComponent(member);
    members_.emplace_back(static_cast<TDrawObject*>(taken.release()));
    UpdateBounds();
}

void TDOGroup::MoveBy(int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0)
        return;
    for (const auto& member : members_)
        if (const TIntfRef<IDOEncloseBounds> bounds = Supports<IDOEncloseBounds>(member.get()))
            bounds->MoveBy(dx, dy);
    membersChanged();
}

void TDOGroup::SetExtent(int32_t width, int32_t height)
{
    const TRect from = GetLogicalBounds();
    TDOList list;
    for (const auto& member : members_)
        list.Add(*member);
    RemapObjects(list, from, {from.Left, from.Top, from.Left + width, from.Top + height});
    membersChanged();
}

void* TDOGroup::QueryInterface(const TGuid& iid)
{
    if (iid == IDOEncloseBounds::IID)
        return Offer<IDOEncloseBounds>(this);
    return TLabelObject::QueryInterface(iid);
}

// --- grouping on a site ---------------------------------------------------------

TDOGroup* GroupSelected(TDrawSite& site)
{
    TDOGroup* made = nullptr;
    TDSOperation grouping;
    grouping.OnMakeList = [](TDSOperation&, TDrawSite&, TDOList& targets) {
        if (targets.Count() < 2)
            targets.Clear();
    };
    grouping.OnExecute = [&made](TDSOperation& operation, TDrawSite& target) {
        auto group = std::make_unique<TDOGroup>();
        group->AddMembers(operation.Targets());
        group->SetCursor(crHandPoint);
        TDOGroup& added = *group;
        target.InsertOwnedObject(std::move(group));
        target.AddObject(added);
        ActionList().Add(std::make_unique<TDOAddAction>(added));
        TDSAClear clear;
        clear.ExecuteOn(target);
        added.SetSelected(true);
        target.RefreshHandles();
        made = &added;
    };
    grouping.Execute(site);
    return made;
}

int UngroupSelected(TDrawSite& site)
{
    int ungrouped = 0;
    TDSOperation ungrouping;
    ungrouping.TargetClassName = "TDOGroup";
    ungrouping.OnEachObject = [&ungrouped](TDSOperation&, TDrawSite& target, TDrawObject& object) {
        auto* group = dynamic_cast<TDOGroup*>(&object);
        if (!group)
            return;
        group->Ungroup();
        RunRecorded(TActionType::atDelete, target, *group, [&] { target.RemoveObject(*group); });
        ++ungrouped;
    };
    ungrouping.Execute(site);
    site.RefreshHandles();
    return ungrouped;
}

}  // namespace orvella
