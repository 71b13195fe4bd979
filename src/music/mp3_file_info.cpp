#include "music/mp3_file_info.h"

#include "music/byte_source.h"
#include "music/genres.h"
#include "music/music_readers.h"
#include "music/tag_text.h"

#include <filesystem>
#include <sstream>

namespace orvella {

using namespace music_detail;

namespace {

// A MacBinary header wraps files copied from old Macintosh systems; the
// music data is the data fork after it.
void SkipMacBinary(TByteSource& source, TMP3FileInfo& info)
{
    if (source.Size() <= 128)
        return;
    const std::string head = source.Read(0, 128);
    if (head.size() < 128 || head[0] != 0 || head[1] < 1 || head[1] > 31 || head[74] != 0 || head[82] != 0)
        return;
    const std::uint32_t dataFork = BigEndian32(head, 83);
    const std::uint32_t resourceFork = BigEndian32(head, 87);
    if (dataFork > 0x7FFFFFFF || resourceFork > 0x7FFFFFFF)
        return;
    info.DataStart = 128;
    info.DataEnd = std::min<std::int64_t>(source.Size(), 128 + std::int64_t(dataFork));
}

void ReadId3v1(TByteSource& source, TMP3FileInfo& info)
{
    if (info.DataEnd - info.DataStart <= 128)
        return;
    const std::string tag = source.Read(info.DataEnd - 128, 128);
    if (tag.size() < 128 || tag.compare(0, 3, "TAG") != 0)
        return;
    const std::string_view bytes(tag);
    info.Title = TagText(bytes.substr(3, 30));
    info.Artist = TagText(bytes.substr(33, 30));
    info.Album = TagText(bytes.substr(63, 30));
    info.Year = TagText(bytes.substr(93, 4));
    info.Comment = TagText(bytes.substr(97, 30));
    info.Genre = GenreName(static_cast<unsigned char>(tag[127]));
    info.DataEnd -= 128;
}

} // namespace

std::string BaseNameWithoutExtension(const std::string& path)
{
    std::string name = path;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

void TMP3FileInfo::clear()
{
    Duration = 0;
    Title.clear();
    Artist.clear();
    Album.clear();
    Comment.clear();
    Year.clear();
    Genre.clear();
    RightsNotice.clear();
    EncodedBy.clear();
    SourceAlbum.clear();
    EncoderSettings.clear();
    Pictures.clear();
    DataStart = 0;
    DataEnd = 0;
}

bool TMP3FileInfo::ReadSource(TByteSource& source)
{
    clear();
    bool ok = false;
    try {
        DataEnd = source.Size();
        SkipMacBinary(source, *this);
        ReadId3v1(source, *this);
        const bool wave = ReadRiff(source, *this);
        if (ReadId3v2(source, *this))
            ok = ReadMpegAudio(source, *this, true);
        else if (wave)
            ok = true;
        else
            ok = ReadMpeg4(source, *this) || ReadMpegAudio(source, *this, false);
    } catch (const std::exception&) {
        ok = false;
    }
    if (ok && Title.empty() && !FileName.empty())
        Title = BaseNameWithoutExtension(FileName);
    return ok;
}

bool TMP3FileInfo::Read()
{
    try {
        TFileSource source {std::filesystem::path(FileName)};
        return ReadSource(source);
    } catch (const std::exception&) {
        clear();
        return false;
    }
}

bool TMP3FileInfo::ReadStream(std::istream& stream)
{
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    stream.clear();
    stream.seekg(0);
    const std::string all = bytes.str();
    TMemorySource source(all);
    return ReadSource(source);
}

std::string TMP3FileInfo::PictureFormat(int index) const
{
    if (index < 0 || index >= PictureCount())
        return {};
    return Pictures[std::size_t(index)].Format;
}

std::int64_t TMP3FileInfo::PictureOffset(int index) const
{
    if (index < 0 || index >= PictureCount())
        return -1;
    return Pictures[std::size_t(index)].Offset;
}

} // namespace orvella
