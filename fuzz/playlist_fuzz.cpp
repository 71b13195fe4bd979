// A damaged or hostile playlist of any kind (M3U, ASX, iTunes text or XML),
// read as a file in a scratch folder whose entries name files beside it.

#include "music/m3u_file_info.h"
#include "scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    orvella::TM3UFileInfo list;
    list.FileName = orvella::fuzz::ScratchFolder::File("list.m3u");
    list.LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
    for (int i = 0; i <= list.EntryCount() + 1; ++i) {
        list.Path(i);
        list.Duration(i);
    }
    return 0;
}
