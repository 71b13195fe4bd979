#include "graphics/bmp_codec.h"
#include "graphics/picture_error.h"
#include "graphics/png_codec.h"
#include "picture_fixtures.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvella::test {
namespace {

// Writes a BMP with ImageMagick in a given layout from one source picture,
// reads it with our reader and asks ImageMagick whether our pixels (saved
// as PNG) match its own reading of the BMP.
struct MagickBmpCase {
    const char* name;
    std::vector<std::string> options;  // between the source and the output
    const char* prefix;                // ImageMagick's format prefix of the output
    int expectedBits;                  // bits per pixel in the written header
};

class BmpAgainstMagick : public ::testing::TestWithParam<MagickBmpCase> {};

TEST_P(BmpAgainstMagick, DecodesWhatImageMagickWrote)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    const MagickBmpCase& c = GetParam();
    TempDir dir;
    const std::string bmp = dir.File("in.bmp");
    std::vector<std::string> args{"-size", "37x19", "gradient:#FF2000-#0040FF", "-fill", "#30C050", "-draw",
                                  "rectangle 3,2 12,9"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(std::string(c.prefix) + bmp);
    ASSERT_TRUE(Magick(args));
    const std::string bytes = ReadFile(bmp);
    ASSERT_GE(bytes.size(), 30u);
    EXPECT_EQ(uint8_t(bytes[28]), c.expectedBits) << "ImageMagick wrote another layout than the case wants";

    TBitmap bitmap;
    ReadBmp(bytes, bitmap);
    EXPECT_EQ(bitmap.Width(), 37);
    EXPECT_EQ(bitmap.Height(), 19);
    WriteFile(dir.File("ours.png"), EncodePng(bitmap));
    EXPECT_EQ(MagickDifference(bmp, dir.File("ours.png")), 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, BmpAgainstMagick, ::testing::Values(
    MagickBmpCase{"bits24", {"-type", "TrueColor"}, "BMP3:", 24},
    MagickBmpCase{"bits24V5Header", {"-type", "TrueColor"}, "BMP:", 24},
    MagickBmpCase{"bits8", {"-colors", "200", "-type", "Palette", "-compress", "None"}, "BMP3:", 8},
    MagickBmpCase{"rle8", {"-colors", "60", "-type", "Palette", "-compress", "RLE"}, "BMP3:", 8},
    MagickBmpCase{"bits4", {"-colors", "16", "-type", "Palette", "-depth", "4", "-compress", "None"}, "BMP3:", 4},
    MagickBmpCase{"bits1", {"-monochrome"}, "BMP3:", 1},
    MagickBmpCase{"bits32", {"-define", "bmp:subtype=ARGB8888"}, "BMP:", 32}),
    [](const auto& info) { return std::string(info.param.name); });

std::string Header(int32_t width, int32_t height, int bits, uint32_t compression, uint32_t colours,
                   uint32_t offBits, std::size_t fileSize)
{
    std::string h(54, '\0');
    auto put32 = [&](std::size_t at, uint32_t v) { std::memcpy(h.data() + at, &v, 4); };
    auto put16 = [&](std::size_t at, uint16_t v) { std::memcpy(h.data() + at, &v, 2); };
    h[0] = 'B';
    h[1] = 'M';
    put32(2, uint32_t(fileSize));
    put32(10, offBits);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    put16(26, 1);
    put16(28, uint16_t(bits));
    put32(30, compression);
    put32(46, colours);
    return h;
}

TEST(BmpReader, TopDownRowsKeepTheirOrder)
{
    // 2 × 2, 24-bit, negative height: the first stored row is the top one.
    std::string file = Header(2, -2, 24, 0, 0, 54, 54 + 16);
    file += std::string("\x00\x00\xFF" "\xFF\xFF\xFF" "\x00\x00", 8);  // red, white, padding
    file += std::string("\xFF\x00\x00" "\x00\x00\x00" "\x00\x00", 8);  // blue, black
    TBitmap bitmap;
    ReadBmp(file, bitmap);
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), clRed);
    EXPECT_EQ(bitmap.GetPixelColor(1, 0), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(0, 1), clBlue);
    EXPECT_EQ(bitmap.GetPixelColor(1, 1), clBlack);
}

TEST(BmpReader, SixteenBitPixelsWidenThroughTheirMasks)
{
    // 5-5-5 without masks, then 5-6-5 with bit fields; two pixels a row.
    std::string plain = Header(2, 1, 16, 0, 0, 54, 58);
    plain += std::string("\x00\x7C\x10\x42", 4);  // red, (16, 16, 16)
    TBitmap bitmap;
    ReadBmp(plain, bitmap);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), clRed);
    EXPECT_EQ(bitmap.GetPixelColor(1, 0), RGB(132, 132, 132));  // 16 × 255 / 31, rounded

    std::string fields = Header(2, 1, 16, 3, 0, 66, 70);
    fields += std::string("\x00\xF8\x00\x00" "\xE0\x07\x00\x00" "\x1F\x00\x00\x00", 12);
    fields += std::string("\xE0\x07\x1F\x00", 4);  // green, blue
    ReadBmp(fields, bitmap);
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), clLime);
    EXPECT_EQ(bitmap.GetPixelColor(1, 0), clBlue);
}

