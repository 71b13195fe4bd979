#include "graphics/bmp_codec.h"
#include "graphics/encoded_images.h"
#include "graphics/jpeg_codec.h"
#include "graphics/picture_error.h"
#include "graphics/png_codec.h"
#include "graphics/safety_bitmap.h"
#include "picture_fixtures.h"
#include "support/oracle.h"
#include "platform/zlib_container.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvella::test {
namespace {

// A picture file made by ImageMagick from a small scene with a transparent
// hole, read by our graphic, compared with ImageMagick's own reading.
struct ForeignCase {
    const char* name;
    const char* file;
    int fuzzPercent;  // lossy formats decode within this
};

class ForeignPicture : public ::testing::TestWithParam<ForeignCase> {};

TEST_P(ForeignPicture, DecodesLikeImageMagick)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    const ForeignCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.File(c.file);
    ASSERT_TRUE(Magick({"-size", "41x23", "gradient:#FFE000-#0020A0", "-fill", "#C03050", "-draw",
                        "circle 20,11 20,4", "-depth", "8", file}));
    const auto graphic = ReadGraphicFile(file);
    ASSERT_TRUE(graphic);
    EXPECT_EQ(graphic->Width(), 41);
    EXPECT_EQ(graphic->Height(), 23);
    TBitmap pixels;
    graphic->RenderTo24(pixels);
    WriteFile(dir.File("ours.png"), EncodePng(pixels));
    EXPECT_EQ(MagickDifference(file, dir.File("ours.png"), c.fuzzPercent), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ForeignPicture, ::testing::Values(
    ForeignCase{"Png", "p.png", 0},
    ForeignCase{"Gif", "p.gif", 0},
    ForeignCase{"Jpeg", "p.jpg", 2},
    ForeignCase{"Bmp", "p.bmp", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A 16-bit PNG comes to 8 bits as libpng's png_set_scale_16 reduces it,
// round(v * 255 / 65535), whichever 8-bit form it is turned into: the
// picture in memory, and a BMP written from it. ImageMagick reads the
// stored 16-bit samples; its own 8-bit output is no reference, as some of
// its versions truncate.
TEST(Png16, ReducesToEightBitsRoundingEveryStoredSample)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    TempDir dir;
    const std::string file = dir.File("deep.png");
    ASSERT_TRUE(Magick({"-size", "97x31", "gradient:#FFE0A1-#0120A0", "-fill", "#C03051", "-draw",
                        "circle 40,15 40,4", "-depth", "16", file}));
    ASSERT_TRUE(Magick({file, "-depth", "16", "-endian", "MSB", "rgb:" + dir.File("samples.raw")}));
    const std::string samples = ReadFile(dir.File("samples.raw"));
    ASSERT_EQ(samples.size(), std::size_t(97 * 31 * 6));
    std::string want;
    for (std::size_t i = 0; i < samples.size(); i += 2) {
        const unsigned v = unsigned(uint8_t(samples[i])) << 8 | uint8_t(samples[i + 1]);
        want += char(std::lround(v * 255.0 / 65535.0));
    }

    const auto graphic = ReadGraphicFile(file);
    ASSERT_TRUE(graphic);
    TBitmap pixels;
    graphic->RenderTo24(pixels);
    std::string memory;
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const uint8_t* p = pixels.Row(y) + 3 * x;
            memory += {char(p[2]), char(p[1]), char(p[0])};
        }
    EXPECT_EQ(memory, want);

    WriteFile(dir.File("written.bmp"), WriteGraphicAs(*graphic, "BMP"));
    ASSERT_TRUE(Magick({dir.File("written.bmp"), "-depth", "8", "rgb:" + dir.File("written.raw")}));
    EXPECT_EQ(ReadFile(dir.File("written.raw")), want);
}

TEST(Png16, ScalesRoundingToTheNearestLevel)
{
    struct Case {
        uint16_t in;
        uint8_t out;
    };
    for (const Case c : {Case{0, 0}, Case{128, 0}, Case{129, 1}, Case{257, 1}, Case{32767, 127}, Case{32768, 128},
                         Case{65406, 254}, Case{65408, 255}, Case{65535, 255}})
        EXPECT_EQ(Scale16To8(c.in), c.out) << c.in;
}

TEST(GifImage, TransparentIndexBecomesSeeThrough)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    TempDir dir;
    const std::string file = dir.File("t.gif");
    ASSERT_TRUE(Magick({"-size", "6x4", "xc:#00FF00", "-alpha", "set", "-channel", "A", "-fx", "i==2&&j==1?0:1",
                        "+channel", file}));
    const auto graphic = ReadGraphicFile(file);
    ASSERT_TRUE(graphic->HasTransparentParts());
    TBitmap mask, pixels;
    graphic->RenderMask(mask);
    graphic->RenderTo24(pixels);
    EXPECT_EQ(mask.GetPixelColor(2, 1), clWhite);
    EXPECT_EQ(mask.GetPixelColor(0, 0), clBlack);
    EXPECT_EQ(pixels.GetPixelColor(2, 1), clWhite);  // over white
    EXPECT_EQ(pixels.GetPixelColor(0, 0), clLime);
}

TEST(IconFile, TheLargestImageIsShownWithItsMask)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    TempDir dir;
    const std::string file = dir.File("i.ico");
    ASSERT_TRUE(Magick({"-size", "32x32", "xc:#0000FF", "-alpha", "set", "-channel", "A", "-fx", "i<4&&j<4?0:1",
                        "+channel", "-define", "icon:auto-resize=16,32", file}));
    TIcon icon;
    icon.LoadFromBytes(ReadFile(file));
    EXPECT_EQ(icon.Width(), 32);
    TBitmap mask, pixels;
    icon.RenderMask(mask);
    icon.RenderTo24(pixels);
    EXPECT_EQ(mask.GetPixelColor(1, 1), clWhite);
    EXPECT_EQ(pixels.GetPixelColor(20, 20), clBlue);
}

