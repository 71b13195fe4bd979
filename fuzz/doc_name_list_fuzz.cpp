// A name list stream from a damaged document: load it, add and delete
// entries, and never reach outside the list's storage.

#include "formats/doc_name_list.h"
#include "formats/storage_error.h"
#include "platform/backslash_path.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    orvella::TTemporaryStorage root;
    orvella::TDocStream(root, orvella::dmCreate, "Sheets\\NameList")
        .WriteAll(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        orvella::TDocNameList list(root, "Sheets\\NameList");
        for (int i = 0; i < list.Count(); ++i)
            if (list.ElementPath(i).rfind("\\Sheets\\", 0) != 0)
                __builtin_trap();
        list.AddNew();
        while (list.Count() > 0)
            list.DeleteEntry(0);
    } catch (const orvella::EStorageError&) {
    } catch (const orvella::EPathUtil&) {
    }
    return 0;
}
