#include "formats/property_table.h"

#include "platform/text_case.h"

#include <algorithm>

namespace orvella {

namespace {
constexpr const char* kBooleanNames[] = {"False", "True"};
}

std::span<const char* const> BooleanNames() noexcept { return kBooleanNames; }

bool TPropInfo::HasGetter() const
{
    return GetOrdinal || GetFloat || GetString || GetVariant || GetObject;
}

bool TPropInfo::HasSetter() const
{
    return SetOrdinal || SetFloat || SetString || SetVariant || SetObject || OwnsObject;
}

bool TPropInfo::IsStored(const TPersistent& instance) const
{
    if (!StoredFlag)
        return false;
    return !StoredRule || StoredRule(instance);
}

TPropInfo&& TPropInfo::ReadOnly() &&
{
    SetOrdinal = nullptr;
    SetFloat = nullptr;
    SetString = nullptr;
    SetVariant = nullptr;
    SetObject = nullptr;
    OwnsObject = false;
    return std::move(*this);
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> ownProperties,
                       Factory factory, std::vector<const TClassInfo*> fieldClasses)
    : name_(std::move(name)), parent_(parent), factory_(factory), fieldClasses_(std::move(fieldClasses))
{
    if (parent_)
        properties_.assign(parent_->properties_.begin(), parent_->properties_.end());
    for (TPropInfo& property : ownProperties) {
        auto existing = std::find_if(properties_.begin(), properties_.end(),
                                     [&](const TPropInfo& p) { return SameText(p.Name, property.Name); });
        if (existing != properties_.end())
            *existing = std::move(property);  // a redeclaration keeps its first index
        else
            properties_.push_back(std::move(property));
    }
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const noexcept
{
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &ancestor)
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const noexcept
{
    for (const TPropInfo& property : properties_)
        if (SameText(property.Name, name))
            return &property;
    return nullptr;
}

std::unique_ptr<TPersistent> TClassInfo::Create() const
{
    return factory_ ? factory_() : nullptr;
}

}  // namespace orvella
