// ID3v2 tags of versions 2.2, 2.3 and 2.4 at the start of the music data.

#include "music/genres.h"
#include "music/music_readers.h"
#include "music/tag_text.h"

#include <cstring>

namespace orvella::music_detail {

namespace {

// Text frames longer than this are not titles or names; they are skipped.
constexpr std::uint32_t kMaxTextFrame = 255;

std::uint32_t SynchSafe32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 7 | (static_cast<unsigned char>(bytes[at + i]) & 0x7F);
    return value;
}

struct TFrameField {
    const char* id3; // version 2.3 and 2.4
    const char* id2; // version 2.2
    std::string TMP3FileInfo::*field;
};

constexpr TFrameField kFields[] = {
    {"TIT2", "TT2", &TMP3FileInfo::Title},
    {"TPE1", "TP1", &TMP3FileInfo::Artist},
    {"TALB", "TAL", &TMP3FileInfo::Album},
    {"TYER", "TYE", &TMP3FileInfo::Year},
    {"TDRC", "", &TMP3FileInfo::Year},
    {"TCON", "TCO", &TMP3FileInfo::Genre},
    {"TCOM", "TCM", &TMP3FileInfo::Comment},
    {"TCOP", "TCR", &TMP3FileInfo::RightsNotice},
    {"TENC", "TEN", &TMP3FileInfo::EncodedBy},
    {"TOAL", "TOT", &TMP3FileInfo::SourceAlbum},
    {"TSSE", "TSS", &TMP3FileInfo::EncoderSettings},
};

TTagEncoding EncodingOf(unsigned char code)
{
    switch (code) {
    case 1:
        return TTagEncoding::Utf16;
    case 2:
        return TTagEncoding::Utf16BigEndian;
    case 3:
        return TTagEncoding::Utf8;
    default:
        return TTagEncoding::SystemCodePage;
    }
}

void ReadTextFrame(std::string_view id, int version, std::string_view body, TMP3FileInfo& info)
{
    for (const TFrameField& field : kFields) {
        const char* name = version == 2 ? field.id2 : field.id3;
        if (*name == 0 || id != name)
            continue;
        if (body.empty())
            return;
        std::string text = TagText(body.substr(1), EncodingOf(static_cast<unsigned char>(body[0])));
        if (field.field == &TMP3FileInfo::Genre)
            text = ExpandGenreText(text);
        info.*(field.field) = text;
        return;
    }
}

} // namespace

bool ReadId3v2(TByteSource& source, TMP3FileInfo& info)
{
    const std::string header = source.Read(info.DataStart, 10);
    if (header.size() < 10 || header.compare(0, 3, "ID3") != 0)
        return false;
    const int version = static_cast<unsigned char>(header[3]);
    const std::int64_t tagStart = info.DataStart;
    const std::int64_t tagSize = std::int64_t(SynchSafe32(header, 6)) + 10;
    if (version < 2 || version > 4) {
        // A tag of an unknown version is recognised but not interpreted.
        info.DataStart = 0;
        return true;
    }
    const auto flags = static_cast<unsigned char>(header[5]);
    const std::int64_t available = std::min<std::int64_t>(tagSize, info.DataEnd - tagStart);
    const std::string tag = source.Read(tagStart, std::size_t(std::max<std::int64_t>(available, 0)));
    const std::string_view bytes(tag);
    std::size_t pos = 10;
    if (version >= 3 && (flags & 0x40) && bytes.size() >= pos + 4) {
        // Extended header: 2.3 counts its size without the size field, 2.4 with it.
        const std::uint32_t extended = version == 3 ? BigEndian32(bytes, pos) + 4 : SynchSafe32(bytes, pos);
        pos += extended;
    }
    const std::size_t idLength = version == 2 ? 3 : 4;
    const std::size_t frameHeader = version == 2 ? 6 : 10;
    while (pos + frameHeader <= bytes.size()) {
        const std::string_view id = bytes.substr(pos, idLength);
        if (id[0] < 'A' || id[0] > 'Z')
            break;
        std::uint32_t size = 0;
        if (version == 2)
            size = std::uint32_t(static_cast<unsigned char>(bytes[pos + 3])) << 16
                | std::uint32_t(static_cast<unsigned char>(bytes[pos + 4])) << 8
                | static_cast<unsigned char>(bytes[pos + 5]);
        else if (version == 3)
            size = BigEndian32(bytes, pos + 4);
        else
            size = SynchSafe32(bytes, pos + 4);
        if (size < 1 || size > bytes.size() - pos - frameHeader)
            break;
        const std::size_t bodyStart = pos + frameHeader;
        const std::string_view body = bytes.substr(bodyStart, size);
        if (id == "APIC" || id == "PIC") {
            std::string format;
            const std::size_t at = FindPictureStart(body, format);
            if (at != std::string_view::npos)
                info.Pictures.push_back({format, tagStart + std::int64_t(bodyStart + at)});
        } else if (size <= kMaxTextFrame) {
            ReadTextFrame(id, version, body, info);
        }
        pos = bodyStart + size;
    }
    info.DataStart = tagStart + tagSize;
    if (info.DataStart > info.DataEnd)
        info.DataStart = info.DataEnd;
    return true;
}

} // namespace orvella::music_detail
