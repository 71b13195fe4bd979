#include "music_bytes.h"

namespace orvella::test {

std::string Be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Le32(std::uint32_t v)
{
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string SynchSafe(std::uint32_t v)
{
    return {char(v >> 21 & 0x7F), char(v >> 14 & 0x7F), char(v >> 7 & 0x7F), char(v & 0x7F)};
}

std::string Id3v2Tag(int version, const std::string& frames)
{
    return std::string("ID3") + char(version) + '\0' + '\0' + SynchSafe(std::uint32_t(frames.size())) + frames;
}

std::string TextFrame(int version, const std::string& id, const std::string& body)
{
    const auto size = std::uint32_t(body.size());
    if (version == 2)
        return id + char(size >> 16) + char(size >> 8) + char(size) + body;
    return id + (version == 4 ? SynchSafe(size) : Be32(size)) + '\0' + '\0' + body;
}

namespace {

std::string Frame(const std::string& header, std::size_t length, const std::string& payloadAt, std::size_t at)
{
    std::string frame = header;
    frame.resize(length, '\0');
    frame.replace(at, payloadAt.size(), payloadAt);
    return frame;
}

const std::string kMpeg1Header = "\xFF\xFB\x90\x00"; // 128 kbit/s, 44.1 kHz, stereo
const std::string kMpeg2Header = "\xFF\xF3\x80\x00"; // MPEG-2, 64 kbit/s, 22.05 kHz, stereo

} // namespace

std::string Mpeg1Frames(int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += Frame(kMpeg1Header, 417, "", 4);
    return out;
}

std::string XingFile(bool mpeg1, std::uint32_t frames)
{
    const std::string xing = std::string("Xing") + Be32(1) + Be32(frames);
    if (mpeg1)
        return Frame(kMpeg1Header, 417, xing, 4 + 32) + Mpeg1Frames(1);
    return Frame(kMpeg2Header, 208, xing, 4 + 17) + Frame(kMpeg2Header, 208, "", 4);
}

std::string VbriFile(std::uint32_t frames)
{
    std::string vbri = std::string("VBRI") + std::string(10, '\0') + Be32(frames);
    return Frame(kMpeg1Header, 417, vbri, 4 + 32) + Mpeg1Frames(1);
}

namespace {

std::string Box(const std::string& type, const std::string& body)
{
    return Be32(std::uint32_t(body.size() + 8)) + type + body;
}

std::string Item(const std::string& type, const std::string& value, std::uint32_t dataType)
{
    return Box(type, Box("data", Be32(dataType) + Be32(0) + value));
}

} // namespace

std::string M4aFile(int seconds, const std::string& title, const std::string& artist, const std::string& album,
    const std::string& cover)
{
    const std::string ftyp = Box("ftyp", std::string("M4A ") + Be32(0) + "M4A mp42isom");
    std::string mvhd = Be32(0) + Be32(0) + Be32(0) + Be32(1000) + Be32(std::uint32_t(seconds) * 1000);
    mvhd.resize(100, '\0');
    std::string items = Item("\xA9nam", title, 1)
        + Item("\xA9"
               "ART",
            artist, 1)
        + Item("\xA9"
               "alb",
            album, 1);
    if (!cover.empty())
        items += Item("covr", cover, 13);
    const std::string meta = Box("meta", Be32(0) + Box("hdlr", std::string(25, '\0')) + Box("ilst", items));
    const std::string moov = Box("moov", Box("mvhd", mvhd) + Box("udta", meta));
    return ftyp + moov + Box("mdat", std::string(64, '\0'));
}

std::string WaveFile(int seconds, const std::string& title, const std::string& artist)
{
    auto chunk = [](const std::string& id, const std::string& body) {
        std::string out = id + Le32(std::uint32_t(body.size())) + body;
        if (body.size() % 2)
            out += '\0';
        return out;
    };
    const std::string fmt = chunk(
        "fmt ", std::string("\x01\x00\x01\x00", 4) + Le32(8000) + Le32(8000) + std::string("\x01\x00\x08\x00", 4));
    const std::string info = chunk("LIST", "INFO" + chunk("INAM", title + '\0') + chunk("IART", artist + '\0'));
    const std::string data = chunk("data", std::string(std::size_t(seconds) * 8000, '\x80'));
    const std::string body = "WAVE" + fmt + info + data;
    return "RIFF" + Le32(std::uint32_t(body.size())) + body;
}

} // namespace orvella::test
