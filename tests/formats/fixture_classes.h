#pragma once
// The C++ twins of the fixture classes in tests/oracles/fpc_fixtures.pas:
// the same published properties in the same order, so that both sides write
// the same bytes.

#include "formats/collection.h"
#include "formats/component.h"
#include "formats/string_list.h"

#include <cstdint>
#include <string>

namespace orvella::test {

enum TFixAlign { alNone, alTop, alBottom, alClient };
enum TFixOption { foBold, foItalic, foUnderline, foStrikeOut };

class TFixFont : public TPersistent {
    ORVELLA_PERSISTENT(TFixFont)

public:
    std::string Name;
    std::int32_t Size = 9;
    std::int32_t Color = 0;
    std::uint32_t Style = 0;
};

class TFixItem : public TCollectionItem {
    ORVELLA_PERSISTENT(TFixItem)

public:
    std::string Caption;
    std::int32_t Value = 0;
};

class TFixBase : public TComponent {
    ORVELLA_PERSISTENT(TFixBase)

public:
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::string Caption;
    std::int32_t Color = 0x1FFFFFFF;
    double Ratio = 0;
    bool Flag = false;
    TFixAlign Align = alNone;
    std::uint32_t Options = 0;
    std::uint8_t Letter = 'A';
    std::int64_t Big = 0;
    TFixFont Font;
    TCollection Items{TFixItem::StaticClassInfo()};
    TStringList Lines;
    TComponent* Buddy = nullptr;
    std::string Data;  // stored through the binary entry "Data"

    void DefineProperties(TFiler& filer) override;
    void GetChildren(const std::function<void(TComponent&)>& proc) const override;
};

class TFixDerived : public TFixBase {
    ORVELLA_PERSISTENT(TFixDerived)

public:
    TFixDerived() { Width = 10; }
    std::int32_t Extra = 0;
};

class TFixFloats : public TComponent {
    ORVELLA_PERSISTENT(TFixFloats)

public:
    float AsSingle = 0;
    long double Money = 0;
    double When = 0;
};

// Registers the fixture classes (once).
void RegisterFixtureClasses();

}  // namespace orvella::test
