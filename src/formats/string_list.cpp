#include "formats/string_list.h"

#include "formats/component_reader.h"
#include "formats/component_writer.h"
#include "formats/property_table.h"

namespace orvella {

const TClassInfo& TStringList::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TStringList, TPersistent>("TStringList", {});
    return info;
}

void TStringList::DefineProperties(TFiler& filer)
{
    filer.DefineProperty(
        "Strings",
        [this](TReader& reader) {
            Lines.clear();
            reader.ReadListBegin();
            while (!reader.EndOfList())
                Lines.push_back(reader.ReadString());
            reader.ReadListEnd();
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            for (const std::string& line : Lines)
                writer.WriteString(line);
            writer.WriteListEnd();
        },
        !Lines.empty());
}

}  // namespace orvella
