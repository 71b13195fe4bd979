#pragma once
// The keyword search of the album dialog: forward through the stored
// albums, in each the title, the artist and then every track's title,
// artist, album and time.

#include "music/albums.h"

#include <string>

namespace orvella {

// Upper case, half-width characters made full width and hiragana folded into
// katakana, so that "ｱｲ", "あい" and "アイ" (or "abc" and "ＡＢＣ") match.
std::string FuzzyFold(const std::string& text);

struct TAlbumHit {
    enum TField { None, InTitle, InArtist, InTrack };
    TField Field = None;
    int Album = -1;
    int Row = -1; // the track, for a hit in a track
};

// Searches the albums from `from` to the last one.
TAlbumHit FindInAlbums(const TAlbums& albums, int from, const std::string& keyword, bool fuzzy);

} // namespace orvella
