#include "drawing/do_reader.h"

#include "formats/component.h"
#include "formats/component_stream.h"
#include "formats/property_table.h"
#include "drawing/designer.h"

namespace orvella {

TReaderHooks DrawObjectReaderHooks()
{
    TReaderHooks hooks;
    hooks.FindClass = [](std::string_view className) -> const TClassInfo* {
        // A name only a designer knows: the class of what it would make.
        if (std::unique_ptr<TComponent> probe = DesignerList().CreateInstance(className))
            return &probe->ClassInfo();
        return nullptr;
    };
    hooks.CreateComponent = [](const TClassInfo& info) { return DesignerList().CreateInstance(info.ClassName()); };
    return hooks;
}

std::unique_ptr<TComponent> ReadObject(TByteReader& in, TComponent* root)
{
    TDOReader reader(in);
    return reader.ReadRootComponent(root);
}

std::unique_ptr<TComponent> ReadObjectRes(TByteReader& in, TComponent* root)
{
    ReadResHeader(in);
    return ReadObject(in, root);
}

}  // namespace orvella
