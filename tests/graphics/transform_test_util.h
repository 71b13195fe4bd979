#pragma once
// Bitmaps with known content and a bridge to programs we did not write
// (ImageMagick, numpy) for the tests of resampling, blur and rotation.

#include "graphics/bitmap.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>

namespace orvella::test {

// Fills every byte (channel c of pixel x, y) from value.
inline void FillBytes(TBitmap& bitmap, const std::function<int(int32_t x, int32_t y, int c)>& value)
{
    const int channels = BytesPerPixel(bitmap.PixelFormat());
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            for (int c = 0; c < channels; ++c)
                bitmap.Row(y)[x * channels + c] = uint8_t(value(x, y, c));
}

// A busy picture: smooth waves plus a pseudo-random texture, different per channel.
inline void FillPhoto(TBitmap& bitmap, uint32_t seed = 1)
{
    uint32_t state = seed * 2654435761u + 12345;
    FillBytes(bitmap, [&](int32_t x, int32_t y, int c) {
        state = state * 1664525u + 1013904223u;
        const int wave = ((x * (3 + c) + y * (5 - c)) * 7) % 256;
        return (wave + int(state >> 28) * 4) % 256;
    });
}

inline int Byte(const TBitmap& bitmap, int32_t x, int32_t y, int c)
{
    return bitmap.Row(y)[x * BytesPerPixel(bitmap.PixelFormat()) + c];
}

// Largest difference of any byte of the pixels; -1 when sizes or formats differ.
inline int MaxDifference(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
        return -1;
    const int32_t bytes = a.Width() * BytesPerPixel(a.PixelFormat());
    int worst = 0;
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t i = 0; i < bytes; ++i)
            worst = std::max(worst, std::abs(int(a.Row(y)[i]) - int(b.Row(y)[i])));
    return worst;
}

inline const char* kConvert = "/usr/bin/convert";
inline const char* kPython = "/usr/bin/python3";

inline bool HaveNumpy()
{
    static const bool have = HavePythonModule("numpy");
    return have;
}

// Raw channel bytes without row padding, row after row.
inline std::string RawBytes(const TBitmap& bitmap)
{
    const int32_t bytes = bitmap.Width() * BytesPerPixel(bitmap.PixelFormat());
    std::string raw;
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        raw.append(reinterpret_cast<const char*>(bitmap.Row(y)), std::size_t(bytes));
    return raw;
}

// The bitmap holding raw bytes (as RawBytes writes them) of the given size.
inline bool FromRaw(TBitmap& bitmap, const std::string& raw, int32_t width, int32_t height, TPixelFormat format)
{
    const int32_t bytes = width * BytesPerPixel(format);
    if (raw.size() != std::size_t(bytes) * std::size_t(height))
        return false;
    bitmap.SetSize(width, height, format);
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(bitmap.Row(y), raw.data() + std::size_t(y) * std::size_t(bytes), std::size_t(bytes));
    return true;
}

// A 24-bit bitmap as a binary PPM (its bytes taken as R, G, B: only the
// geometry matters to the checks that use it).
inline void WritePpm(const TBitmap& bitmap, const std::string& file)
{
    std::ostringstream header;
    header << "P6\n" << bitmap.Width() << ' ' << bitmap.Height() << "\n255\n";
    WriteFile(file, header.str() + RawBytes(bitmap));
}

inline bool ReadPpm(TBitmap& bitmap, const std::string& file)
{
    const std::string data = ReadFile(file);
    std::istringstream in(data);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    if (magic != "P6" || maximum != 255 || !in)
        return false;
    const std::size_t start = std::size_t(in.tellg()) + 1;
    return FromRaw(bitmap, data.substr(start), width, height, TPixelFormat::pf24bit);
}

// Runs a numpy script that reads `input` (raw uint8 bytes) and writes raw
// uint8 bytes to `output`; the paths are passed as sys.argv[1] and [2].
inline bool RunNumpy(const std::string& script, const std::string& input, const std::string& output)
{
    // The largest resampling builds its weights in Python loops: over a
    // minute on a busy machine.
    const ToolRun run = RunProgram(kPython, {"-c", "import sys\nimport numpy as np\n" + script, input, output},
                                   std::chrono::minutes(4));
    return run.status == 0;
}

}  // namespace orvella::test
