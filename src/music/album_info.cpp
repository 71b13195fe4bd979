#include "music/album_info.h"

#include "formats/class_registry.h"
#include "formats/property_table.h"

#include <vector>

namespace orvella {

const TClassInfo& TTrackInfo::StaticClassInfo()
{
    using C = TTrackInfo;
    static const TClassInfo info = DeclareClass<C, TCollectionItem>("TTrackInfo",
        {
            StringProperty("Title", &C::Title),
            StringProperty("Artist", &C::Artist),
            StringProperty("Time", &C::Time),
            StringProperty("Album", &C::Album),
        });
    return info;
}

TTracks::TTracks()
    : TCollection(TTrackInfo::StaticClassInfo())
{
}

const TClassInfo& TTracks::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TTracks, TCollection>("TTracks", {});
    return info;
}

namespace {

struct TTrackFields {
    std::string title, artist, time, album;
};

TTrackFields FieldsOf(const TTrackInfo& track)
{
    return {track.Title, track.Artist, track.Time, track.Album};
}

void Rebuild(TTracks& tracks, const std::vector<TTrackFields>& fields)
{
    tracks.Clear();
    for (const TTrackFields& f : fields) {
        TTrackInfo& track = tracks.Add();
        track.Title = f.title;
        track.Artist = f.artist;
        track.Time = f.time;
        track.Album = f.album;
    }
}

std::vector<TTrackFields> AllFields(const TTracks& tracks)
{
    std::vector<TTrackFields> fields;
    for (std::size_t i = 0; i < tracks.Count(); ++i)
        fields.push_back(FieldsOf(tracks.Get(i)));
    return fields;
}

} // namespace

TTrackInfo& TTracks::Insert(std::size_t index)
{
    std::vector<TTrackFields> fields = AllFields(*this);
    index = std::min(index, fields.size());
    fields.insert(fields.begin() + std::ptrdiff_t(index), TTrackFields {});
    Rebuild(*this, fields);
    return Get(index);
}

void TTracks::Delete(std::size_t index)
{
    std::vector<TTrackFields> fields = AllFields(*this);
    if (index >= fields.size())
        return;
    fields.erase(fields.begin() + std::ptrdiff_t(index));
    Rebuild(*this, fields);
}

void TTracks::Assign(const TTracks& source)
{
    if (&source != this)
        Rebuild(*this, AllFields(source));
}

const TClassInfo& TAlbumInfo::StaticClassInfo()
{
    using C = TAlbumInfo;
    static const TClassInfo info = DeclareClass<C, TComponent>("TAlbumInfo",
        {
            StringProperty("Title", &C::Title),
            StringProperty("Artist", &C::Artist),
            ObjectProperty("Tracks", &C::Tracks),
        });
    return info;
}

void TAlbumInfo::Assign(const TAlbumInfo& source)
{
    Title = source.Title;
    Artist = source.Artist;
    Tracks.Assign(source.Tracks);
}

bool SameAlbum(const TAlbumInfo& a, const TAlbumInfo& b)
{
    if (a.Title != b.Title || a.Artist != b.Artist || a.Tracks.Count() != b.Tracks.Count())
        return false;
    for (std::size_t i = 0; i < a.Tracks.Count(); ++i) {
        const TTrackInfo& x = a.Tracks.Get(i);
        const TTrackInfo& y = b.Tracks.Get(i);
        if (x.Title != y.Title || x.Artist != y.Artist || x.Time != y.Time || x.Album != y.Album)
            return false;
    }
    return true;
}

void RegisterAlbumClasses()
{
    RegisterClasses({&TAlbumInfo::StaticClassInfo()});
}

} // namespace orvella
