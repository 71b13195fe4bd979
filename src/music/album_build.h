#pragma once
// Albums made from music: from a folder of music files or a playlist, and
// turned into the text lines a label shows.

#include "music/album_info.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvella {

// What AlbumToLines writes: flag bits (1 album title line, 2 album artist
// line, 4 track number, 8 title, 16 artist, 32 time, 64 album), the text
// between fields and the order of the track fields (0 ... 5).
struct TASOptRec {
    std::uint8_t Flags = 0x7F;
    std::string Separator = " ";
    int Order = 0;
};

enum : std::uint8_t {
    asAlbumTitle = 1,
    asAlbumArtist = 2,
    asTrackNumber = 4,
    asTrackTitle = 8,
    asTrackArtist = 16,
    asTrackTime = 32,
    asTrackAlbum = 64,
};

// The captions of the six field orders, as the display-items dialog lists them.
const std::vector<std::string>& AlbumFieldOrderCaptions();

void AlbumToLines(const TAlbumInfo& album, std::vector<std::string>& lines, const TASOptRec& options = {});

// A temporary list of music records with an album title and artist.
class TMusicInfo {
public:
    struct TRecord {
        std::string Album;
        std::string Title;
        std::string Artist;
        int Duration = 0; // seconds
    };
    std::string Title;
    std::string Artist;
    std::vector<TRecord> Records;

    // Fills the album's empty title and artist and appends the records as tracks.
    void MergeInto(TAlbumInfo& album) const;
};

// "3:07" for 187 seconds; empty for 0 or less.
std::string TrackTimeText(int seconds);

// Builds the records from the files `fileNames` of `folder` (music tags,
// else the file name), sorts them by their leading numbers and titles, finds
// the album's title and artist (from the folder name "Artist「Album」" too,
// unless withoutFolderNameParsing) and merges them into `album`.
void AlbumFromFolder(const std::string& folder, const std::vector<std::string>& fileNames, TAlbumInfo& album,
    bool withoutFolderNameParsing = false);

// Reads a playlist into `album`; false (album unchanged) when it cannot be read.
bool AlbumFromPlaylist(const std::string& playlistFile, TAlbumInfo& album);

// The names of the files (not folders) in `folder`, sorted.
std::vector<std::string> ListFolderFiles(const std::string& folder);

} // namespace orvella
