#pragma once
// Playlists: M3U (with #EXTINF lines), the ASX family (.asx, .wax, .wvx),
// the tab-separated text that iTunes exports and the iTunes library XML.
// Entries are addressed 1 ... EntryCount(); outside that range they read as
// empty (0 for the duration).

#include <string>
#include <vector>

namespace orvella {

class TM3UFileInfo {
public:
    std::string FileName;
    std::string Title;
    std::string Artist;

    // Reads FileName; true when it exists and at least one entry was read.
    bool Load();
    // Reads playlist text as if it were the file FileName (whose folder
    // relative paths are resolved against).
    bool LoadFromBytes(const std::string& bytes);

    int EntryCount() const noexcept { return int(Entries.size()); }
    std::string Path(int index) const;
    std::string EntryTitle(int index) const;
    int Duration(int index) const;
    std::string EntryArtist(int index) const;
    std::string EntryAlbum(int index) const;

    struct TEntry {
        std::string Path;
        std::string Title;
        std::string Duration; // seconds as decimal text
        std::string Artist;
        std::string Album;
    };
    std::vector<TEntry> Entries;

private:
    void clear();
    const TEntry* entry(int index) const;
};

// Resolves a path written in a playlist: backslashes separate folders, a
// relative path is taken from the playlist's folder, and each folder and
// file name that does not exist as written is looked up ignoring case.
std::string ResolvePlaylistPath(const std::string& playlistFile, const std::string& written);

} // namespace orvella
