// XML settings documents arrive inside downloaded paper catalogs and from
// plug-ins: parse any bytes and read them as sections and values.

#include "formats/xml_ini_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    orvella::TXMLIniFile ini;
    try {
        ini.LoadFromString(std::string_view(reinterpret_cast<const char*>(data), size));
        orvella::TXMLIniSectionList sections = ini.GetSections("*");
        for (int i = 0; i < sections.Count() && i < 64; ++i) {
            orvella::TXMLIniSection section = sections.Item(i);
            section.ReadValueNames();
            section.ReadInteger("PrinterName", 0);
            section.ReadDateTime("When", 0);
            section.GetText();
        }
        ini.SaveToString();
    } catch (const orvella::EXMLIniFile&) {
    }
    return 0;
}
