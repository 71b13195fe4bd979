#include "music/album_build.h"

#include "music/m3u_file_info.h"
#include "music/mp3_file_info.h"
#include "platform/cp932.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

namespace orvella {

namespace {

constexpr std::array<std::array<int, 5>, 6> kFieldOrders = {{
    {0, 1, 3, 2, 4},
    {0, 3, 1, 2, 4},
    {0, 1, 2, 3, 4},
    {0, 2, 1, 3, 4},
    {0, 3, 1, 2, 4},
    {0, 3, 2, 1, 4},
}};

struct TSortKey {
    bool numbered = false;
    unsigned long long number = 0;
    std::string bytes; // the title in the system code page, as it compares there
};

TSortKey KeyOf(const std::string& title)
{
    TSortKey key;
    key.bytes = EncodeCp932(title, Cp932Mode::Replace);
    std::size_t digits = 0;
    while (digits < title.size() && title[digits] >= '0' && title[digits] <= '9') {
        if (key.number < 100000000000ULL)
            key.number = key.number * 10 + std::uint64_t(title[digits] - '0');
        ++digits;
    }
    key.numbered = digits > 0;
    return key;
}

bool ComesAfter(const TSortKey& a, const TSortKey& b)
{
    if (a.numbered && b.numbered && a.number != b.number)
        return b.number < a.number;
    return a.bytes > b.bytes;
}

void RecordFromFileName(const std::string& fileName, bool parseNames, TMusicInfo::TRecord& record)
{
    std::string name = fileName;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    const std::size_t close = name.find(')');
    if (parseNames && name.starts_with("(") && close != std::string::npos && close >= 2) {
        record.Artist = name.substr(1, close - 1);
        record.Title = name.substr(close + 1);
    } else {
        record.Title = name;
    }
}

// "Artist「Album」" as the last folder name.
void AlbumFromFolderName(const std::string& folder, TMusicInfo& music)
{
    std::filesystem::path path(folder);
    if (!path.has_filename())
        path = path.parent_path();
    const std::string name = path.filename().string();
    const std::string open = "「";
    const std::string close = "」";
    const std::size_t at = name.find(open);
    if (at == std::string::npos || at == 0)
        return;
    const std::size_t end = name.find(close, at + open.size());
    if (end == std::string::npos)
        return;
    music.Artist = name.substr(0, at);
    music.Title = name.substr(at + open.size(), end - at - open.size());
}

} // namespace

const std::vector<std::string>& AlbumFieldOrderCaptions()
{
    static const std::vector<std::string> captions = {
        "No.－タイトル－時間－アーティスト－アルバム",
        "No.－時間－タイトル－アーティスト－アルバム",
        "No.－タイトル－アーティスト－時間－アルバム",
        "No.－アーティスト－タイトル－時間－アルバム",
        "No.－時間－タイトル－アーティスト－アルバム",
        "No.－時間－アーティスト－タイトル－アルバム",
    };
    return captions;
}

void AlbumToLines(const TAlbumInfo& album, std::vector<std::string>& lines, const TASOptRec& options)
{
    lines.clear();
    if (options.Flags & asAlbumTitle)
        lines.push_back(album.Title);
    if (options.Flags & asAlbumArtist)
        lines.push_back(album.Artist);
    const auto& order = kFieldOrders[std::size_t(std::clamp(options.Order, 0, 5))];
    for (std::size_t i = 0; i < album.Tracks.Count(); ++i) {
        const TTrackInfo& track = album.Tracks.Get(i);
        const std::string fields[5] = {std::to_string(i + 1) + ".", track.Title, track.Artist, track.Time, track.Album};
        std::string line;
        bool fieldWritten = false;
        for (int field : order) {
            if (!(options.Flags & (asTrackNumber << field)))
                continue;
            if (fieldWritten)
                line += options.Separator;
            line += fields[field];
            fieldWritten = fieldWritten || field != 0;
        }
        lines.push_back(line);
    }
}

std::string TrackTimeText(int seconds)
{
    if (seconds <= 0)
        return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d", seconds / 60, seconds % 60);
    return buffer;
}

void TMusicInfo::MergeInto(TAlbumInfo& album) const
{
    if (album.Title.empty())
        album.Title = Title;
    if (album.Artist.empty())
        album.Artist = Artist;
    for (const TRecord& record : Records) {
        TTrackInfo& track = album.Tracks.Add();
        track.Title = record.Title;
        track.Artist = record.Artist;
        track.Album = record.Album;
        track.Time = TrackTimeText(record.Duration);
    }
}

void AlbumFromFolder(const std::string& folder, const std::vector<std::string>& fileNames, TAlbumInfo& album,
    bool withoutFolderNameParsing)
{
    const bool parseNames = !withoutFolderNameParsing;
    TMusicInfo music;
    for (const std::string& fileName : fileNames) {
        TMusicInfo::TRecord record;
        TMP3FileInfo info;
        info.FileName = (std::filesystem::path(folder) / fileName).string();
        bool found = false;
        if (info.Read()) {
            record.Album = info.Album;
            record.Title = info.Title;
            record.Artist = info.Artist;
            record.Duration = info.Duration;
            found = !record.Album.empty() || !record.Title.empty() || !record.Artist.empty() || record.Duration != 0;
        }
        if (!found) {
            record = TMusicInfo::TRecord {};
            RecordFromFileName(fileName, parseNames, record);
        }
        music.Records.push_back(record);
    }

    std::vector<TSortKey> keys;
    for (const auto& record : music.Records)
        keys.push_back(KeyOf(record.Title));
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (std::size_t j = i + 1; j < keys.size(); ++j)
            if (ComesAfter(keys[i], keys[j])) {
                std::swap(keys[i], keys[j]);
                std::swap(music.Records[i], music.Records[j]);
            }

    if (!music.Records.empty()) {
        music.Title = music.Records.front().Album;
        music.Artist = music.Records.front().Artist;
        for (const auto& record : music.Records) {
            if (record.Album != music.Title)
                music.Title.clear();
            if (record.Artist != music.Artist)
                music.Artist.clear();
        }
    }
    if (music.Title.empty() && music.Artist.empty() && parseNames)
        AlbumFromFolderName(folder, music);
    if (music.Title.empty() && music.Artist.empty()) {
        for (const auto& record : music.Records) {
            if (!record.Album.empty() || !record.Artist.empty()) {
                music.Title = record.Album;
                music.Artist = record.Artist;
                break;
            }
        }
    }
    music.MergeInto(album);
}

bool AlbumFromPlaylist(const std::string& playlistFile, TAlbumInfo& album)
{
    TM3UFileInfo list;
    list.FileName = playlistFile;
    if (!list.Load())
        return false;
    TMusicInfo music;
    music.Title = list.Title;
    music.Artist = list.Artist;
    for (int i = 1; i <= list.EntryCount(); ++i) {
        TMusicInfo::TRecord record;
        record.Title = list.EntryTitle(i);
        if (record.Title.empty())
            record.Title = BaseNameWithoutExtension(list.Path(i));
        record.Artist = list.EntryArtist(i);
        record.Album = list.EntryAlbum(i);
        record.Duration = list.Duration(i);
        music.Records.push_back(record);
    }
    auto common = [&](std::string TMusicInfo::TRecord::*field) {
        const std::string& first = music.Records.front().*field;
        for (const auto& record : music.Records)
            if (record.*field != first)
                return std::string();
        return first;
    };
    if (music.Artist.empty())
        music.Artist = common(&TMusicInfo::TRecord::Artist);
    if (music.Title.empty())
        music.Title = common(&TMusicInfo::TRecord::Album);
    music.MergeInto(album);
    return true;
}

std::vector<std::string> ListFolderFiles(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code typeError;
        if (!entry.is_directory(typeError))
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace orvella
