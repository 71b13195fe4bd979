// A damaged or hostile music file: every reader (MacBinary, ID3v1, ID3v2,
// MPEG headers, RIFF, MPEG-4) sees the bytes; whatever they report must lie
// inside the file. MUSIC_FUZZ_PREFIX selects a container the input goes in,
// so that each reader gets inputs that reach it.

#include "music/byte_source.h"
#include "music/mp3_file_info.h"

#include <cstddef>
#include <cstdint>
#include <string>

#ifndef MUSIC_FUZZ_PREFIX
#define MUSIC_FUZZ_PREFIX ""
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string prefix(MUSIC_FUZZ_PREFIX, sizeof(MUSIC_FUZZ_PREFIX) - 1);
    const std::string bytes = prefix + std::string(reinterpret_cast<const char*>(data), size);
    orvella::TMemorySource source(bytes);
    orvella::TMP3FileInfo info;
    info.FileName = "fuzz.mp3";
    info.ReadSource(source);
    const auto length = std::int64_t(bytes.size());
    if (info.DataStart < 0 || info.DataStart > length || info.DataEnd > length)
        __builtin_trap();
    for (int i = 0; i < info.PictureCount(); ++i)
        if (info.PictureOffset(i) < 0 || info.PictureOffset(i) >= length)
            __builtin_trap();
    return 0;
}
