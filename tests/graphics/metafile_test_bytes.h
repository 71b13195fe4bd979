#pragma once
// Small metafiles built as bytes for the player's tests, its fuzz seeds and
// its timing: an enhanced metafile of given records on a reference device
// where one device unit is one destination pixel, and a placeable Windows
// metafile whose bounding box is its window.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvella::test {

inline void PutLe(std::string& out, uint32_t value, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

// One enhanced metafile record of 32-bit values.
inline std::string EmfRecord(uint32_t type, std::initializer_list<int32_t> values)
{
    std::string record;
    PutLe(record, type);
    PutLe(record, uint32_t(8 + 4 * values.size()));
    for (int32_t v : values)
        PutLe(record, uint32_t(v));
    return record;
}

// A record whose body is given as bytes (padded to whole 32-bit words).
inline std::string EmfRecordBytes(uint32_t type, std::string body)
{
    while (body.size() % 4)
        body += '\0';
    std::string record;
    PutLe(record, type);
    PutLe(record, uint32_t(8 + body.size()));
    return record + body;
}

// width and height in device pixels, multiples of 5 so the frame in 0.01 mm
// is whole: the device has 1000 pixels across 254 mm (100 pixels an inch).
inline std::string Emf(int32_t width, int32_t height, const std::vector<std::string>& records)
{
    std::string body;
    for (const std::string& r : records)
        body += r;
    body += EmfRecord(14, {0, 16, 20});
    std::string header;
    PutLe(header, 1);
    PutLe(header, 108);
    for (int32_t v : {0, 0, width - 1, height - 1, 0, 0, width * 254 / 10, height * 254 / 10})
        PutLe(header, uint32_t(v));
    PutLe(header, 0x464D4520);
    PutLe(header, 0x10000);
    PutLe(header, uint32_t(108 + body.size()));
    PutLe(header, uint32_t(records.size() + 2));
    PutLe(header, 16, 2);  // handles
    PutLe(header, 0, 2);
    for (int32_t v : {0, 0, 0, 1000, 1000, 254, 254, 0, 0, 0, 254000, 254000})
        PutLe(header, uint32_t(v));
    return header + body;
}

// One Windows metafile record of 16-bit words.
inline std::string WmfRecord(uint16_t function, std::initializer_list<int32_t> words)
{
    std::string record;
    PutLe(record, uint32_t(3 + words.size()));
    PutLe(record, function, 2);
    for (int32_t w : words)
        PutLe(record, uint32_t(w), 2);
    return record;
}

inline std::string WmfRecordBytes(uint16_t function, std::string body)
{
    if (body.size() % 2)
        body += '\0';
    std::string record;
    PutLe(record, uint32_t(3 + body.size() / 2));
    PutLe(record, function, 2);
    return record + body;
}

// A placeable metafile with the bounding box (0, 0, width, height) at
// unitsPerInch, window set to the box.
inline std::string Wmf(int16_t width, int16_t height, const std::vector<std::string>& records,
                       uint16_t unitsPerInch = 96)
{
    std::string body = WmfRecord(0x020B, {0, 0}) + WmfRecord(0x020C, {height, width});
    uint32_t largest = 5;
    for (const std::string& r : records) {
        body += r;
        largest = std::max<uint32_t>(largest, uint32_t(r.size() / 2));
    }
    body += WmfRecord(0x0000, {});
    std::string out;
    PutLe(out, 0x9AC6CDD7);
    PutLe(out, 0, 2);
    for (int v : {0, 0, int(width), int(height)})
        PutLe(out, uint32_t(v), 2);
    PutLe(out, unitsPerInch, 2);
    PutLe(out, 0);
    uint16_t checksum = 0;
    for (std::size_t i = 0; i + 1 < out.size(); i += 2)
        checksum ^= uint16_t(uint8_t(out[i]) | uint8_t(out[i + 1]) << 8);
    PutLe(out, checksum, 2);
    PutLe(out, 1, 2);  // in memory
    PutLe(out, 9, 2);
    PutLe(out, 0x300, 2);
    PutLe(out, uint32_t(9 + body.size() / 2));
    PutLe(out, 16, 2);  // objects
    PutLe(out, largest);
    PutLe(out, 0, 2);
    return out + body;
}

// A bottom-up 24-bit DIB: info header, then rows from the bottom;
// colours[row * width + column] with row 0 at the top of the picture.
inline std::string Dib24(int32_t width, int32_t height, const std::vector<uint32_t>& colours, std::string* bits)
{
    std::string header;
    for (uint32_t v : {40u, uint32_t(width), uint32_t(height)})
        PutLe(header, v);
    PutLe(header, 1, 2);
    PutLe(header, 24, 2);
    for (int i = 0; i < 6; ++i)
        PutLe(header, 0);
    bits->clear();
    for (int32_t row = height - 1; row >= 0; --row) {
        std::string line;
        for (int32_t column = 0; column < width; ++column) {
            const uint32_t c = colours[std::size_t(row * width + column)];  // 0x00BBGGRR
            line += char((c >> 16) & 0xFF);
            line += char((c >> 8) & 0xFF);
            line += char(c & 0xFF);
        }
        while (line.size() % 4)
            line += '\0';
        *bits += line;
    }
    return header;
}

}  // namespace orvella::test
