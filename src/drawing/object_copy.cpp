#include "formats/property_table.h"

#include "drawing/object_copy.h"

#include "formats/string_list.h"
#include "drawing/draw_object.h"

#include <stdexcept>

namespace orvella {

void AssignPublished(TPersistent& target, const TPersistent& source)
{
    if (&target == &source)
        return;
    if (&target.ClassInfo() != &source.ClassInfo())
        throw std::logic_error("cannot assign a " + source.ClassName() + " to a " + target.ClassName());
    if (auto* lines = dynamic_cast<TStringList*>(&target)) {
        lines->Lines = static_cast<const TStringList&>(source).Lines;
        return;
    }
    for (const TPropInfo& property : target.ClassInfo().Properties()) {
        switch (property.Kind) {
        case TPropKind::Integer:
        case TPropKind::Char:
        case TPropKind::Enumeration:
        case TPropKind::Set:
        case TPropKind::Int64:
            if (property.GetOrdinal && property.SetOrdinal)
                property.SetOrdinal(target, property.GetOrdinal(source));
            break;
        case TPropKind::Float:
            if (property.GetFloat && property.SetFloat)
                property.SetFloat(target, property.GetFloat(source));
            break;
        case TPropKind::String:
        case TPropKind::Method:
            if (property.GetString && property.SetString)
                property.SetString(target, property.GetString(source));
            break;
        case TPropKind::Variant:
            if (property.GetVariant && property.SetVariant)
                property.SetVariant(target, property.GetVariant(source));
            break;
        case TPropKind::Object:
            if (!property.GetObject)
                break;
            if (property.OwnsObject) {
                TPersistent* to = property.GetObject(target);
                const TPersistent* from = property.GetObject(source);
                if (to && from && &to->ClassInfo() == &from->ClassInfo())
                    AssignPublished(*to, *from);
            } else if (property.SetObject) {
                property.SetObject(target, property.GetObject(source));
            }
            break;
        }
    }
}

std::unique_ptr<TDrawObject> CloneObject(const TDrawObject& source)
{
    std::unique_ptr<TPersistent> instance = source.ClassInfo().Create();
    auto* object = dynamic_cast<TDrawObject*>(instance.get());
    if (!object)
        throw std::logic_error("cannot make a copy of a " + source.ClassName());
    instance.release();
    std::unique_ptr<TDrawObject> clone(object);
    clone->Assign(source);
    clone->SetName(source.Name());
    return clone;
}

}  // namespace orvella
