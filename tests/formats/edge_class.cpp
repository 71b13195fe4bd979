#include "edge_class.h"

#include "formats/property_table.h"

namespace orvella::test {

namespace {
constexpr const char* kMarkNames[] = {"Empty", "Null"};
}  // namespace

const TClassInfo& TEdge::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TEdge, TComponent>("TEdge", {
        IntegerProperty("Int", &TEdge::Int).Default(0),
        IntegerProperty("Color", &TEdge::Color).Idents(ColorIdents()).Default(clNone),
        BooleanProperty("Flag", &TEdge::Flag).Default(false),
        StringProperty("Text", &TEdge::Text),
        FloatProperty("Ratio", &TEdge::Ratio),
        ObjectProperty("Lines", &TEdge::Lines),
        IntegerProperty("Fixed", &TEdge::Fixed).ReadOnly(),
        VariantProperty("Any", &TEdge::Any),
        // Declared the way a colour constant is: unsigned, above 0x7FFFFFFF.
        IntegerProperty("Back", &TEdge::Back).Idents(ColorIdents()).Default(0x80000005u),
        MethodProperty("OnChange", &TEdge::OnChange),
        EnumProperty("Mark", kMarkNames, &TEdge::Mark).Default(0),
    });
    return info;
}

}  // namespace orvella::test
