// The album dialog and the display-items dialog, on the offscreen platform
// (ORVELLA_SCREENSHOT_DIR: where to leave pictures of both windows).

#include "dialogs/album_data_dialog.h"
#include "dialogs/display_items_dialog.h"
#include "music/album_search.h"
#include "music_bytes.h"
#include "support/tool_runner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace orvella {
namespace {

using namespace orvella::test;

std::string TaggedMp3(const std::string& title, const std::string& artist, const std::string& album, int frames)
{
    const std::string tag = TextFrame(3, "TIT2", std::string(1, '\0') + title)
        + TextFrame(3, "TPE1", std::string(1, '\0') + artist) + TextFrame(3, "TALB", std::string(1, '\0') + album);
    return Id3v2Tag(3, tag) + Mpeg1Frames(frames);
}

void Snapshot(QWidget& window, const char* name)
{
    if (const char* folder = std::getenv("ORVELLA_SCREENSHOT_DIR")) {
        window.show();
        window.grab().save(QString::fromUtf8(folder) + "/" + name);
    }
}

TEST(AlbumDialog, BuildsAnAlbumFromAFolderAndEndsWithItsTrackList)
{
    TempDir dir;
    const std::string folder = dir.File("music");
    std::filesystem::create_directories(folder);
    WriteFile(folder + "/b.mp3", TaggedMp3("2 Second", "Band", "Record", 500));
    WriteFile(folder + "/a.mp3", TaggedMp3("1 First", "Band", "Record", 400));
    TfrmAlbumData::CurrentIndex() = 0;
    TfrmAlbumData dialog(nullptr, dir.File("Albums.dat"));
    ASSERT_EQ(dialog.Albums().Count(), 1); // an empty store gets one empty album
    dialog.ImportFolder(folder, ListFolderFiles(folder), false);
    EXPECT_EQ(dialog.Working().Title, "Record");
    auto* grid = dialog.findChild<QTableWidget*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 4); // two tracks and two empty rows
    EXPECT_EQ(grid->item(0, 1)->text().toStdString(), "1 First");
    EXPECT_EQ(grid->item(1, 2)->text().toStdString(), "0:13");

    // Typing into a row past the last track appends tracks up to it.
    grid->item(3, 1)->setText("Hidden");
    EXPECT_EQ(dialog.Working().TrackCount(), 4);
    EXPECT_EQ(grid->rowCount(), 6);
    Snapshot(dialog, "album_dialog.png");

    dialog.Finish(TASOptRec {asAlbumTitle | asTrackNumber | asTrackTitle | asTrackTime, " ", 0});
    EXPECT_EQ(dialog.ResultLines(),
        (std::vector<std::string> {"Record", "1.1 First 0:10", "2.2 Second 0:13", "3. ", "4.Hidden "}));
    // Closing wrote the working copy back to the store.
    TAlbums stored;
    stored.Open(dir.File("Albums.dat"), true);
    ASSERT_EQ(stored.Count(), 1);
    EXPECT_EQ(stored.Album(0).TrackCount(), 4);
}

TEST(AlbumDialog, AddsDeletesAndFindsAlbums)
{
    TempDir dir;
    TfrmAlbumData::CurrentIndex() = 0;
    TfrmAlbumData dialog(nullptr, dir.File("Albums.dat"));
    dialog.AddAlbum(0, false);
    dialog.AddAlbum(2, false);
    EXPECT_EQ(dialog.Albums().Count(), 3);
    EXPECT_EQ(TfrmAlbumData::CurrentIndex(), 0);
    auto* grid = dialog.findChild<QTableWidget*>();
    grid->item(0, 1)->setText("ｶﾀｶﾅ Song");
    dialog.MoveTo(2);
    EXPECT_EQ(dialog.Albums().Album(0).Tracks.Get(0).Title, "ｶﾀｶﾅ Song");
    dialog.MoveTo(0);
    EXPECT_FALSE(dialog.FindNext("かたかな", true)); // the search starts after the current album
    dialog.MoveTo(2);
    dialog.AddAlbum(1, true); // a copy, inserted at the current place
    EXPECT_EQ(dialog.Albums().Count(), 4);
    dialog.MoveTo(0);
    grid->item(0, 1)->setText("x");
    dialog.MoveTo(1);
    dialog.DeleteAllAlbums();
    EXPECT_EQ(dialog.Albums().Count(), 1);
    EXPECT_EQ(dialog.Albums().Album(0).TrackCount(), 0);
}

TEST(AlbumSearch, FuzzyFoldingMatchesKanaAndWidths)
{
    EXPECT_EQ(FuzzyFold("abc"), FuzzyFold("ＡＢＣ"));
    EXPECT_EQ(FuzzyFold("かたかな"), FuzzyFold("ｶﾀｶﾅ"));
    EXPECT_EQ(FuzzyFold("かたかな"), "カタカナ");
    TempDir dir;
    RegisterAlbumClasses();
    TAlbums albums;
    albums.Open(dir.File("Albums.dat"), false);
    TAlbumInfo album;
    albums.Store(album, -1);
    album.Title = "Other";
    album.Tracks.Add().Title = "ｶﾀｶﾅ Song";
    albums.Store(album, -1);
    const TAlbumHit hit = FindInAlbums(albums, 0, "かたかな", true);
    EXPECT_EQ(hit.Field, TAlbumHit::InTrack);
    EXPECT_EQ(hit.Album, 1);
    EXPECT_EQ(hit.Row, 0);
    EXPECT_EQ(FindInAlbums(albums, 0, "かたかな", false).Field, TAlbumHit::None);
    EXPECT_EQ(FindInAlbums(albums, 0, "other", true).Field, TAlbumHit::InTitle);
}

TEST(DisplayItemsDialog, PreviewFollowsTheChoicesAndTheyHoldForTheRun)
{
    TAlbumInfo album;
    album.Title = "Album";
    album.Artist = "Artist";
    TTrackInfo& track = album.Tracks.Add();
    track.Title = "Song";
    track.Time = "3:07";
    TfrmDisplayItems::SessionOptions() = TASOptRec {};
    TfrmDisplayItems dialog(album);
    const auto boxes = dialog.findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 7);
    boxes[0]->setChecked(false);
    boxes[1]->setChecked(false);
    auto* separator = dialog.findChildren<QComboBox*>().at(1);
    separator->setCurrentText("・");
    EXPECT_EQ(dialog.Lines(), (std::vector<std::string> {"1.Song・3:07・・"}));
    auto* preview = dialog.findChild<QListWidget*>();
    EXPECT_EQ(preview->item(0)->text().toStdString(), "1.Song・3:07・・");
    Snapshot(dialog, "display_items.png");
    dialog.accept();
    EXPECT_EQ(TfrmDisplayItems::SessionOptions().Separator, "・");
    EXPECT_EQ(TfrmDisplayItems::SeparatorOf("タブ"), "\t");
    TfrmDisplayItems::SessionOptions() = TASOptRec {};
}

} // namespace
} // namespace orvella
