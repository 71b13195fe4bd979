// A damaged album store: open it, change it, and read it back; storage
// errors are reported as exceptions, never crashes.

#include "music/albums.h"
#include "scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (orvella::RegisterAlbumClasses(), true);
    (void)registered;
    const std::string file = orvella::fuzz::ScratchFolder::File("Albums.dat");
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    try {
        orvella::TAlbums albums;
        albums.Open(file, false);
        orvella::TAlbumInfo album;
        album.Title = "t";
        album.Tracks.Add().Title = "x";
        albums.InsertAt(album, 0);
        albums.Store(album, albums.Count() - 1);
        albums.Delete(albums.Count() - 1);
        for (int i = 0; i < albums.Count(); ++i)
            albums.Album(i).TrackCount();
    } catch (const std::exception&) {
    }
    return 0;
}
