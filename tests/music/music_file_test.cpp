// Tags, playing times and pictures of music files built byte by byte.

#include "music/byte_source.h"
#include "music/genres.h"
#include "music/mp3_file_info.h"
#include "music_bytes.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using namespace orvella::test;

TMP3FileInfo ReadBytes(const std::string& bytes, const std::string& fileName = "/music/Some Song.mp3")
{
    TMP3FileInfo info;
    info.FileName = fileName;
    TMemorySource source(bytes);
    info.ReadSource(source);
    return info;
}

bool Reads(const std::string& bytes)
{
    TMP3FileInfo info;
    TMemorySource source(bytes);
    return info.ReadSource(source);
}

struct TagCase {
    const char* name;
    int version;
    std::string titleFrame; // encoding byte and text
    const char* want;
};

class Id3v2Title : public ::testing::TestWithParam<TagCase> { };

TEST_P(Id3v2Title, ReadsTheTitleInEveryVersionAndEncoding)
{
    const TagCase& c = GetParam();
    const char* id = c.version == 2 ? "TT2" : "TIT2";
    const std::string file = Id3v2Tag(c.version, TextFrame(c.version, id, c.titleFrame)) + Mpeg1Frames(4);
    const TMP3FileInfo info = ReadBytes(file);
    EXPECT_EQ(info.Title, c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, Id3v2Title,
    ::testing::Values(TagCase {"v22_cp932", 2, std::string("\0\x93\xfa\x96\x7b", 5), "日本"},
        TagCase {"v23_utf16le_bom", 3, std::string("\x01\xFF\xFE\xE5\x65\x2C\x67", 7), "日本"},
        TagCase {"v23_utf16be_bom", 3, std::string("\x01\xFE\xFF\x65\xE5\x67\x2C", 7), "日本"},
        TagCase {"v23_marked_without_encoding", 3, std::string("\0\xFF\xFE\x41\x00", 5), "A"},
        TagCase {"v24_utf8", 4, std::string("\x03\xE6\x97\xA5\xE6\x9C\xAC\x00", 8), "日本"},
        TagCase {"v24_utf16be", 4, std::string("\x02\x00\x41\x00\x42", 5), "AB"},
        TagCase {"second_line_dropped", 3, std::string("\0Song  \r\nmore", 13), "Song"},
        TagCase {"frame_of_300_bytes_ignored", 3, "\0" + std::string(299, 'x'), "Some Song"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Id3v2, ReadsAllFieldsAndExpandsGenreGroups)
{
    const std::string frames = TextFrame(3, "TPE1", std::string("\0Artist", 7))
        + TextFrame(3, "TALB", std::string("\0Album", 6)) + TextFrame(3, "TCON", std::string("\0(17)Live(RX)", 13))
        + TextFrame(3, "TCOM", std::string("\0Composer", 9));
    const TMP3FileInfo info = ReadBytes(Id3v2Tag(3, frames) + Mpeg1Frames(4));
    EXPECT_EQ(info.Artist, "Artist");
    EXPECT_EQ(info.Album, "Album");
    EXPECT_EQ(info.Genre, "RockLive(RX)");
    EXPECT_EQ(info.Comment, "Composer");
    EXPECT_EQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(125), "Dance Hall");
    EXPECT_EQ(GenreName(126), "Unknown(126)");
}

TEST(Id3v2, FindsEmbeddedPicturesAndTheirOffsets)
{
    const std::string apic = std::string("\0image/jpeg\0\x03\0", 14) + "\xFF\xD8\xFF\xE0" + std::string(400, 'j');
    const std::string tag = Id3v2Tag(3, TextFrame(3, "APIC", apic));
    const TMP3FileInfo info = ReadBytes(tag + Mpeg1Frames(4));
    ASSERT_EQ(info.PictureCount(), 1);
    EXPECT_EQ(info.PictureFormat(0), "JPG");
    EXPECT_EQ(info.PictureOffset(0), 10 + 10 + 14);
    EXPECT_EQ(info.PictureOffset(1), -1);
    EXPECT_EQ(info.PictureFormat(-1), "");
}

TEST(MpegAudio, DurationFromBitRateXingAndVbri)
{
    // 1,920,000 bytes of 128 kbit/s frames play 120 s.
    std::string cbr = Id3v2Tag(3, "") + Mpeg1Frames(1);
    cbr.resize(10 + 1920000, '\0');
    EXPECT_EQ(ReadBytes(cbr).Duration, 120);
    // 4,500 frames of 1152 samples at 44.1 kHz, and of 576 at 22.05 kHz.
    EXPECT_EQ(ReadBytes(Id3v2Tag(3, "") + XingFile(true, 4500)).Duration, 117);
    EXPECT_EQ(ReadBytes(Id3v2Tag(3, "") + XingFile(false, 4500)).Duration, 117);
    EXPECT_EQ(ReadBytes(Id3v2Tag(3, "") + VbriFile(4500)).Duration, 117);
}

TEST(MpegAudio, Id3v1AndUntaggedFilesStillReadAsMusic)
{
    std::string v1 = "TAG" + std::string("Old Title") + std::string(21, '\0') + "Old Artist" + std::string(20, '\0')
        + std::string(30, '\0') + "1999" + std::string(30, '\0') + '\x11';
    ASSERT_EQ(v1.size(), 128u);
    const TMP3FileInfo tagged = ReadBytes(Mpeg1Frames(10) + v1);
    EXPECT_EQ(tagged.Title, "Old Title");
    EXPECT_EQ(tagged.Artist, "Old Artist");
    EXPECT_EQ(tagged.Genre, "Rock");
    EXPECT_EQ(tagged.DataEnd, 10 * 417);
    const TMP3FileInfo bare = ReadBytes(Mpeg1Frames(10), "/x/03 Track.mp3");
    EXPECT_EQ(bare.Title, "03 Track");
    // Text is not music, even with a stray sync byte pair in it.
    EXPECT_FALSE(Reads(std::string("hello \xFF\xFB\x90\x00 world", 16) + std::string(600, 'a')));
}

TEST(Mpeg4, ReadsItunesTextsDurationAndCover)
{
    const std::string cover = "\x89PNG\r\n\x1a\n" + std::string(20, 'p');
    const std::string file = M4aFile(215, "曲名", "Artist", "Album", cover);
    const TMP3FileInfo info = ReadBytes(file, "a.m4a");
    EXPECT_EQ(info.Title, "曲名");
    EXPECT_EQ(info.Artist, "Artist");
    EXPECT_EQ(info.Album, "Album");
    EXPECT_EQ(info.Duration, 215);
    ASSERT_EQ(info.PictureCount(), 1);
    EXPECT_EQ(info.PictureFormat(0), "PNG");
    EXPECT_EQ(file.substr(std::size_t(info.PictureOffset(0)), 4), "\x89PNG");
    std::string wrongBrand = file;
    wrongBrand.replace(8, 4, "qt  ");
    EXPECT_FALSE(Reads(wrongBrand));
}

TEST(Riff, WaveFilesReadTheirInfoTextsAndPlayingTime)
{
    const TMP3FileInfo info = ReadBytes(WaveFile(3, "Wave Title", "Wave Artist"), "w.wav");
    EXPECT_EQ(info.Title, "Wave Title");
    EXPECT_EQ(info.Artist, "Wave Artist");
    EXPECT_EQ(info.Duration, 3);
}

// Every size a file gives is checked: a damaged file reads as no music (or
// with what could be read), never past its end.
TEST(DamagedFiles, EveryKindOfBrokenSizeIsSafe)
{
    const std::string good3 = Id3v2Tag(3, TextFrame(3, "TIT2", std::string("\0Title", 6))) + Mpeg1Frames(3);
    std::vector<std::string> damaged;
    for (std::size_t cut = 0; cut < good3.size(); cut += 7)
        damaged.push_back(good3.substr(0, cut));
    std::string hugeFrame = good3;
    hugeFrame.replace(14, 4, "\x7F\xFF\xFF\xFF"); // frame size past the tag
    damaged.push_back(hugeFrame);
    std::string hugeTag = good3;
    hugeTag.replace(6, 4, "\x7F\x7F\x7F\x7F"); // tag size past the file
    damaged.push_back(hugeTag);
    std::string m4a = M4aFile(10, "t", "a", "b", "\xFF\xD8xx");
    for (std::size_t cut = 0; cut < m4a.size(); cut += 13)
        damaged.push_back(m4a.substr(0, cut));
    std::string boxSize = m4a;
    boxSize.replace(boxSize.find("moov") - 4, 4, Be32(0xFFFFFFF0));
    damaged.push_back(boxSize);
    std::string wave = WaveFile(1, "t", "a");
    wave.replace(wave.find("LIST") + 4, 4, Le32(0xFFFFFFFF));
    damaged.push_back(wave);
    for (std::size_t cut = 0; cut < 200; cut += 5)
        damaged.push_back(WaveFile(1, "t", "a").substr(0, cut));
    damaged.push_back(std::string(1, '\0') + std::string(1, '\x05') + std::string(200, '\0')); // MacBinary
    for (const std::string& bytes : damaged) {
        TMP3FileInfo info;
        TMemorySource source(bytes);
        info.ReadSource(source);
        EXPECT_LE(info.DataStart, std::int64_t(bytes.size()));
        EXPECT_LE(info.DataEnd, std::int64_t(bytes.size()));
    }
    const TMP3FileInfo cut = ReadBytes(hugeFrame);
    EXPECT_EQ(cut.Title, "Some Song"); // the frame is skipped, the file name stands in
}

TEST(FileReading, MissingFilesAndFoldersAreNotMusic)
{
    TMP3FileInfo info;
    info.FileName = "/nonexistent/file.mp3";
    EXPECT_FALSE(info.Read());
    info.FileName = "/tmp";
    EXPECT_FALSE(info.Read());
}

} // namespace
} // namespace orvella
