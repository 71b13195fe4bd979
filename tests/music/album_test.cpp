// The album model, the album store, albums from folders and playlists and
// their text lines.

#include "music/album_build.h"
#include "music/albums.h"
#include "music_bytes.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace orvella {
namespace {

using namespace orvella::test;

std::unique_ptr<TAlbumInfo> MakeAlbumPtr(const std::string& title, std::vector<std::string> tracks = {})
{
    auto made = std::make_unique<TAlbumInfo>();
    TAlbumInfo& album = *made;
    album.Title = title;
    album.Artist = title + " artist";
    for (const std::string& name : tracks) {
        TTrackInfo& track = album.Tracks.Add();
        track.Title = name;
        track.Time = "3:07";
    }
    return made;
}

std::vector<std::string> Titles(const TAlbums& albums)
{
    std::vector<std::string> titles;
    for (int i = 0; i < albums.Count(); ++i)
        titles.push_back(albums.Album(i).Title);
    return titles;
}

std::vector<std::string> Names(const TAlbums& albums)
{
    std::vector<std::string> names;
    for (int i = 0; i < albums.Count(); ++i)
        names.push_back(albums.StreamName(i));
    return names;
}

TEST(AlbumStore, NumbersStreamsAndKeepsOrderAcrossReopening)
{
    RegisterAlbumClasses();
    TempDir dir;
    const std::string file = dir.File("prefs/Albums.dat");
    {
        TAlbums albums;
        albums.Open(file, false);
        EXPECT_EQ(albums.Count(), 0);
        albums.Store(*MakeAlbumPtr("A", {"one", "two"}), -1);
        albums.Store(*MakeAlbumPtr("B"), 5);
        EXPECT_EQ(Names(albums), (std::vector<std::string> {"$00000001", "$00000002"}));
        albums.Store(*MakeAlbumPtr("C"), -1);
        albums.InsertAt(*MakeAlbumPtr("First"), 0);
        EXPECT_EQ(Titles(albums), (std::vector<std::string> {"First", "A", "B", "C"}));
        EXPECT_EQ(Names(albums), (std::vector<std::string> {"$00000001", "$00000002", "$00000003", "$00000004"}));
        albums.Store(*MakeAlbumPtr("B2"), 2);
        albums.Delete(0);
    }
    TAlbums reread;
    reread.Open(file, true);
    EXPECT_EQ(Titles(reread), (std::vector<std::string> {"A", "B2", "C"}));
    EXPECT_EQ(Names(reread), (std::vector<std::string> {"$00000002", "$00000003", "$00000004"}));
    ASSERT_EQ(reread.Album(0).TrackCount(), 2);
    EXPECT_EQ(reread.Album(0).Tracks.Get(1).Title, "two");
    EXPECT_EQ(reread.Album(0).Tracks.Get(1).Time, "3:07");
    EXPECT_TRUE(SameAlbum(reread.Album(0), *MakeAlbumPtr("A", {"one", "two"})));
    EXPECT_FALSE(SameAlbum(reread.Album(0), *MakeAlbumPtr("A", {"one", "Two"})));
}

TEST(AlbumStore, DeletingTheOnlyAlbumLeavesAnEmptyStore)
{
    RegisterAlbumClasses();
    TempDir dir;
    TAlbums albums;
    albums.Open(dir.File("Albums.dat"), false);
    albums.Store(*MakeAlbumPtr("Only"), -1);
    albums.Delete(0);
    EXPECT_EQ(albums.Count(), 0);
    albums.Store(TAlbumInfo(), -1); // as the album dialog refills it
    EXPECT_EQ(Names(albums), (std::vector<std::string> {"$00000001"}));
}

TEST(AlbumStore, AFailedWriteLosesNoAlbum)
{
    RegisterAlbumClasses();
    TempDir dir;
    const std::string folder = dir.File("prefs");
    TAlbums albums;
    albums.Open(folder + "/Albums.dat", false);
    albums.Store(*MakeAlbumPtr("A"), -1);
    albums.Store(*MakeAlbumPtr("B"), -1);
    std::filesystem::remove_all(folder); // nothing can be written now
    EXPECT_ANY_THROW(albums.InsertAt(*MakeAlbumPtr("New"), 0));
    EXPECT_ANY_THROW(albums.Store(*MakeAlbumPtr("A2"), 0));
    EXPECT_ANY_THROW(albums.Delete(1));
    EXPECT_EQ(Titles(albums), (std::vector<std::string> {"A", "B"}));
    EXPECT_EQ(Names(albums), (std::vector<std::string> {"$00000001", "$00000002"}));
    // Once writing works again, the store holds exactly what memory holds.
    std::filesystem::create_directories(folder);
    albums.Store(*MakeAlbumPtr("C"), -1);
    albums.Close();
    TAlbums reread;
    reread.Open(folder + "/Albums.dat", true);
    EXPECT_EQ(Titles(reread), (std::vector<std::string> {"A", "B", "C"}));
}

struct LinesCase {
    const char* name;
    TASOptRec options;
    std::vector<std::string> want;
};

class AlbumLines : public ::testing::TestWithParam<LinesCase> { };

TEST_P(AlbumLines, FollowFlagsOrderAndSeparator)
{
    auto made = MakeAlbumPtr("Album", {"Title", "Other"});
    TAlbumInfo& album = *made;
    album.Tracks.Get(0).Artist = "Art";
    album.Tracks.Get(0).Album = "Alb";
    std::vector<std::string> lines = {"old"};
    AlbumToLines(album, lines, GetParam().options);
    EXPECT_EQ(lines, GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, AlbumLines,
    ::testing::Values(LinesCase {"defaults", {}, {"Album", "Album artist", "1.Title 3:07 Art Alb", "2.Other 3:07  "}},
        LinesCase {"number_and_title", {4 | 8, " ", 0}, {"1.Title", "2.Other"}},
        LinesCase {"time_first_tab", {4 | 8 | 32, "\t", 1}, {"1.3:07\tTitle", "2.3:07\tOther"}},
        LinesCase {"artist_title_dash", {2 | 8 | 16, "-", 3}, {"Album artist", "Art-Title", "-Other"}},
        LinesCase {"order_five_no_number", {8 | 16 | 32, "/", 5}, {"3:07/Art/Title", "3:07//Other"}}),
    [](const auto& info) { return std::string(info.param.name); });

class AlbumFromFiles : public ::testing::Test {
protected:
    void Write(const std::string& relative, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(dir.File(relative)).parent_path());
        WriteFile(dir.File(relative), bytes);
    }
    static std::string Tagged(const std::string& title, const std::string& artist, const std::string& album)
    {
        std::string frames = TextFrame(3, "TIT2", std::string(1, '\0') + title);
        if (!artist.empty())
            frames += TextFrame(3, "TPE1", std::string(1, '\0') + artist);
        if (!album.empty())
            frames += TextFrame(3, "TALB", std::string(1, '\0') + album);
        return Id3v2Tag(3, frames) + Mpeg1Frames(400); // 400 frames: 10 s
    }
    TempDir dir;
};

TEST_F(AlbumFromFiles, UntaggedNamesSortByNumberAndFolderNameGivesTheAlbum)
{
    const std::string folder = dir.File("Artist「Album」");
    Write("Artist「Album」/2 Song.mp3", "not music");
    Write("Artist「Album」/01 Intro.mp3", "not music");
    Write("Artist「Album」/(Guest)Duet.mp3", "not music");
    TAlbumInfo album;
    AlbumFromFolder(folder, ListFolderFiles(folder), album);
    EXPECT_EQ(album.Title, "Album");
    EXPECT_EQ(album.Artist, "Artist");
    ASSERT_EQ(album.TrackCount(), 3);
    EXPECT_EQ(album.Tracks.Get(0).Title, "01 Intro");
    EXPECT_EQ(album.Tracks.Get(1).Title, "2 Song");
    EXPECT_EQ(album.Tracks.Get(2).Title, "Duet");
    EXPECT_EQ(album.Tracks.Get(2).Artist, "Guest");
    EXPECT_EQ(album.Tracks.Get(0).Time, "");

    TAlbumInfo plain;
    AlbumFromFolder(folder, ListFolderFiles(folder), plain, true);
    EXPECT_EQ(plain.Title, "");
    EXPECT_EQ(plain.Tracks.Get(0).Title, "(Guest)Duet");
}

TEST_F(AlbumFromFiles, TaggedFilesGiveTheirCommonAlbum)
{
    const std::string folder = dir.File("x");
    Write("x/b.mp3", Tagged("10 Last", "Band", "Record"));
    Write("x/a.mp3", Tagged("9 First", "Band", "Record"));
    Write("x/c.mp3", Tagged("Bonus", "Guest", "Record"));
    TAlbumInfo album;
    album.Title = "Kept";
    AlbumFromFolder(folder, ListFolderFiles(folder), album);
    EXPECT_EQ(album.Title, "Kept");
    EXPECT_EQ(album.Artist, ""); // the artists differ
    ASSERT_EQ(album.TrackCount(), 3);
    EXPECT_EQ(album.Tracks.Get(0).Title, "9 First");
    EXPECT_EQ(album.Tracks.Get(1).Title, "10 Last");
    EXPECT_EQ(album.Tracks.Get(2).Title, "Bonus");
    EXPECT_EQ(album.Tracks.Get(2).Artist, "Guest");
    EXPECT_EQ(album.Tracks.Get(0).Time, "0:10");
    EXPECT_EQ(album.Tracks.Get(0).Album, "Record");
}

TEST_F(AlbumFromFiles, PlaylistsGiveTheirEntriesAndCommonValues)
{
    Write("m/one.mp3", Tagged("One", "Band", "Record"));
    Write("list.m3u", "#EXTM3U\n#EXTINF:187,Named\nsomewhere/two.mp3\nm/one.mp3\nm/missing.mp3\n");
    TAlbumInfo album;
    ASSERT_TRUE(AlbumFromPlaylist(dir.File("list.m3u"), album));
    ASSERT_EQ(album.TrackCount(), 3);
    EXPECT_EQ(album.Tracks.Get(0).Title, "Named");
    EXPECT_EQ(album.Tracks.Get(0).Time, "3:07");
    EXPECT_EQ(album.Tracks.Get(1).Title, "One");
    EXPECT_EQ(album.Tracks.Get(2).Title, "missing");

    auto made = MakeAlbumPtr("Same", {"x"});
    TAlbumInfo& unchanged = *made;
    EXPECT_FALSE(AlbumFromPlaylist(dir.File("nothing.m3u"), unchanged));
    EXPECT_TRUE(SameAlbum(unchanged, *MakeAlbumPtr("Same", {"x"})));
}

TEST_F(AlbumFromFiles, ToolPrintsTheAlbumOfAFolderAndAPlaylist)
{
    Write("Band「Record」/01 Intro.mp3", "x");
    Write("Band「Record」/02 Song.mp3", Tagged("02 Song", "", ""));
    const ToolRun folder = RunTool({"music", "album", dir.File("Band「Record」")});
    ASSERT_EQ(folder.status, 0) << folder.err;
    EXPECT_EQ(folder.out, "Record\nBand\n1.01 Intro   \n2.02 Song 0:10  \n");
    Write("list.m3u", "#EXTINF:61,Song\nfile.mp3\n");
    const ToolRun list = RunTool({"music", "album", dir.File("list.m3u")});
    EXPECT_EQ(list.out, "\n\n1.Song 1:01  \n");
    EXPECT_EQ(RunTool({"music", "album", dir.File("none.m3u")}).status, 1);
}

} // namespace
} // namespace orvella