struct JpegHeaderCase {
    const char* name;
    std::string bytes;
};

class JpegHeaderRefused : public ::testing::TestWithParam<JpegHeaderCase> {};

std::string Frame(int height, int width, int components)
{
    std::string sof("\xFF\xC0\x00\x11\x08", 5);
    sof += char(height >> 8);
    sof += char(height & 0xFF);
    sof += char(width >> 8);
    sof += char(width & 0xFF);
    sof += char(components);
    return sof;
}

TEST_P(JpegHeaderRefused, WithTheUnsupportedMessage)
{
    try {
        CheckJpegHeader(GetParam().bytes);
        FAIL() << "accepted";
    } catch (const EInvalidGraphic& error) {
        EXPECT_STREQ(error.what(), "未対応のJPEG形式です");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, JpegHeaderRefused, ::testing::Values(
    JpegHeaderCase{"NoStartOfImage", "\x89PNG"},
    JpegHeaderCase{"NoFrame", std::string("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xD9", 10)},
    JpegHeaderCase{"Cmyk", std::string("\xFF\xD8", 2) + Frame(10, 10, 4)},
    JpegHeaderCase{"ZeroHeight", std::string("\xFF\xD8", 2) + Frame(0, 10, 3)},
    JpegHeaderCase{"FrameCutShort", std::string("\xFF\xD8\xFF\xC0\x00\x11", 6)},
    JpegHeaderCase{"LengthPastTheEnd", std::string("\xFF\xD8\xFF\xE1\xFF\xFF", 6)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegHeader, SkipsFillBytesAndSegmentsUpToTheFrame)
{
    const std::string bytes = std::string("\xFF\xD8\xFF\xFF\xE0\x00\x06" "abcd" "\xFF\xD0", 13) + Frame(300, 400, 1);
    const TJpegHeader header = CheckJpegHeader(bytes);
    EXPECT_EQ(header.Width, 400);
    EXPECT_EQ(header.Height, 300);
    EXPECT_EQ(header.Components, 1);
}

TEST(JpegImage, CmykFileFromImageMagickIsRefused)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    TempDir dir;
    const std::string file = dir.File("cmyk.jpg");
    ASSERT_TRUE(Magick({"-size", "8x8", "xc:#336699", "-colorspace", "CMYK", file}));
    TSafetyJPEGImage image;
    try {
        image.LoadFromBytes(ReadFile(file));
        FAIL() << "a CMYK JPEG was accepted";
    } catch (const EInvalidGraphic& error) {
        EXPECT_STREQ(error.what(), "未対応のJPEG形式です");
    }
    EXPECT_TRUE(image.Empty());
}

TEST(JpegImage, CorruptDataAfterAGoodHeaderIsAnErrorNotACrash)
{
    TBitmap bitmap(64, 48, TPixelFormat::pf24bit);
    FillPattern(bitmap);
    std::string jpeg = EncodeJpeg(bitmap, 80);
    const TJpegHeader header = CheckJpegHeader(jpeg);
    EXPECT_EQ(header.Width, 64);
    const std::size_t scan = jpeg.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    jpeg.resize(scan + 40);
    TBitmap decoded;
    // libjpeg fills a cut-off scan with grey and warns; the picture still has its size.
    EXPECT_NO_THROW(DecodeJpeg(jpeg, decoded));
    EXPECT_EQ(decoded.Width(), 64);
    // Ending right after the frame header passes our walk; libjpeg finds no
    // scan and gives up through its error handler.
    const std::size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    EXPECT_THROW(DecodeJpeg(jpeg.substr(0, frame + 19), decoded), EInvalidGraphic);
}

TEST(CompressedBitmap, ContainerOfABmpLoadsAndBadContainersAreRefused)
{
    TBitmap bitmap(7, 5, TPixelFormat::pf24bit);
    FillPattern(bitmap);
    const std::string cbm = CompressToContainer(WriteBmp(bitmap));
    TSafetyBitmap loaded;
    loaded.LoadFromBytes(cbm);
    EXPECT_EQ(FirstDifference(bitmap, loaded.Bitmap()), "");

    std::string lying = cbm;
    lying[13] = '\xFF';  // declares a larger inflated length than the stream holds
    EXPECT_THROW(loaded.LoadFromBytes(lying), EInvalidGraphic);
    EXPECT_THROW(loaded.LoadFromBytes(cbm.substr(0, 20)), EInvalidGraphic);
    // A failed load leaves the bitmap as it was.
    EXPECT_EQ(FirstDifference(bitmap, loaded.Bitmap()), "");
}

struct MetafileCase {
    const char* name;
    std::string bytes;
    int32_t width, height;  // 0: refused
};

std::string Placeable(int16_t right, int16_t bottom, uint16_t inch, uint32_t words, std::size_t bodyBytes)
{
    std::string m("\xD7\xCD\xC6\x9A\x00\x00", 6);
    auto put16 = [&](uint16_t v) { m += char(v & 0xFF); m += char(v >> 8); };
    put16(0);
    put16(0);
    put16(uint16_t(right));
    put16(uint16_t(bottom));
    put16(inch);
    m += std::string(6, '\0');
    put16(1);
    put16(9);
    put16(0x300);
    put16(uint16_t(words & 0xFFFF));
    put16(uint16_t(words >> 16));
    m += std::string(bodyBytes, '\0');
    return m;
}

class MetafileHeader : public ::testing::TestWithParam<MetafileCase> {};

TEST_P(MetafileHeader, SizeComesFromTheHeaderAndIsChecked)
{
    const MetafileCase& c = GetParam();
    TMetafile metafile;
    if (c.width == 0) {
        EXPECT_THROW(metafile.LoadFromBytes(c.bytes), EInvalidGraphic);
        return;
    }
    metafile.LoadFromBytes(c.bytes);
    EXPECT_EQ(metafile.Width(), c.width);
    EXPECT_EQ(metafile.Height(), c.height);
    TBitmap placeholder;
    metafile.RenderTo24(placeholder);
    EXPECT_EQ(placeholder.Width(), c.width);
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafileHeader, ::testing::Values(
    // 1440 units an inch: 1440 × 720 units are 96 × 48 pixels.
    MetafileCase{"Placeable", Placeable(1440, 720, 1440, 9, 10), 96, 48},
    MetafileCase{"WordsPastTheEnd", Placeable(1440, 720, 1440, 100000, 10), 0, 0},
    MetafileCase{"ZeroInch", Placeable(1440, 720, 0, 9, 10), 0, 0},
    MetafileCase{"Unknown", std::string("\x05\x00\x00\x00", 4) + std::string(80, '\0'), 0, 0},
    MetafileCase{"CutShort", std::string("\xD7\xCD\xC6\x9A", 4), 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvella::test
