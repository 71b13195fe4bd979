// Cover pictures of music files as bitmap graphics.

#include "graphics/png_codec.h"
#include "music/music_file_image.h"
#include "music_bytes.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using namespace orvella::test;

TEST(MusicFileImage, CoverOfAnM4aBecomesABitmapAndStoresAsOne)
{
    TBitmap picture(5, 3);
    const std::string png = EncodePng(picture);
    TM4aImage image;
    image.LoadFromBytes(M4aFile(10, "t", "a", "b", png));
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 3);

    std::string stored;
    image.WriteData(stored);
    TM4aImage reread;
    reread.ReadData(stored);
    EXPECT_EQ(reread.Width(), 5);
    EXPECT_EQ(reread.Height(), 3);
}

TEST(MusicFileImage, NoPictureOrABrokenOneLeavesItEmpty)
{
    TMp3Image image;
    image.LoadFromBytes(Id3v2Tag(3, "") + Mpeg1Frames(3));
    EXPECT_TRUE(image.Empty());
    const std::string brokenJpeg = "\xFF\xD8\xFF\xE0" + std::string(40, 'x');
    image.LoadFromBytes(M4aFile(10, "t", "a", "b", brokenJpeg));
    EXPECT_TRUE(image.Empty());
    image.ReadData("ab");
    EXPECT_TRUE(image.Empty());
}

} // namespace
} // namespace orvella
