// Block transfers: raster operations, stretching, and drawing on Qt devices.

#include "graphics/canvas.h"

#include "graphics/bitmap.h"
#include "graphics/paint_device_canvas.h"
#include "graphics/scaler.h"
#include "pixel_picture.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <algorithm>

namespace orvella {
namespace {

TColor Gray(uint8_t v) { return RGB(v, v, v); }

struct RopCase {
    uint32_t rop;
    const char* name;
};

class RasterOperations : public ::testing::TestWithParam<RopCase> {};

// With pattern 0xF0, source 0xCC and destination 0xAA every operation yields
// its own truth table, bit for bit.
TEST_P(RasterOperations, FollowTheirTruthTable)
{
    TBitmap source(1, 1, TPixelFormat::pf8bit);
    source.Row(0)[0] = 0xCC;
    TBitmap dest(1, 1, TPixelFormat::pf8bit);
    dest.Row(0)[0] = 0xAA;
    dest.Canvas().Brush().Color = Gray(0xF0);
    dest.Canvas().BitBlt(0, 0, 1, 1, source.Canvas(), 0, 0, GetParam().rop);
    EXPECT_EQ(dest.Row(0)[0], (GetParam().rop >> 16) & 0xFF) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Table, RasterOperations,
    ::testing::Values(RopCase{SRCCOPY, "SRCCOPY"}, RopCase{SRCPAINT, "SRCPAINT"}, RopCase{SRCAND, "SRCAND"},
                      RopCase{SRCINVERT, "SRCINVERT"}, RopCase{SRCERASE, "SRCERASE"},
                      RopCase{NOTSRCCOPY, "NOTSRCCOPY"}, RopCase{NOTSRCERASE, "NOTSRCERASE"},
                      RopCase{MERGECOPY, "MERGECOPY"}, RopCase{MERGEPAINT, "MERGEPAINT"},
                      RopCase{PATCOPY, "PATCOPY"}, RopCase{PATPAINT, "PATPAINT"}, RopCase{PATINVERT, "PATINVERT"},
                      RopCase{DSTINVERT, "DSTINVERT"}, RopCase{BLACKNESS, "BLACKNESS"},
                      RopCase{WHITENESS, "WHITENESS"}, RopCase{0x00B8074A, "DSPDxax"}));

TEST(BitBlt, CopiesAcrossFormatsAndKeepsTheFourthByteOnPlainCopies)
{
    TBitmap source(2, 1, TPixelFormat::pf32bit);
    source.Row(0)[0] = 0x10;
    source.Row(0)[1] = 0x20;
    source.Row(0)[2] = 0x30;
    source.Row(0)[3] = 0x7F;
    TBitmap wide(2, 1, TPixelFormat::pf32bit);
    wide.Canvas().BitBlt(0, 0, 2, 1, source.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(wide.Row(0)[3], 0x7F);
    TBitmap narrow(2, 1, TPixelFormat::pf24bit);
    narrow.Canvas().BitBlt(0, 0, 2, 1, source.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(narrow.GetPixelColor(0, 0), RGB(0x30, 0x20, 0x10));
    TBitmap mask(2, 1, TPixelFormat::pf8bit);
    mask.Canvas().BitBlt(0, 0, 2, 1, wide.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(mask.GetPixelColor(0, 0), Gray(0x20));  // the nearest grey
}

TEST(BitBlt, OverlappingCopyWithinOneBitmapReadsTheOldPixels)
{
    TBitmap bitmap(5, 1, TPixelFormat::pf8bit);
    for (int i = 0; i < 5; ++i)
        bitmap.Row(0)[i] = uint8_t(i + 1);
    bitmap.Canvas().BitBlt(1, 0, 4, 1, bitmap.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bitmap.Row(0)), 5), std::string("\1\1\2\3\4", 5));
}

// A plain copy at one scale in any format: every byte of each pixel taken
// from the source, columns and rows that fall outside the source left
// alone, in a clipped band too.
TEST(BitBlt, PlainCopyMovesEveryByteAndLeavesWhatLiesOutsideTheSource)
{
    for (const TPixelFormat format : {TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        const int bytes = BytesPerPixel(format);
        TBitmap source(7, 5, format);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 7 * bytes; ++x)
                source.Row(y)[x] = uint8_t(1 + y * 40 + x);
        TBitmap dest(9, 7, format);
        for (int32_t y = 0; y < 7; ++y)
            std::fill_n(dest.Row(y), 9 * bytes, uint8_t(0xEE));
        dest.Canvas().IntersectClipRect({0, 0, 9, 5});
        // Source columns -1 to 7 and rows 1 to 6: the first and last column
        // and the last row lie outside the source.
        dest.Canvas().BitBlt(0, 1, 9, 6, source.Canvas(), -1, 1, SRCCOPY);
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 9; ++x) {
                const int32_t sx = x - 1;
                const int32_t sy = y;
                const bool copied = y >= 1 && y < 5 && sx >= 0 && sx < 7 && sy < 5;
                for (int b = 0; b < bytes; ++b) {
                    const uint8_t want = copied ? source.Row(sy)[sx * bytes + b] : uint8_t(0xEE);
                    ASSERT_EQ(dest.Row(y)[x * bytes + b], want)
                        << int(format) << " bits at " << x << ',' << y << " byte " << b;
                }
            }
    }
}

TEST(BitBlt, HonoursTheClipAndTheMapping)
{
    TBitmap source(4, 4, TPixelFormat::pf24bit);
    source.Canvas().Brush().Color = clRed;
    source.Canvas().FillRect({0, 0, 4, 4});
    TBitmap dest(6, 6, TPixelFormat::pf24bit);
    TCanvas& canvas = dest.Canvas();
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, 6, 6});
    canvas.SetWindowOrg({-1, -1});
    canvas.IntersectClipRect({0, 0, 2, 4});
    canvas.BitBlt(0, 0, 4, 4, source.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(test::PixelPicture(dest, test::BasicLegend()), "......\n"
                                                             ".rr...\n"
                                                             ".rr...\n"
                                                             ".rr...\n"
                                                             ".rr...\n"
                                                             "......\n");
}

TEST(StretchBlt, RepeatsPixelsAndMirrors)
{
    TBitmap source(2, 1, TPixelFormat::pf24bit);
    source.Canvas().SetPixel(0, 0, clRed);
    source.Canvas().SetPixel(1, 0, clBlue);
    TBitmap dest(4, 2, TPixelFormat::pf24bit);
    dest.Canvas().StretchBlt(0, 0, 4, 1, source.Canvas(), 0, 0, 2, 1, SRCCOPY);
    dest.Canvas().StretchBlt(4, 1, -4, 1, source.Canvas(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(test::PixelPicture(dest, test::BasicLegend()), "rrbb\nbbrr\n");
}

TEST(StretchBlt, HalftoneAveragesWhatItShrinks)
{
    TBitmap source(2, 2, TPixelFormat::pf24bit);
    source.Canvas().SetPixel(0, 0, clWhite);
    source.Canvas().SetPixel(1, 1, clWhite);
    TBitmap dest(1, 1, TPixelFormat::pf24bit);
    dest.Canvas().SetStretchBltMode(HALFTONE);
    dest.Canvas().StretchBlt(0, 0, 1, 1, source.Canvas(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(dest.GetPixelColor(0, 0), Gray(128));
    dest.Canvas().SetStretchBltMode(COLORONCOLOR);
    dest.Canvas().StretchBlt(0, 0, 1, 1, source.Canvas(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(dest.GetPixelColor(0, 0), clWhite);
}

TEST(PatBlt, InvertsAndPaintsThePattern)
{
    TBitmap bitmap(4, 1, TPixelFormat::pf24bit);
    TCanvas& canvas = bitmap.Canvas();
    canvas.PatBlt(0, 0, 2, 1, DSTINVERT);
    canvas.Brush().Color = clRed;
    canvas.PatBlt(1, 0, 2, 1, PATINVERT);
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(1, 0), RGB(0, 255, 255));
    EXPECT_EQ(bitmap.GetPixelColor(2, 0), clRed);
    EXPECT_EQ(bitmap.GetPixelColor(3, 0), clBlack);
}

TEST(PaintDeviceCanvas, ComposesRasterOperationsInMemoryAndPaintsThem)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::green);
    TPaintDeviceCanvas canvas(image);
    EXPECT_EQ(canvas.DeviceResolution(), 96);
    EXPECT_FALSE(IsPrintingCanvas(canvas));
    canvas.Brush().Color = clRed;
    canvas.Rectangle(1, 1, 6, 5);
    canvas.PatBlt(0, 0, 3, 3, DSTINVERT);
    canvas.Flush();
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));        // inverted paper
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));  // inverted outline
    EXPECT_EQ(image.pixel(2, 2), qRgb(0, 255, 255));    // inverted fill
    EXPECT_EQ(image.pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 4), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(6, 5), qRgb(255, 255, 255));
}

TEST(PaintDeviceCanvas, PdfIsAPrintingDeviceAtItsResolution)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    {
        TPaintDeviceCanvas canvas(writer);
        EXPECT_EQ(canvas.DeviceResolution(), 300);
        EXPECT_TRUE(IsPrintingCanvas(canvas));
        canvas.Rectangle(100, 100, 400, 300);
        canvas.Flush();
    }
    EXPECT_TRUE(bytes.startsWith("%PDF"));
}

}  // namespace
}  // namespace orvella
