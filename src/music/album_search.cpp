#include "music/album_search.h"

#include "platform/text_case.h"
#include "platform/utf8.h"

namespace orvella {

namespace {

// Half-width katakana U+FF66 ... U+FF9D as full-width katakana.
constexpr char16_t kHalfKana[] = u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマ"
                                 u"ミムメモヤユヨラリルレロワン";

char32_t FullWidth(char32_t c)
{
    if (c == U' ')
        return U'\u3000';
    if (c >= 0x21 && c <= 0x7E)
        return c + 0xFEE0;
    if (c >= 0xFF66 && c <= 0xFF9D)
        return kHalfKana[c - 0xFF66];
    if (c >= 0x3041 && c <= 0x3096)
        return c + 0x60; // hiragana to katakana
    return c;
}

bool Contains(const std::string& field, const std::string& keyword, bool fuzzy)
{
    if (!fuzzy)
        return field.find(keyword) != std::string::npos;
    return FuzzyFold(field).find(keyword) != std::string::npos;
}

} // namespace

std::string FuzzyFold(const std::string& text)
{
    const std::string upper = UpperCase(text);
    std::string out;
    for (std::size_t pos = 0; pos < upper.size();) {
        const std::size_t length = std::max<std::size_t>(1, Utf8CharLength(upper, pos));
        Utf8Append(out, FullWidth(Utf8Decode(upper, pos)));
        pos += length;
    }
    return out;
}

TAlbumHit FindInAlbums(const TAlbums& albums, int from, const std::string& keyword, bool fuzzy)
{
    if (keyword.empty())
        return {};
    const std::string key = fuzzy ? FuzzyFold(keyword) : keyword;
    for (int a = std::max(from, 0); a < albums.Count(); ++a) {
        const TAlbumInfo& album = albums.Album(a);
        if (Contains(album.Title, key, fuzzy))
            return {TAlbumHit::InTitle, a, -1};
        if (Contains(album.Artist, key, fuzzy))
            return {TAlbumHit::InArtist, a, -1};
        for (std::size_t t = 0; t < album.Tracks.Count(); ++t) {
            const TTrackInfo& track = album.Tracks.Get(t);
            if (Contains(track.Title, key, fuzzy) || Contains(track.Artist, key, fuzzy)
                || Contains(track.Album, key, fuzzy) || Contains(track.Time, key, fuzzy))
                return {TAlbumHit::InTrack, a, int(t)};
        }
    }
    return {};
}

} // namespace orvella
