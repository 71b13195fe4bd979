#pragma once
// An album as a disc label lists it: title, artist and tracks, stored as a
// component stream in the album store.

#include "formats/collection.h"
#include "formats/component.h"

#include <string>

namespace orvella {

class TTrackInfo : public TCollectionItem {
    ORVELLA_PERSISTENT(TTrackInfo)

public:
    std::string Title;
    std::string Artist;
    std::string Time; // free text; the program writes "3:07"
    std::string Album;
};

class TTracks : public TCollection {
    ORVELLA_PERSISTENT(TTracks)

public:
    TTracks();
    TTrackInfo& Add() { return TCollection::Add<TTrackInfo>(); }
    TTrackInfo& Get(std::size_t index) const { return static_cast<TTrackInfo&>(TCollection::Items(index)); }
    // Inserts an empty track before `index` (appends at Count()).
    TTrackInfo& Insert(std::size_t index);
    void Delete(std::size_t index);
    void Assign(const TTracks& source);
};

class TAlbumInfo : public TComponent {
    ORVELLA_PERSISTENT(TAlbumInfo)

public:
    std::string Title;
    std::string Artist;
    TTracks Tracks;

    int TrackCount() const noexcept { return int(Tracks.Count()); }
    void Assign(const TAlbumInfo& source);
};

// Same title, artist and tracks (title, artist, time and album of each).
bool SameAlbum(const TAlbumInfo& a, const TAlbumInfo& b);

// Registers TAlbumInfo for reading by class name.
void RegisterAlbumClasses();

} // namespace orvella
