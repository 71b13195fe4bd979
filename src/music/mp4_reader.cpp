// MPEG-4 audio files: the movie header's duration and the iTunes item list.

#include "music/music_readers.h"
#include "music/tag_text.h"

#include <cctype>

namespace orvella::music_detail {

namespace {

// The movie box holds only headers and metadata (cover pictures included);
// anything larger is damaged.
constexpr std::int64_t kMaxMovieBox = 64 << 20;

struct TBox {
    std::string_view type;
    std::size_t body = 0; // offset of the body in the buffer
    std::size_t end = 0;
};

// The boxes inside bytes[from, to); stops at the first one that does not fit.
template <class Visit> void ForEachBox(std::string_view bytes, std::size_t from, std::size_t to, Visit visit)
{
    std::size_t pos = from;
    while (pos + 8 <= to) {
        std::uint64_t size = BigEndian32(bytes, pos);
        std::size_t header = 8;
        if (size == 1) {
            if (pos + 16 > to)
                return;
            size = std::uint64_t(BigEndian32(bytes, pos + 8)) << 32 | BigEndian32(bytes, pos + 12);
            header = 16;
        } else if (size == 0) {
            size = to - pos;
        }
        if (size < header || size > to - pos)
            return;
        visit(TBox {bytes.substr(pos + 4, 4), pos + header, pos + std::size_t(size)});
        pos += std::size_t(size);
    }
}

std::string ItemText(std::string_view bytes, const TBox& item)
{
    std::string text;
    ForEachBox(bytes, item.body, item.end, [&](const TBox& data) {
        if (data.type == "data" && text.empty() && data.end - data.body >= 8)
            text = TagText(bytes.substr(data.body + 8, data.end - data.body - 8), TTagEncoding::Utf8);
    });
    return text;
}

void ReadItemList(std::string_view bytes, const TBox& ilst, std::int64_t fileOffset, TMP3FileInfo& info)
{
    ForEachBox(bytes, ilst.body, ilst.end, [&](const TBox& item) {
        if (item.type == "\xA9nam")
            info.Title = ItemText(bytes, item);
        else if (item.type
            == "\xA9"
               "ART")
            info.Artist = ItemText(bytes, item);
        else if (item.type
            == "\xA9"
               "alb")
            info.Album = ItemText(bytes, item);
        else if (item.type == "covr") {
            ForEachBox(bytes, item.body, item.end, [&](const TBox& data) {
                if (data.type != "data")
                    return;
                std::string format;
                const std::size_t at = FindPictureStart(bytes.substr(data.body, data.end - data.body), format);
                if (at != std::string_view::npos)
                    info.Pictures.push_back({format, fileOffset + std::int64_t(data.body + at)});
            });
        }
    });
}

void ReadMeta(std::string_view bytes, const TBox& meta, std::int64_t fileOffset, TMP3FileInfo& info)
{
    if (meta.end - meta.body < 4)
        return;
    ForEachBox(bytes, meta.body + 4, meta.end, [&](const TBox& box) {
        if (box.type == "ilst")
            ReadItemList(bytes, box, fileOffset, info);
    });
}

void ReadMovie(std::string_view bytes, std::int64_t fileOffset, TMP3FileInfo& info)
{
    ForEachBox(bytes, 0, bytes.size(), [&](const TBox& box) {
        if (box.type == "mvhd" && box.end - box.body >= 20) {
            const bool version1 = bytes[box.body] == 1;
            std::uint32_t scale = 0;
            std::uint64_t duration = 0;
            if (version1 && box.end - box.body >= 32) {
                scale = BigEndian32(bytes, box.body + 20);
                duration = std::uint64_t(BigEndian32(bytes, box.body + 24)) << 32 | BigEndian32(bytes, box.body + 28);
            } else if (!version1) {
                scale = BigEndian32(bytes, box.body + 12);
                duration = BigEndian32(bytes, box.body + 16);
            }
            if (scale != 0)
                info.Duration = int(std::min<std::uint64_t>(duration / scale, 0x7FFFFFFF));
        } else if (box.type == "udta") {
            ForEachBox(bytes, box.body, box.end, [&](const TBox& inner) {
                if (inner.type == "meta")
                    ReadMeta(bytes, inner, fileOffset, info);
            });
        } else if (box.type == "meta") {
            ReadMeta(bytes, box, fileOffset, info);
        }
    });
}

} // namespace

bool ReadMpeg4(TByteSource& source, TMP3FileInfo& info)
{
    std::int64_t pos = info.DataStart;
    const std::string first = source.Read(pos, 12);
    if (first.size() < 12 || first.compare(4, 4, "ftyp") != 0)
        return false;
    if (std::toupper(static_cast<unsigned char>(first[8])) != 'M' || first[9] != '4')
        return false;
    while (pos + 8 <= info.DataEnd) {
        const std::string header = source.Read(pos, 16);
        std::int64_t size = BigEndian32(header, 0);
        std::int64_t headerSize = 8;
        if (size == 1 && header.size() >= 16) {
            const std::uint64_t large = std::uint64_t(BigEndian32(header, 8)) << 32 | BigEndian32(header, 12);
            if (large > std::uint64_t(info.DataEnd))
                break;
            size = std::int64_t(large);
            headerSize = 16;
        }
        if (size < headerSize || size > info.DataEnd - pos)
            break;
        if (header.compare(4, 4, "moov") == 0 && size - headerSize <= kMaxMovieBox) {
            const std::string movie = source.Read(pos + headerSize, std::size_t(size - headerSize));
            ReadMovie(movie, pos + headerSize, info);
        }
        pos += size;
    }
    return true;
}

} // namespace orvella::music_detail
