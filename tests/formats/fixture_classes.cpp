#include "fixture_classes.h"

#include "formats/byte_reader.h"
#include "formats/class_registry.h"
#include "formats/property_table.h"

namespace orvella::test {

namespace {
constexpr const char* kAlignNames[] = {"alNone", "alTop", "alBottom", "alClient"};
constexpr const char* kOptionNames[] = {"foBold", "foItalic", "foUnderline", "foStrikeOut"};

// The Pascal fixture names only these three colours.
constexpr TIdentMapEntry kFixColors[] = {{0x000000, "clBlack"}, {0x0000FF, "clRed"}, {0x1FFFFFFF, "clNone"}};
}  // namespace

const TClassInfo& TFixFont::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFixFont, TPersistent>("TFixFont", {
        StringProperty("Name", &TFixFont::Name),
        IntegerProperty("Size", &TFixFont::Size).Default(9),
        IntegerProperty("Color", &TFixFont::Color).Idents(kFixColors).Default(0),
        SetProperty("Style", kOptionNames, &TFixFont::Style).Default(0),
    });
    return info;
}

const TClassInfo& TFixItem::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFixItem, TCollectionItem>("TFixItem", {
        StringProperty("Caption", &TFixItem::Caption),
        IntegerProperty("Value", &TFixItem::Value).Default(0),
    });
    return info;
}

const TClassInfo& TFixBase::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFixBase, TComponent>("TFixBase", {
        IntegerProperty("Width", &TFixBase::Width).Default(0),
        IntegerProperty("Height", &TFixBase::Height),
        StringProperty("Caption", &TFixBase::Caption),
        IntegerProperty("Color", &TFixBase::Color).Idents(kFixColors).Default(0x1FFFFFFF),
        FloatProperty("Ratio", &TFixBase::Ratio),
        BooleanProperty("Flag", &TFixBase::Flag).Default(false),
        EnumProperty("Align", kAlignNames, &TFixBase::Align).Default(alNone),
        SetProperty("Options", kOptionNames, &TFixBase::Options).Default(0),
        CharProperty("Letter", &TFixBase::Letter).Default('A'),
        Int64Property("Big", &TFixBase::Big),
        ObjectProperty("Font", &TFixBase::Font),
        ObjectProperty("Items", &TFixBase::Items),
        ObjectProperty("Lines", &TFixBase::Lines),
        ComponentProperty("Buddy", &TFixBase::Buddy),
    });
    return info;
}

void TFixBase::DefineProperties(TFiler& filer)
{
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](TByteReader& in) { Data = std::string(in.ReadBytes(in.Remaining())); },
        [this](std::string& out) { out += Data; }, !Data.empty());
}

void TFixBase::GetChildren(const std::function<void(TComponent&)>& proc) const
{
    for (std::size_t i = 0; i < ComponentCount(); ++i)
        proc(Components(i));
}

const TClassInfo& TFixDerived::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFixDerived, TFixBase>("TFixDerived", {
        IntegerProperty("Extra", &TFixDerived::Extra).Default(0),
        IntegerProperty("Width", &TFixDerived::Width).Default(10),
    });
    return info;
}

const TClassInfo& TFixFloats::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFixFloats, TComponent>("TFixFloats", {
        FloatProperty("AsSingle", &TFixFloats::AsSingle),
        FloatProperty("Money", &TFixFloats::Money),
        FloatProperty("When", &TFixFloats::When),
    });
    return info;
}

void RegisterFixtureClasses()
{
    RegisterClasses({&TFixBase::StaticClassInfo(), &TFixDerived::StaticClassInfo(), &TFixFloats::StaticClassInfo()});
}

}  // namespace orvella::test
