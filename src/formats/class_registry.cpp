#include "formats/class_registry.h"

#include "formats/persistent.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"
#include "platform/text_case.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orvella {

namespace {

std::vector<const TClassInfo*>& registry()
{
    static std::vector<const TClassInfo*> classes;
    return classes;
}

}  // namespace

void RegisterClass(const TClassInfo& info)
{
    for (const TClassInfo* c = &info; c; c = c->Parent()) {
        const TClassInfo* existing = GetClass(c->ClassName());
        // A descendant registered under its ancestor's name stands in for it.
        if (existing == c || (existing && existing->InheritsFrom(*c)))
            continue;
        if (existing)
            throw EFilerError(FormatMessage(stream_message::kDuplicateClass, {c->ClassName()}));
        registry().push_back(c);
    }
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes)
{
    for (const TClassInfo* info : classes)
        RegisterClass(*info);
}

void UnRegisterClass(const TClassInfo& info)
{
    std::erase(registry(), &info);
}

const TClassInfo* GetClass(std::string_view name)
{
    for (const TClassInfo* info : registry())
        if (SameText(info->ClassName(), name))
            return info;
    return nullptr;
}

const TClassInfo& FindClass(std::string_view name)
{
    if (const TClassInfo* info = GetClass(name))
        return *info;
    throw EClassNotFound(FormatMessage(stream_message::kClassNotFound, {std::string(name)}));
}

}  // namespace orvella
