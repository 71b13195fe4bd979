// Reading arbitrary bytes as a pasted object list and as a stored draw site.

#include "formats/property_table.h"

#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

namespace {

using namespace orvella;

class TFuzzBox : public TDrawObject {
    ORVELLA_PERSISTENT(TFuzzBox)

public:
    TRect Box;
    bool HitTest(TPoint) override { return true; }
    TRect GetLogicalBounds() const override { return Box; }
    void ShowHandles() override {}
    void BeginDrag(int) override {}
    void Paint(TCanvas&) override {}

private:
    int32_t right() const { return Box.Right; }
    void setRight(int32_t v) { Box.Right = v; }
    int32_t bottom() const { return Box.Bottom; }
    void setBottom(int32_t v) { Box.Bottom = v; }
};

const TClassInfo& TFuzzBox::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFuzzBox, TDrawObject>("TFuzzBox", {
        IntegerProperty("BoxRight", &TFuzzBox::right, &TFuzzBox::setRight).Default(0),
        IntegerProperty("BoxBottom", &TFuzzBox::bottom, &TFuzzBox::setBottom).Default(0),
    });
    return info;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = [] {
        RegisterClasses({&TFuzzBox::StaticClassInfo(), &TDrawSite::StaticClassInfo(), &TComponent::StaticClassInfo()});
        return true;
    }();
    (void)registered;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        TDOList list;
        list.ReadFromStream(bytes);
    } catch (const std::exception&) {
    }
    try {
        TDrawSite site;
        ReadComponent(bytes.size() > 4 ? bytes.substr(4) : bytes, site);
    } catch (const std::exception&) {
    }
    return 0;
}
