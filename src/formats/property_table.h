#pragma once
// Per-class property tables standing in for published properties: each
// entry has a name, a kind, accessors, a declared default, a stored rule and,
// for integers, an identifier table. A class lists its own properties in
// declaration order; TClassInfo puts the inherited ones first, and a
// property redeclared in a descendant keeps the place of its first
// declaration. Declaring one is a single line:
//
//   IntegerProperty("Width", &TLORect::Width, &TLORect::SetWidth).Default(0),
//   IntegerProperty("Color", &TLORect::FColor).Idents(ColorIdents()).Default(clNone),
//   ObjectProperty("Font", &TLORect::Font),
//
// An accessor is a data member or a member function (getter returning the
// value, setter taking it).

#include "formats/ident_tables.h"
#include "formats/persistent.h"
#include "formats/variant_value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace orvella {

enum class TPropKind {
    Integer,      // 32-bit, optionally named through an identifier table
    Char,         // one byte of text
    Enumeration,  // named ordinal (booleans are the enumeration False, True)
    Set,          // up to 32 named elements, bit n for element n
    Float,        // any precision, stored as extended
    String,       // UTF-8 in memory, CP932 in the stream
    Int64,
    Object,       // nested persistent object, collection or component reference
    Variant,      // TVariant; unassigned is the default
    Method,       // an event: the handler's name, stored as an identifier (empty for none)
};

struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;

    std::function<std::int64_t(const TPersistent&)> GetOrdinal;
    std::function<void(TPersistent&, std::int64_t)> SetOrdinal;
    std::function<long double(const TPersistent&)> GetFloat;
    std::function<void(TPersistent&, long double)> SetFloat;
    std::function<std::string(const TPersistent&)> GetString;
    std::function<void(TPersistent&, const std::string&)> SetString;
    std::function<TVariant(const TPersistent&)> GetVariant;
    std::function<void(TPersistent&, const TVariant&)> SetVariant;
    std::function<TPersistent*(const TPersistent&)> GetObject;
    std::function<void(TPersistent&, TPersistent*)> SetObject;
    // Objects owned by the property's object (nested objects, collections)
    // are never replaced by the reader, so they need no setter.
    bool OwnsObject = false;

    std::optional<std::int64_t> DefaultValue;
    std::function<bool(const TPersistent&)> StoredRule;
    bool StoredFlag = true;
    TIdentTable IdentTable;
    std::span<const char* const> ElementNames;

    bool HasGetter() const;
    bool HasSetter() const;
    bool IsStored(const TPersistent& instance) const;

    TPropInfo&& Default(std::int64_t value) && { DefaultValue = value; return std::move(*this); }
    TPropInfo&& Idents(TIdentTable table) && { IdentTable = table; return std::move(*this); }
    TPropInfo&& NotStored() && { StoredFlag = false; return std::move(*this); }
    TPropInfo&& ReadOnly() &&;
    template <class C>
    TPropInfo&& Stored(bool (C::*rule)() const) &&
    {
        StoredRule = [rule](const TPersistent& o) { return (static_cast<const C&>(o).*rule)(); };
        return std::move(*this);
    }
};

// How a class is described: its name, its ancestor, its properties in index
// order, the objects its published fields hold (for finding the classes of
// stored children) and how to create it.
class TClassInfo {
public:
    using Factory = std::unique_ptr<TPersistent> (*)();

    TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> ownProperties,
               Factory factory, std::vector<const TClassInfo*> fieldClasses = {});

    const std::string& ClassName() const noexcept { return name_; }
    const TClassInfo* Parent() const noexcept { return parent_; }
    bool InheritsFrom(const TClassInfo& ancestor) const noexcept;
    std::span<const TPropInfo> Properties() const noexcept { return properties_; }
    const TPropInfo* FindProperty(std::string_view name) const noexcept;
    std::span<const TClassInfo* const> FieldClasses() const noexcept { return fieldClasses_; }
    bool IsCreatable() const noexcept { return factory_ != nullptr; }
    // nullptr for an abstract class.
    std::unique_ptr<TPersistent> Create() const;

private:
    std::string name_;
    const TClassInfo* parent_;
    std::vector<TPropInfo> properties_;
    Factory factory_;
    std::vector<const TClassInfo*> fieldClasses_;
};

