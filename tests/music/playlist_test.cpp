// Every playlist kind, with relative, absolute and backslash paths.

#include "music/m3u_file_info.h"
#include "music/mp3_file_info.h"
#include "music_bytes.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvella {
namespace {

using namespace orvella::test;

std::string Utf16Le(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += char(c & 0xFF);
        bytes += char(c >> 8);
    }
    return bytes;
}

class Playlists : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.File("Music/Sub"));
        // A tagged MP3 the playlists name without titles of their own.
        WriteFile(dir.File("Music/Sub/Track.mp3"),
            Id3v2Tag(3, TextFrame(3, "TIT2", std::string("\0Tagged", 7))) + Mpeg1Frames(200));
    }
    TM3UFileInfo Load(const std::string& name, const std::string& bytes)
    {
        WriteFile(dir.File(name), bytes);
        TM3UFileInfo list;
        list.FileName = dir.File(name);
        EXPECT_TRUE(list.Load()) << name;
        return list;
    }
    TempDir dir;
};

TEST_F(Playlists, M3uTakesExtinfOrReadsTheFile)
{
    const std::string text = "#EXTM3U\r\n#EXTINF:215,Song\r\nmissing.mp3\r\n"
                             "Music\\SUB\\track.mp3\r\n"
        + dir.File("Music/Sub/Track.mp3") + "\r\n# comment\r\n";
    const TM3UFileInfo list = Load("list.m3u", text);
    ASSERT_EQ(list.EntryCount(), 3);
    EXPECT_EQ(list.EntryTitle(1), "Song");
    EXPECT_EQ(list.Duration(1), 215);
    EXPECT_EQ(list.Path(1), dir.File("missing.mp3"));
    // A relative backslash path found ignoring case, read for its tag.
    EXPECT_EQ(list.Path(2), dir.File("Music/Sub/Track.mp3"));
    EXPECT_EQ(list.EntryTitle(2), "Tagged");
    EXPECT_EQ(list.Duration(2), 200 * 417 * 8 / 128000);
    EXPECT_EQ(list.EntryTitle(3), "Tagged");
    EXPECT_EQ(list.EntryTitle(4), "");
    EXPECT_EQ(list.Duration(0), 0);
}

TEST_F(Playlists, AsxFamily)
{
    const std::string text = "<ASX version=\"3.0\">\n"
                             "  <PARAM NAME=\"Artist\" VALUE=\"List Artist\"/>\n"
                             "  <Param Name=\"Album\" Value=\"List Album\"/>\n"
                             "  <Entry>\n"
                             "    <Title>First</Title>\n"
                             "    <Ref href = \"Music\\Sub\\Track.mp3\"/>\n"
                             "    <Param Name=\"Artist\" Value=\"Entry Artist\"/>\n"
                             "    <Param Name=\"Album\" Value=\"Entry Album\"/>\n"
                             "    <Duration value=\"01:02:03.500\"/>\n"
                             "  </Entry>\n"
                             "  <ENTRY><REF HREF=\"/abs/two.wma\"/></ENTRY>\n"
                             "</ASX>\n";
    const TM3UFileInfo list = Load("list.asx", text);
    EXPECT_EQ(list.Artist, "List Artist");
    EXPECT_EQ(list.Title, "List Album");
    ASSERT_EQ(list.EntryCount(), 2);
    EXPECT_EQ(list.EntryTitle(1), "First");
    EXPECT_EQ(list.Path(1), dir.File("Music/Sub/Track.mp3"));
    EXPECT_EQ(list.EntryArtist(1), "Entry Artist");
    EXPECT_EQ(list.EntryAlbum(1), "Entry Album");
    EXPECT_EQ(list.Duration(1), 3723);
    EXPECT_EQ(list.Path(2), "/abs/two.wma");
}

TEST_F(Playlists, ItunesTextExportInUtf16)
{
    const std::u16string text = u"名前\tアーティスト\t時間\t場所\r\n"
                                u"One\tA\t61\tC:\\Music\\One.mp3\r\n"
                                u"Two\t\t\tMusic\\Sub\\Track.mp3\r\n";
    const TM3UFileInfo list = Load("list.txt", Utf16Le(text));
    ASSERT_EQ(list.EntryCount(), 2);
    EXPECT_EQ(list.EntryTitle(1), "One");
    EXPECT_EQ(list.EntryArtist(1), "A");
    EXPECT_EQ(list.Duration(1), 61);
    EXPECT_EQ(list.Path(1), "C:\\Music\\One.mp3");
    EXPECT_EQ(list.EntryAlbum(1), ""); // no "アルバム" column
    EXPECT_EQ(list.EntryTitle(2), "Two");
    EXPECT_EQ(list.Path(2), dir.File("Music/Sub/Track.mp3"));
}

TEST_F(Playlists, ItunesLibraryXml)
{
    const std::string text
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" \"x\">\n"
          "<plist version=\"1.0\">\n<dict>\n\t<key>Major Version</key><integer>1</integer>\n"
          "\t<key>Tracks</key>\n\t<dict>\n"
          "\t\t<key>101</key>\n\t\t<dict>\n"
          "\t\t\t<key>Track ID</key><integer>101</integer>\n"
          "\t\t\t<key>Name</key><string>R&amp;B Song</string>\n"
          "\t\t\t<key>Artist</key><string>アーティスト</string>\n"
          "\t\t\t<key>Album</key><string>Album</string>\n"
          "\t\t\t<key>Total Time</key><integer>187500</integer>\n"
          "\t\t\t<key>Location</key><string>file://localhost/home/u/My%20Music/a.mp3</string>\n"
          "\t\t</dict>\n"
          "\t</dict>\n"
          "\t<key>Playlists</key>\n\t<array><dict><key>Name</key><string>Library</string></dict></array>\n"
          "</dict>\n</plist>\n";
    const TM3UFileInfo list = Load("Library.xml", text);
    ASSERT_EQ(list.EntryCount(), 1);
    EXPECT_EQ(list.EntryTitle(1), "R&B Song");
    EXPECT_EQ(list.EntryArtist(1), "アーティスト");
    EXPECT_EQ(list.EntryAlbum(1), "Album");
    EXPECT_EQ(list.Duration(1), 187);
    EXPECT_EQ(list.Path(1), "/home/u/My Music/a.mp3");
}

TEST_F(Playlists, UnreadablePlaylistsFail)
{
    TM3UFileInfo list;
    list.FileName = dir.File("none.m3u");
    EXPECT_FALSE(list.Load());
    for (const std::string& bytes : {std::string(), std::string("#EXTM3U\n# only comments\n"),
             std::string("<?xml version=\"1.0\"?>\n<plist>a > b</plist>")}) {
        WriteFile(dir.File("bad.m3u"), bytes);
        list.FileName = dir.File("bad.m3u");
        EXPECT_FALSE(list.Load()) << bytes;
        EXPECT_EQ(list.EntryCount(), 0);
    }
}

} // namespace
} // namespace orvella
