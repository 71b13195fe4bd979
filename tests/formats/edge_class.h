#pragma once
// A small component with one property of each kind the edge cases need.

#include "formats/component.h"
#include "formats/ident_tables.h"
#include "formats/string_list.h"
#include "formats/variant_value.h"

#include <cstdint>
#include <string>

namespace orvella::test {

class TEdge : public TComponent {
    ORVELLA_PERSISTENT(TEdge)

public:
    std::int32_t Int = 0;
    std::int32_t Color = clNone;
    bool Flag = false;
    std::string Text;
    double Ratio = 0;
    TStringList Lines;
    std::int32_t Fixed = 5;  // published without a setter
    TVariant Any;
    std::int32_t Back = std::int32_t(0x80000005u);  // clWindow
    std::string OnChange;                            // an event's handler name
    std::int32_t Mark = 0;                           // enumeration: Empty, Null
};

}  // namespace orvella::test