namespace property_detail {

template <class A>
struct MemberClass;
template <class T, class C>
struct MemberClass<T C::*> {
    using type = C;
};
template <class A>
using ClassOf = typename MemberClass<A>::type;

template <class C, class A>
decltype(auto) Get(const TPersistent& object, A accessor)
{
    return std::invoke(accessor, static_cast<const C&>(object));
}

template <class C, class A, class V>
void Set(TPersistent& object, A accessor, V&& value)
{
    C& target = static_cast<C&>(object);
    if constexpr (std::is_member_object_pointer_v<A>) {
        using Field = std::remove_cvref_t<decltype(target.*accessor)>;
        target.*accessor = static_cast<Field>(value);
    } else {
        std::invoke(accessor, target, std::forward<V>(value));
    }
}

template <class C, class A>
using ValueOf = std::remove_cvref_t<std::invoke_result_t<A, const C&>>;

template <class T>
TPersistent* AsObject(T* pointer) { return pointer; }
template <class T>
TPersistent* AsObject(const std::unique_ptr<T>& pointer) { return pointer.get(); }
template <class T>
    requires std::is_base_of_v<TPersistent, T>
TPersistent* AsObject(const T& object) { return const_cast<T*>(&object); }

// Integer-like kinds share one pair of accessors over int64.
template <class Get_, class Set_>
TPropInfo Ordinal(const char* name, TPropKind kind, Get_ get, Set_ set)
{
    using C = ClassOf<Get_>;
    using V = ValueOf<C, Get_>;
    TPropInfo info;
    info.Name = name;
    info.Kind = kind;
    info.GetOrdinal = [get](const TPersistent& o) { return static_cast<std::int64_t>(Get<C>(o, get)); };
    info.SetOrdinal = [set](TPersistent& o, std::int64_t v) { Set<C>(o, set, static_cast<V>(v)); };
    return info;
}

}  // namespace property_detail

template <class Get_, class Set_ = Get_>
TPropInfo IntegerProperty(const char* name, Get_ get, Set_ set)
{
    return property_detail::Ordinal(name, TPropKind::Integer, get, set);
}
template <class Field>
TPropInfo IntegerProperty(const char* name, Field field) { return IntegerProperty(name, field, field); }

template <class Get_, class Set_>
TPropInfo Int64Property(const char* name, Get_ get, Set_ set)
{
    return property_detail::Ordinal(name, TPropKind::Int64, get, set);
}
template <class Field>
TPropInfo Int64Property(const char* name, Field field) { return Int64Property(name, field, field); }

// A single-byte character (0 to 255).
template <class Get_, class Set_>
TPropInfo CharProperty(const char* name, Get_ get, Set_ set)
{
    return property_detail::Ordinal(name, TPropKind::Char, get, set);
}
template <class Field>
TPropInfo CharProperty(const char* name, Field field) { return CharProperty(name, field, field); }

// names[i] is the stored name of ordinal i.
template <class Get_, class Set_>
TPropInfo EnumProperty(const char* name, std::span<const char* const> names, Get_ get, Set_ set)
{
    TPropInfo info = property_detail::Ordinal(name, TPropKind::Enumeration, get, set);
    info.ElementNames = names;
    return info;
}
template <class Field>
TPropInfo EnumProperty(const char* name, std::span<const char* const> names, Field field)
{
    return EnumProperty(name, names, field, field);
}

std::span<const char* const> BooleanNames() noexcept;

template <class Get_, class Set_>
TPropInfo BooleanProperty(const char* name, Get_ get, Set_ set)
{
    return EnumProperty(name, BooleanNames(), get, set);
}
template <class Field>
TPropInfo BooleanProperty(const char* name, Field field) { return BooleanProperty(name, field, field); }

// The value is a bit mask: bit n stands for names[n].
template <class Get_, class Set_>
TPropInfo SetProperty(const char* name, std::span<const char* const> names, Get_ get, Set_ set)
{
    TPropInfo info = property_detail::Ordinal(name, TPropKind::Set, get, set);
    info.ElementNames = names;
    return info;
}
template <class Field>
TPropInfo SetProperty(const char* name, std::span<const char* const> names, Field field)
{
    return SetProperty(name, names, field, field);
}

