// Reading arbitrary bytes as a component stream, into a component with every
// kind of property, and printing them in the text form; then parsing
// arbitrary text as the text form.

#include "formats/class_registry.h"
#include "formats/collection.h"
#include "formats/component.h"
#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"
#include "formats/string_list.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace orvella;

class TFuzzItem : public TCollectionItem {
    ORVELLA_PERSISTENT(TFuzzItem)

public:
    std::string Caption;
    TComponent* Link = nullptr;
};

class TFuzzNested : public TPersistent {
    ORVELLA_PERSISTENT(TFuzzNested)

public:
    std::int32_t Size = 9;
    TStringList Lines;
};

class TFuzzRoot : public TComponent {
    ORVELLA_PERSISTENT(TFuzzRoot)

public:
    std::int32_t Width = 0;
    std::int32_t Color = clNone;
    bool Flag = false;
    std::uint32_t Options = 0;
    std::uint8_t Letter = 'A';
    std::int64_t Big = 0;
    long double Ratio = 0;
    std::string Caption;
    TFuzzNested Nested;
    TCollection Items{TFuzzItem::StaticClassInfo()};
    TComponent* Buddy = nullptr;
    TVariant Any;
    std::string Data;

    void DefineProperties(TFiler& filer) override
    {
        filer.DefineBinaryProperty(
            "Data", [this](TByteReader& in) { Data = std::string(in.ReadBytes(in.Remaining())); },
            [this](std::string& out) { out += Data; }, !Data.empty());
    }
    void GetChildren(const std::function<void(TComponent&)>& proc) const override
    {
        for (std::size_t i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
};

constexpr const char* kOptionNames[] = {"foBold", "foItalic"};

const TClassInfo& TFuzzItem::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFuzzItem, TCollectionItem>("TFuzzItem", {
        StringProperty("Caption", &TFuzzItem::Caption),
        ComponentProperty("Link", &TFuzzItem::Link),
    });
    return info;
}

const TClassInfo& TFuzzNested::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFuzzNested, TPersistent>("TFuzzNested", {
        IntegerProperty("Size", &TFuzzNested::Size).Default(9),
        ObjectProperty("Lines", &TFuzzNested::Lines),
    });
    return info;
}

const TClassInfo& TFuzzRoot::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFuzzRoot, TComponent>("TFuzzRoot", {
        IntegerProperty("Width", &TFuzzRoot::Width).Default(0),
        IntegerProperty("Color", &TFuzzRoot::Color).Idents(ColorIdents()).Default(clNone),
        BooleanProperty("Flag", &TFuzzRoot::Flag).Default(false),
        SetProperty("Options", kOptionNames, &TFuzzRoot::Options).Default(0),
        CharProperty("Letter", &TFuzzRoot::Letter).Default('A'),
        Int64Property("Big", &TFuzzRoot::Big),
        FloatProperty("Ratio", &TFuzzRoot::Ratio),
        StringProperty("Caption", &TFuzzRoot::Caption),
        ObjectProperty("Nested", &TFuzzRoot::Nested),
        ObjectProperty("Items", &TFuzzRoot::Items),
        ComponentProperty("Buddy", &TFuzzRoot::Buddy),
        VariantProperty("Any", &TFuzzRoot::Any),
    });
    return info;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (RegisterClass(TFuzzRoot::StaticClassInfo()), true);
    (void)registered;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        std::unique_ptr<TComponent> root =
            HasResHeader(bytes) ? ReadComponentRes(bytes) : ReadComponent(bytes);
        // What was read must write again (text CP932 cannot hold aside).
        try {
            WriteComponent(*root);
        } catch (const EWriteError&) {
        }
    } catch (const EFilerError&) {
    }
    try {
        TFuzzRoot given;
        ReadComponent(bytes, given);
    } catch (const EFilerError&) {
    }
    try {
        ObjectTextToBinary(ObjectBinaryToText(bytes));
    } catch (const EFilerError&) {
    }
    try {
        ObjectTextToBinary(bytes);
    } catch (const EFilerError&) {
    }
    return 0;
}
