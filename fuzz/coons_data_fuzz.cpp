// A text object's distortion comes from documents and from the pattern file.

#include "formats/stream_format.h"
#include "objects/coons_distortion.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvella::TCoonsDistortion pattern;
    try {
        pattern.LoadData(bytes);
    } catch (const orvella::EReadError&) {
        return 0;
    }
    // A payload that was taken is exactly as long as what it writes, and
    // what it writes reads back to the same form.
    const std::string saved = pattern.SaveData();
    if (saved.size() != size)
        __builtin_trap();
    orvella::TCoonsDistortion back;
    back.LoadData(saved);
    if (back.SaveData() != saved)
        __builtin_trap();

    // Mapping whatever was read must not fail, however wild the points.
    pattern.SetSourceRect({0, 0, 1000, 400});
    pattern.SetTargetRect({-500, 100, 2500, 900});
    for (int32_t y = -100; y <= 500; y += 150)
        for (int32_t x = -100; x <= 1100; x += 150) {
            orvella::TPoint point{x, y};
            pattern.TransformPoint(point);
        }
    pattern.ApplyRatio(50);
    return 0;
}