template <class Get_, class Set_>
TPropInfo FloatProperty(const char* name, Get_ get, Set_ set)
{
    using C = property_detail::ClassOf<Get_>;
    using V = property_detail::ValueOf<C, Get_>;
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Float;
    info.GetFloat = [get](const TPersistent& o) { return static_cast<long double>(property_detail::Get<C>(o, get)); };
    info.SetFloat = [set](TPersistent& o, long double v) { property_detail::Set<C>(o, set, static_cast<V>(v)); };
    return info;
}
template <class Field>
TPropInfo FloatProperty(const char* name, Field field) { return FloatProperty(name, field, field); }

template <class Get_, class Set_>
TPropInfo StringProperty(const char* name, Get_ get, Set_ set)
{
    using C = property_detail::ClassOf<Get_>;
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::String;
    info.GetString = [get](const TPersistent& o) { return std::string(property_detail::Get<C>(o, get)); };
    info.SetString = [set](TPersistent& o, const std::string& v) { property_detail::Set<C>(o, set, v); };
    return info;
}
template <class Field>
TPropInfo StringProperty(const char* name, Field field) { return StringProperty(name, field, field); }

template <class Get_, class Set_>
TPropInfo VariantProperty(const char* name, Get_ get, Set_ set)
{
    using C = property_detail::ClassOf<Get_>;
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Variant;
    info.GetVariant = [get](const TPersistent& o) { return TVariant(property_detail::Get<C>(o, get)); };
    info.SetVariant = [set](TPersistent& o, const TVariant& v) { property_detail::Set<C>(o, set, v); };
    return info;
}
template <class Field>
TPropInfo VariantProperty(const char* name, Field field) { return VariantProperty(name, field, field); }

// An event whose handler is kept by name only: nothing here runs it, but a
// stream that names one reads and writes it back unchanged. Uses the string
// accessors.
template <class Get_, class Set_>
TPropInfo MethodProperty(const char* name, Get_ get, Set_ set)
{
    TPropInfo info = StringProperty(name, get, set);
    info.Kind = TPropKind::Method;
    return info;
}
template <class Field>
TPropInfo MethodProperty(const char* name, Field field) { return MethodProperty(name, field, field); }

// An object the property's object owns: a nested persistent object (its
// properties are stored in place under "Name."), a collection or a string
// list. The accessor yields a pointer, a unique_ptr or the object itself.
template <class Get_>
TPropInfo ObjectProperty(const char* name, Get_ get)
{
    using C = property_detail::ClassOf<Get_>;
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Object;
    info.OwnsObject = true;
    info.GetObject = [get](const TPersistent& o) { return property_detail::AsObject(property_detail::Get<C>(o, get)); };
    return info;
}

// A reference to a component elsewhere in the stream's tree, stored by name.
template <class Get_, class Set_>
TPropInfo ComponentProperty(const char* name, Get_ get, Set_ set)
{
    using C = property_detail::ClassOf<Get_>;
    using V = property_detail::ValueOf<C, Get_>;
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Object;
    info.GetObject = [get](const TPersistent& o) -> TPersistent* { return property_detail::Get<C>(o, get); };
    info.SetObject = [set](TPersistent& o, TPersistent* v) {
        property_detail::Set<C>(o, set, dynamic_cast<V>(v));
    };
    return info;
}
template <class Field>
TPropInfo ComponentProperty(const char* name, Field field) { return ComponentProperty(name, field, field); }

// Keeps a property's place in the writing order without storing anything: a
// descendant that redeclares the name with accessors is written at this
// place (the control properties that only some drawing objects store).
inline TPropInfo ReservedProperty(const char* name, TPropKind kind = TPropKind::Integer)
{
    TPropInfo info;
    info.Name = name;
    info.Kind = kind;
    info.StoredFlag = false;
    return info;
}

// The description of class C with ancestor Parent, for C::StaticClassInfo:
//   const TClassInfo& TFoo::StaticClassInfo()
//   {
//       static const TClassInfo info = DeclareClass<TFoo, TComponent>("TFoo", {...});
//       return info;
//   }
template <class C, class Parent>
TClassInfo DeclareClass(const char* name, std::vector<TPropInfo> properties,
                        std::vector<const TClassInfo*> fieldClasses = {})
{
    TClassInfo::Factory factory = nullptr;
    if constexpr (std::is_default_constructible_v<C> && !std::is_abstract_v<C>)
        factory = []() -> std::unique_ptr<TPersistent> { return std::make_unique<C>(); };
    return TClassInfo(name, &Parent::StaticClassInfo(), std::move(properties), factory, std::move(fieldClasses));
}

}  // namespace orvella
