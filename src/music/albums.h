#pragma once
// The user's album store: a compound file whose "Albums" storage holds one
// stream per album, named "$" and eight upper-case hex digits, in the order
// of their names. Every change is written to the file at once and as a
// whole: when the file cannot be written, the store and the file stay as
// they were and the error is raised.

#include "music/album_info.h"

#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TDocStorage;
class TFileStorage;

class TAlbums {
public:
    TAlbums();
    ~TAlbums();
    TAlbums(const TAlbums&) = delete;
    TAlbums& operator=(const TAlbums&) = delete;

    // Opens the store (read only: without creating anything); otherwise opens
    // it for writing, creating the file and its folder when missing.
    void Open(const std::string& fileName, bool readOnly);
    void Close();

    int Count() const noexcept { return int(items_.size()); }
    const TAlbumInfo& Album(int index) const;
    // The stream name of the album at `index` ("$00000001").
    const std::string& StreamName(int index) const;

    // Replaces the album at `index`, or appends it under the next number
    // when `index` is outside 0 ... Count() - 1.
    void Store(const TAlbumInfo& album, int index);
    // Moves the albums from `index` on one number up and writes the album
    // under the name the one at `index` had.
    void InsertAt(const TAlbumInfo& album, int index);
    void Delete(int index);

private:
    struct TItem {
        std::string name;
        std::unique_ptr<TAlbumInfo> album;
    };
    // Makes a change in the storage tree and writes the file; when either
    // fails, undo puts the tree back and the error is raised.
    template <class Change, class Undo> void commit(Change change, Undo undo);
    std::string fileName_;
    bool readOnly_ = true;
    std::unique_ptr<TFileStorage> root_;
    std::unique_ptr<TDocStorage> storage_;
    std::vector<TItem> items_;
};

// "$(UserPreferenceFolder)Albums.dat" expanded.
std::string AlbumStoreFileName();

} // namespace orvella