TEST(BmpReader, Rle8RunsEscapesAndDeltasLandOnTheirPixels)
{
    // 4 × 3, bottom-up. Bottom row: run of 2 × index 1, absolute 3 bytes (2 1 2),
    // clipped at the row's end; then end of line; delta (1, 0) then 1 × index 2;
    // end of bitmap leaves the top row at index 0.
    std::string pixels("\x02\x01" "\x00\x03\x02\x01\x02\x00" "\x00\x00" "\x00\x02\x01\x00" "\x01\x02" "\x00\x01", 18);
    std::string palette("\x00\x00\x00\x00" "\x00\x00\xFF\x00" "\xFF\x00\x00\x00", 12);
    std::string file = Header(4, 3, 8, 1, 3, 54 + 12, 54 + 12 + pixels.size()) + palette + pixels;
    TBitmap bitmap;
    ReadBmp(file, bitmap);
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    auto row = [&](int y) {
        std::string text;
        for (int x = 0; x < 4; ++x)
            text += char('0' + bitmap.Row(y)[x]);
        return text;
    };
    EXPECT_EQ(row(2), "1121");
    EXPECT_EQ(row(1), "0200");
    EXPECT_EQ(row(0), "0000");
}

TEST(BmpWriter, WrittenFilesReadBackToTheSamePixels)
{
    for (TPixelFormat format : {TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap bitmap(5, 3, format);
        if (format == TPixelFormat::pf8bit)
            FillBitmap(bitmap, [](int32_t x, int32_t) { return RGB(uint8_t(40 * x), uint8_t(40 * x), uint8_t(40 * x)); });
        else
            FillPattern(bitmap);
        TBitmap back;
        ReadBmp(WriteBmp(bitmap), back);
        EXPECT_EQ(back.PixelFormat(), format);
        EXPECT_EQ(FirstDifference(bitmap, back), "") << int(format);
    }
}

struct BadBmpCase {
    const char* name;
    std::string bytes;
};

class BmpRefuses : public ::testing::TestWithParam<BadBmpCase> {};

TEST_P(BmpRefuses, WithAClearError)
{
    TBitmap bitmap;
    EXPECT_THROW(ReadBmp(GetParam().bytes, bitmap), EInvalidGraphic);
}

std::string WithPixels(std::string header, std::size_t count) { return header + std::string(count, '\x7F'); }

INSTANTIATE_TEST_SUITE_P(Cases, BmpRefuses, ::testing::Values(
    BadBmpCase{"Empty", ""},
    BadBmpCase{"NoSignature", WithPixels(Header(1, 1, 24, 0, 0, 54, 58).replace(0, 2, "XX"), 4)},
    BadBmpCase{"HeaderCutShort", Header(1, 1, 24, 0, 0, 54, 58).substr(0, 30)},
    BadBmpCase{"PixelsMissing", WithPixels(Header(4, 4, 24, 0, 0, 54, 54 + 48), 20)},
    BadBmpCase{"OffsetPastTheEnd", WithPixels(Header(1, 1, 24, 0, 0, 4000, 58), 4)},
    BadBmpCase{"HugeSize", WithPixels(Header(0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 0, 54, 58), 4)},
    BadBmpCase{"ZeroWidth", WithPixels(Header(0, 4, 24, 0, 0, 54, 58), 4)},
    BadBmpCase{"TooManyPaletteColours", WithPixels(Header(1, 1, 8, 0, 300, 54, 58), 2000)},
    BadBmpCase{"PaletteCutShort", WithPixels(Header(1, 1, 8, 0, 256, 54, 58), 12)},
    BadBmpCase{"OddBitCount", WithPixels(Header(1, 1, 7, 0, 0, 54, 58), 4)},
    BadBmpCase{"RleOnTrueColour", WithPixels(Header(1, 1, 24, 1, 0, 54, 58), 4)},
    BadBmpCase{"RleRunCutShort", Header(4, 1, 8, 1, 0, 54 + 1024, 0) + std::string(1024, '\0') +
                                     std::string("\x00\x09\x01", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BmpReader, ClipboardDibWithoutFileHeaderReads)
{
    TBitmap bitmap(3, 2, TPixelFormat::pf24bit);
    FillPattern(bitmap);
    const std::string file = WriteBmp(bitmap);
    TBitmap back;
    ReadDib(file.substr(14), back);
    EXPECT_EQ(FirstDifference(bitmap, back), "");
}

}  // namespace
}  // namespace orvella::test
