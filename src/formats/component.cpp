#include "formats/component.h"

#include "formats/property_table.h"
#include "platform/text_case.h"

#include <algorithm>

namespace orvella {

const TClassInfo& TComponent::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TComponent, TPersistent>("TComponent", {
        StringProperty("Name", &TComponent::Name, &TComponent::SetName).NotStored(),
        IntegerProperty("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0),
    });
    return info;
}

TComponent::~TComponent()
{
    // Children go last-first, as they were created.
    while (!components_.empty())
        components_.pop_back();
}

void TComponent::insert(std::unique_ptr<TComponent> component)
{
    if (component->owner_)
        throw std::logic_error("component already has an owner");
    component->owner_ = this;
    components_.push_back(std::move(component));
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent& component)
{
    auto it = std::find_if(components_.begin(), components_.end(),
                           [&](const std::unique_ptr<TComponent>& c) { return c.get() == &component; });
    if (it == components_.end())
        return nullptr;
    std::unique_ptr<TComponent> removed = std::move(*it);
    components_.erase(it);
    removed->owner_ = nullptr;
    return removed;
}

TComponent* TComponent::FindComponent(std::string_view name) const noexcept
{
    if (name.empty())
        return nullptr;
    for (const auto& component : components_)
        if (SameText(component->name_, name))
            return component.get();
    return nullptr;
}

void TComponent::GetChildren(const std::function<void(TComponent&)>&) const {}

void TComponent::SetParentComponent(TComponent&) {}

void TComponent::Loaded()
{
    loading_ = false;
}

}  // namespace orvella
