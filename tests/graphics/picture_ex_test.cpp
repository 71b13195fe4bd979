#include "graphics/bmp_codec.h"
#include "graphics/encoded_images.h"
#include "graphics/jpeg_codec.h"
#include "graphics/picture_error.h"
#include "graphics/picture_ex.h"
#include "graphics/png_codec.h"
#include "graphics/safety_bitmap.h"
#include "graphics/masked_image.h"
#include "picture_fixtures.h"
#include "support/oracle.h"
#include "pixel_picture.h"
#include "support/thrown.h"
#include "platform/zlib_container.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvella::test {
namespace {

std::string Le32(uint32_t value)
{
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

std::string ShortString(const std::string& text) { return char(text.size()) + text; }

// Stored picture data made by hand, the way files of the program hold it.
struct StoredCase {
    const char* name;
    std::function<std::string()> data;
    int32_t width;
};

TBitmap& PatternBitmap()
{
    static TBitmap bitmap(9, 4, TPixelFormat::pf24bit);
    FillPattern(bitmap);
    return bitmap;
}

std::string MagickFile(const char* name)
{
    TempDir dir;
    const std::string file = dir.File(name);
    if (!Magick({"-size", "9x4", "gradient:red-blue", file}))
        return "";
    return ReadFile(file);
}

class StoredPictureData : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredPictureData, RoundTripsByteForByte)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    const StoredCase& c = GetParam();
    const std::string data = c.data();
    TPictureEx picture;
    picture.ReadPictureData(data);
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), c.width);
    std::string written;
    picture.WritePictureData(written);
    EXPECT_TRUE(written == data) << "stored data changed on the way through";
}

