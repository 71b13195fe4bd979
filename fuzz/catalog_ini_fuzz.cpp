// Catalog files come from update media: parse, read, edit and write them back.

#include "catalog_merge/cp932_fold.h"
#include "catalog_merge/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using orvella::velmont::TIniFile;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TIniFile ini = TIniFile::Parse(bytes);
    for (const std::string& section : ini.SectionNames()) {
        for (const std::string& entry : ini.ReadSectionValues(section)) {
            const std::string key = entry.substr(0, entry.find('='));
            ini.ReadString(section, key);
            ini.DeleteKey(section, key);
            ini.WriteString(section, key, orvella::velmont::FoldCp932(entry));
        }
    }
    const std::string again = TIniFile::Parse(ini.Serialize()).Serialize();
    if (again != ini.Serialize())
        __builtin_trap();  // writing must be stable
    return 0;
}
