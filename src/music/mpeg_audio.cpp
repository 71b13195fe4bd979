// MPEG audio frame headers and the Xing, Info and VBRI headers that tell the
// frame count of variable-bitrate files.

#include "music/music_readers.h"

#include <array>

namespace orvella::music_detail {

namespace {

// Bit rates in kbit/s by version group (MPEG-1, MPEG-2/2.5), layer and index.
constexpr std::array<std::array<std::array<int, 16>, 3>, 2> kBitrates = {{
    {{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1},
    }},
    {{
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
    }},
}};

constexpr std::array<int, 3> kSampleRates = {44100, 48000, 32000};

struct TFrameHeader {
    bool mpeg1 = false;
    int layer = 0; // 1, 2 or 3
    int bitrate = 0;
    int sampleRate = 0;
    bool mono = false;
    bool padding = false;

    int SamplesPerFrame() const { return layer == 1 ? 384 : (layer == 3 && !mpeg1 ? 576 : 1152); }
    int FrameLength() const
    {
        if (layer == 1)
            return (12 * bitrate * 1000 / sampleRate + (padding ? 1 : 0)) * 4;
        const int factor = layer == 3 && !mpeg1 ? 72 : 144;
        return factor * bitrate * 1000 / sampleRate + (padding ? 1 : 0);
    }
    int SideInfoLength() const
    {
        if (layer != 3)
            return 0;
        if (mpeg1)
            return mono ? 17 : 32;
        return mono ? 9 : 17;
    }
};

bool IsSync(std::string_view bytes, std::size_t at)
{
    return at + 1 < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF
        && (static_cast<unsigned char>(bytes[at + 1]) & 0xE0) == 0xE0;
}

bool ParseHeader(std::string_view bytes, std::size_t at, TFrameHeader& header)
{
    if (at + 4 > bytes.size() || !IsSync(bytes, at))
        return false;
    const auto b1 = static_cast<unsigned char>(bytes[at + 1]);
    const auto b2 = static_cast<unsigned char>(bytes[at + 2]);
    const auto b3 = static_cast<unsigned char>(bytes[at + 3]);
    const int version = b1 >> 3 & 3; // 0 MPEG-2.5, 1 reserved, 2 MPEG-2, 3 MPEG-1
    const int layerBits = b1 >> 1 & 3;
    if (version == 1 || layerBits == 0)
        return false;
    header.mpeg1 = version == 3;
    header.layer = 4 - layerBits;
    const int bitrateIndex = b2 >> 4;
    const int rateIndex = b2 >> 2 & 3;
    header.bitrate = kBitrates[header.mpeg1 ? 0 : 1][std::size_t(header.layer - 1)][std::size_t(bitrateIndex)];
    if (header.bitrate <= 0 || rateIndex == 3)
        return false;
    header.sampleRate = kSampleRates[std::size_t(rateIndex)] / (version == 3 ? 1 : version == 2 ? 2 : 4);
    header.padding = (b2 >> 1 & 1) != 0;
    header.mono = (b3 >> 6) == 3;
    return true;
}

} // namespace

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return 0;
    return std::uint32_t(static_cast<unsigned char>(bytes[at])) << 24
        | std::uint32_t(static_cast<unsigned char>(bytes[at + 1])) << 16
        | std::uint32_t(static_cast<unsigned char>(bytes[at + 2])) << 8 | static_cast<unsigned char>(bytes[at + 3]);
}

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return 0;
    return std::uint32_t(static_cast<unsigned char>(bytes[at + 3])) << 24
        | std::uint32_t(static_cast<unsigned char>(bytes[at + 2])) << 16
        | std::uint32_t(static_cast<unsigned char>(bytes[at + 1])) << 8 | static_cast<unsigned char>(bytes[at]);
}

std::size_t FindPictureStart(std::string_view bytes, std::string& format)
{
    const std::size_t limit = std::min<std::size_t>(bytes.size(), 256);
    for (std::size_t i = 0; i + 1 < limit; ++i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        if (a == 0xFF && b == 0xD8) {
            format = "JPG";
            return i;
        }
        if (a == 0x89 && b == 0x50) {
            format = "PNG";
            return i;
        }
    }
    return std::string_view::npos;
}

bool ReadMpegAudio(TByteSource& source, TMP3FileInfo& info, bool afterTag)
{
    if (info.DataEnd <= info.DataStart)
        return false;
    TFrameHeader header;
    std::int64_t headerAt = info.DataStart;
    std::string bytes = source.Read(headerAt, 4096);
    if (!ParseHeader(bytes, 0, header)) {
        if (!afterTag)
            return false;
        // Some taggers get the tag size wrong: look around the tag's end.
        const std::int64_t windowStart = std::max<std::int64_t>(0, info.DataStart - 512);
        const std::string window = source.Read(windowStart, 1024);
        std::size_t found = std::string::npos;
        for (std::size_t i = 0; i + 4 <= window.size(); ++i) {
            if (ParseHeader(window, i, header)) {
                found = i;
                break;
            }
        }
        if (found == std::string::npos)
            return false;
        headerAt = windowStart + std::int64_t(found);
        bytes = source.Read(headerAt, 4096);
        if (!ParseHeader(bytes, 0, header))
            return false;
    } else if (!afterTag) {
        TFrameHeader next;
        if (!ParseHeader(bytes, std::size_t(header.FrameLength()), next))
            return false;
    }
    info.Duration = int((info.DataEnd - info.DataStart) * 8 / (std::int64_t(header.bitrate) * 1000));

    const std::size_t xingAt = 4 + std::size_t(header.SideInfoLength());
    if (bytes.size() >= xingAt + 18) {
        const std::string_view tag = std::string_view(bytes).substr(xingAt, 4);
        if ((tag == "Xing" || tag == "Info") && (BigEndian32(bytes, xingAt + 4) & 1)) {
            const std::uint32_t frames = BigEndian32(bytes, xingAt + 8);
            info.Duration = int(std::int64_t(frames) * header.SamplesPerFrame() / header.sampleRate);
            return true;
        }
    }
    constexpr std::size_t vbriAt = 4 + 32;
    if (bytes.size() >= vbriAt + 18 && std::string_view(bytes).substr(vbriAt, 4) == "VBRI") {
        const std::uint32_t frames = BigEndian32(bytes, vbriAt + 14);
        info.Duration = int(std::int64_t(frames) * header.SamplesPerFrame() / header.sampleRate);
    }
    return true;
}

} // namespace orvella::music_detail