INSTANTIATE_TEST_SUITE_P(Classes, StoredPictureData, ::testing::Values(
    StoredCase{"TBitmap", [] {
        // An ImageMagick BMP with its large header stays exactly as it was.
        const std::string bmp = MagickFile("p.bmp");
        return ShortString("TBitmap") + Le32(uint32_t(bmp.size())) + bmp;
    }, 9},
    StoredCase{"TMp3Image", [] {
        const std::string bmp = WriteBmp(PatternBitmap());
        return ShortString("TMp3Image") + Le32(uint32_t(bmp.size())) + bmp;
    }, 9},
    StoredCase{"TJPEGImage", [] {
        const std::string jpeg = EncodeJpeg(PatternBitmap(), 75);
        return ShortString("TJPEGImage") + Le32(uint32_t(jpeg.size())) + jpeg;
    }, 9},
    StoredCase{"TPNGImage", [] { return ShortString("TPNGImage") + MagickFile("p.png"); }, 9},
    StoredCase{"TGIFImage", [] { return ShortString("TGIFImage") + MagickFile("p.gif"); }, 9},
    StoredCase{"TIcon", [] { return ShortString("TIcon") + MagickFile("p.ico"); }, 9},
    StoredCase{"TMetafile", [] {
        std::string wmf("\xD7\xCD\xC6\x9A\0\0\0\0\0\0\xA0\x05\x40\x02\xA0\x05\0\0\0\0\0\0\1\0\x09\0\0\x03\x0C\0\0\0",
                        32);
        wmf += std::string(24 - 10 + 10, '\0');
        return ShortString("TMetafile") + Le32(uint32_t(wmf.size() + 4)) + wmf;
    }, 96}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoredPictureData, ACompressedBitmapIsStoredAsTheBmpItHolds)
{
    // An ImageMagick BMP inside a compressed-bitmap file, and inside stored
    // data that holds the container.
    TempDir dir;
    const std::string bmp = MagickFile("p.bmp");
    ASSERT_FALSE(bmp.empty());
    const std::string cbm = CompressToContainer(bmp);
    WriteFile(dir.File("p.cbm"), cbm);
    TPictureEx fromFile;
    fromFile.LoadFromFile(dir.File("p.cbm"));
    TPictureEx fromData;
    fromData.ReadPictureData(ShortString("TSafetyBitmap") + Le32(uint32_t(cbm.size())) + cbm);
    for (const TPictureEx* picture : {&fromFile, &fromData}) {
        std::string written;
        picture->WritePictureData(written);
        const std::string name = ShortString(picture->Graphic()->StoredClassName());
        ASSERT_EQ(written.substr(0, name.size()), name);
        EXPECT_TRUE(written.substr(name.size()) == Le32(uint32_t(bmp.size())) + bmp)
            << "a bitmap is stored as a 32-bit size and the BMP file";
    }
    // ImageMagick reads what is stored as the picture it wrote.
    std::string written;
    fromFile.WritePictureData(written);
    const std::string name = ShortString(fromFile.Graphic()->StoredClassName());
    WriteFile(dir.File("stored.bmp"), written.substr(name.size() + 4));
    ASSERT_TRUE(Magick({"-size", "9x4", "gradient:red-blue", dir.File("want.png")}));
    EXPECT_EQ(MagickDifference(dir.File("stored.bmp"), dir.File("want.png")), 0);
}

TEST(StoredPictureData, EmptyPictureIsOneZeroByteAndReadsBackEmpty)
{
    TPictureEx picture;
    std::string written;
    picture.WritePictureData(written);
    EXPECT_EQ(written, std::string(1, '\0'));
    picture.ForceBitmap().Assign(PatternBitmap());
    picture.ReadPictureData(written);
    EXPECT_TRUE(picture.Empty());
}

TEST(StoredPictureData, UnknownOrDifferentlyCasedClassLeavesThePictureEmpty)
{
    const std::string bmp = WriteBmp(PatternBitmap());
    for (const char* name : {"TNoSuchImage", "tbitmap"}) {
        TPictureEx picture;
        picture.ReadPictureData(ShortString(name) + Le32(uint32_t(bmp.size())) + bmp);
        EXPECT_TRUE(picture.Empty()) << name;
    }
}

TEST(StoredPictureData, BadDataIsAClearError)
{
    const std::string bmp = WriteBmp(PatternBitmap());
    const std::pair<std::string, const char*> cases[] = {
        // class name longer than 63
        {std::string(1, char(64)) + std::string(64, 'T'), "orvella::EInvalidGraphic: 不正な画像データです: クラス名が不正です"},
        // nothing after the size
        {ShortString("TBitmap") + Le32(100), "orvella::EInvalidGraphic: 不正なビットマップです: ファイルヘッダーがありません"},
        {ShortString("TBitmap") + Le32(uint32_t(bmp.size())) + bmp.substr(0, 40),
         "orvella::EInvalidGraphic: 不正なビットマップです: 画素データの位置が不正です"},
        // size past the end
        {ShortString("TJPEGImage") + Le32(5000) + "\xFF\xD8", "orvella::EInvalidGraphic: 不正なJPEGデータです: 長さが不正です"},
        // size smaller than itself
        {ShortString("TMetafile") + Le32(2), "orvella::EInvalidGraphic: 不正なメタファイルです: 長さが不正です"},
        {ShortString("TPNGImage") + "\x89PNG\r\n\x1A\n" + std::string(10, '\0'),
         "orvella::EInvalidGraphic: PNG: [00][00][00][00]: invalid chunk type"},
    };
    for (const auto& [data, error] : cases) {
        TPictureEx picture;
        EXPECT_EQ(Thrown([&] { picture.ReadPictureData(data); }), error) << data.substr(0, 12);
    }
}

TEST(StoredPictureData, EmptyJpegIsAllowed)
{
    TPictureEx picture;
    picture.ReadPictureData(ShortString("TJPEGImage") + Le32(0));
    EXPECT_TRUE(picture.Empty());
}

TEST(PictureEx, ChangeEventThenNotifierAndModifiedFlag)
{
    TPictureEx picture;
    std::vector<std::string> calls;
    picture.OnChange = [&] { calls.push_back("event"); };
    TListener listener([&](TPersistent*, const TGuid&) { calls.push_back("notifier"); });
    picture.Notifier().Subscribe(listener);
    EXPECT_FALSE(picture.Modified());
    picture.ForceBitmap();  // no change reported
    EXPECT_TRUE(calls.empty());
    picture.ForceBitmap().Assign(PatternBitmap());
    EXPECT_EQ(calls, (std::vector<std::string>{"event", "notifier"}));
    EXPECT_TRUE(picture.Modified());
}

TEST(PictureEx, AssignCopiesIdentifiersAndAnIndependentGraphic)
{
    TPictureEx source, target;
    source.ImageID = "IMG-1";
    source.StorageID = "Pictures\\7";
    source.SetSourceTag("library");
    source.ForceBitmap().Assign(PatternBitmap());
    target.Assign(source);
    EXPECT_EQ(target.ImageID, "IMG-1");
    EXPECT_EQ(target.StorageID, "Pictures\\7");
    EXPECT_EQ(target.SourceTag(), "library");
    source.ForceBitmap().MutableBitmap().Row(0)[0] = 0x12;
    EXPECT_EQ(FirstDifference(PatternBitmap(), static_cast<TSafetyBitmap*>(target.Graphic())->Bitmap()), "");
}

TEST(PictureEx, ForceJpegReplacesAnotherGraphic)
{
    TPictureEx picture;
    picture.ForceBitmap().Assign(PatternBitmap());
    TSafetyJPEGImage& jpeg = picture.ForceJPEG();
    EXPECT_TRUE(jpeg.Empty());
    jpeg.Assign(PatternBitmap());
    EXPECT_EQ(&picture.ForceJPEG(), &jpeg);
    EXPECT_EQ(picture.Width(), 9);
}

TEST(SafetyBitmap, DrawingATransparentBitmapLeavesTheKeyedPixels)
{
    TSafetyBitmap bitmap;
    TBitmap image(4, 2, TPixelFormat::pf24bit);
    FillBitmap(image, [](int32_t x, int32_t) { return x < 2 ? clRed : clLime; });
    bitmap.Assign(image);
    bitmap.SetTransparent(true, clLime);
    TBitmap canvasBitmap(4, 2, TPixelFormat::pf24bit);
    FillBitmap(canvasBitmap, [](int32_t, int32_t) { return clBlue; });
    bitmap.Draw(canvasBitmap.Canvas(), {0, 0, 4, 2});
    EXPECT_EQ(PixelPicture(canvasBitmap, BasicLegend()), "rrbb\nrrbb\n");
}

TEST(TransparencyMask, PaletteBitmapsMatchTheExactPaletteEntryOnly)
{
    TBitmap indexed(3, 1, TPixelFormat::pf8bit);
    indexed.SetPalette({clBlack, RGB(10, 20, 30), clWhite});
    indexed.Row(0)[0] = 0;
    indexed.Row(0)[1] = 1;
    indexed.Row(0)[2] = 2;
    TBitmap mask;
    BuildTransparencyMask(indexed, RGB(10, 20, 30), mask);
    EXPECT_EQ(mask.GetPixelColor(1, 0), clWhite);
    EXPECT_EQ(mask.GetPixelColor(0, 0), clBlack);
    BuildTransparencyMask(indexed, RGB(10, 20, 31), mask);  // no entry is that colour
    EXPECT_EQ(mask.GetPixelColor(1, 0), clBlack);
}

}  // namespace
}  // namespace orvella::test
