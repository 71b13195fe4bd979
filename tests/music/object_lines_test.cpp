// Track lines put into any class that publishes a string list "Lines", as
// one undo step.

#include "drawing/action_list.h"
#include "formats/property_table.h"
#include "formats/string_list.h"
#include "music/album_build.h"
#include "music/object_lines.h"
#include "objects/lo_shade_text.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

class TLinesLabel : public TPersistent {
    ORVELLA_PERSISTENT(TLinesLabel)

public:
    TStringList Lines;
};

const TClassInfo& TLinesLabel::StaticClassInfo()
{
    static const TClassInfo info
        = DeclareClass<TLinesLabel, TPersistent>("TLinesLabel", {ObjectProperty("Lines", &TLinesLabel::Lines)});
    return info;
}

class TNoLines : public TPersistent {
    ORVELLA_PERSISTENT(TNoLines)
};

const TClassInfo& TNoLines::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TNoLines, TPersistent>("TNoLines", {});
    return info;
}

TEST(ObjectLines, TrackListGoesInAsOneUndoStep)
{
    TActionList history;
    TLinesLabel label;
    label.Lines.Lines = {"old text"};
    TAlbumInfo album;
    album.Title = "Album";
    album.Tracks.Add().Title = "One";
    album.Tracks.Add().Title = "Two";
    std::vector<std::string> lines;
    AlbumToLines(album, lines, TASOptRec {asAlbumTitle | asTrackNumber | asTrackTitle, " ", 0});

    ASSERT_TRUE(SetObjectLines(label, lines, history));
    EXPECT_EQ(label.Lines.Lines, (std::vector<std::string> {"Album", "1.One", "2.Two"}));
    EXPECT_EQ(history.Count(), 1u);
    ASSERT_TRUE(history.CanUndo());
    history.Undo();
    EXPECT_EQ(label.Lines.Lines, (std::vector<std::string> {"old text"}));
    ASSERT_TRUE(history.CanRedo());
    history.Redo();
    EXPECT_EQ(label.Lines.Lines, lines);

    TNoLines other;
    EXPECT_FALSE(SetObjectLines(other, lines, history));
    EXPECT_EQ(history.Count(), 1u);
}

TEST(ObjectLines, ATextObjectShowsTheTrackList)
{
    TActionList history;
    TLOCurrentText text;
    text.SetText({"old"});
    ASSERT_TRUE(SetObjectLines(text, {"Album", "1.One"}, history));
    EXPECT_EQ(text.Text(), (std::vector<std::string> {"Album", "1.One"}));
    history.Undo();
    EXPECT_EQ(text.Text(), std::vector<std::string> {"old"});
    history.Redo();
    EXPECT_EQ(text.Engine().DisplayLines().size(), 2u);
}

} // namespace
} // namespace orvella
