// RIFF WAVE and RMP3 files: the INFO texts and the range of the music data.

#include "music/music_readers.h"
#include "music/tag_text.h"

namespace orvella::music_detail {

namespace {

// INFO chunks are small; larger ones are damaged and skipped.
constexpr std::uint32_t kMaxInfoList = 1 << 20;

struct TInfoField {
    const char* id;
    std::string TMP3FileInfo::*field;
};

constexpr TInfoField kInfoFields[] = {
    {"INAM", &TMP3FileInfo::Title},
    {"IART", &TMP3FileInfo::Artist},
    {"IPRD", &TMP3FileInfo::Album},
    {"ICMT", &TMP3FileInfo::Comment},
    {"ICRD", &TMP3FileInfo::Year},
    {"IGNR", &TMP3FileInfo::Genre},
    {"ICOP", &TMP3FileInfo::RightsNotice},
    {"IENG", &TMP3FileInfo::EncodedBy},
    {"ISRC", &TMP3FileInfo::SourceAlbum},
    {"ISFT", &TMP3FileInfo::EncoderSettings},
};

void ReadInfoList(std::string_view list, TMP3FileInfo& info)
{
    std::size_t pos = 4; // after "INFO"
    while (pos + 8 <= list.size()) {
        const std::string_view id = list.substr(pos, 4);
        const std::uint32_t size = LittleEndian32(list, pos + 4);
        if (size > list.size() - pos - 8)
            break;
        for (const TInfoField& field : kInfoFields)
            if (id == field.id)
                info.*(field.field) = TagText(list.substr(pos + 8, size));
        pos += 8 + size + (size & 1);
    }
}

} // namespace

bool ReadRiff(TByteSource& source, TMP3FileInfo& info)
{
    const std::string head = source.Read(info.DataStart, 12);
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0)
        return false;
    const std::string_view form = std::string_view(head).substr(8, 4);
    const bool wave = form == "WAVE";
    if (!wave && form != "RMP3")
        return false;
    const std::int64_t end = info.DataEnd;
    std::int64_t pos = info.DataStart + 12;
    std::uint32_t byteRate = 0;
    std::int64_t dataStart = -1;
    std::int64_t dataEnd = -1;
    while (pos + 8 <= end) {
        const std::string chunk = source.Read(pos, 8);
        if (chunk.size() < 8)
            break;
        const std::string_view id = std::string_view(chunk).substr(0, 4);
        const std::int64_t size = LittleEndian32(chunk, 4);
        const std::int64_t body = pos + 8;
        const std::int64_t bodyEnd = std::min(body + size, end);
        if (id == "data") {
            dataStart = body;
            dataEnd = bodyEnd;
        } else if (id == "fmt " && size >= 16) {
            byteRate = LittleEndian32(source.Read(body, 16), 8);
        } else if (id == "LIST" && size >= 4 && size <= kMaxInfoList) {
            const std::string list = source.Read(body, std::size_t(bodyEnd - body));
            if (list.compare(0, 4, "INFO") == 0)
                ReadInfoList(list, info);
        }
        pos = body + size + (size & 1);
    }
    if (dataStart < 0)
        return false;
    info.DataStart = dataStart;
    info.DataEnd = dataEnd;
    if (!wave || byteRate == 0)
        return false;
    info.Duration = int((dataEnd - dataStart) / byteRate);
    return true;
}

} // namespace orvella::music_detail
