#include "edge_class.h"

#include "formats/property_table.h"

namespace orvella::test {

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
    });
    return info;
}

}  // namespace orvella::test
