#include "graphics/bmp_codec.h"
#include "graphics/encoded_images.h"
#include "graphics/picture_clipboard.h"
#include "graphics/picture_error.h"
#include "graphics/picture_ex.h"
#include "graphics/safety_bitmap.h"
#include "picture_fixtures.h"
#include "support/tool_runner.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cstring>

namespace orvella::test {
namespace {

const char kDibFormat[] = "application/x-qt-windows-mime;value=\"DeviceIndependentBitmap\"";

// A BMP that ImageMagick wrote: 9 x 4.
std::string MagickBmp()
{
    TempDir dir;
    if (!Magick({"-size", "9x4", "gradient:red-blue", dir.File("p.bmp")}))
        return "";
    return ReadFile(dir.File("p.bmp"));
}

void Put32(std::string& bytes, uint32_t value)
{
    char raw[4];
    std::memcpy(raw, &value, 4);
    bytes.append(raw, 4);
}

// An enhanced metafile of one header and the end record, 1 inch square.
std::string TinyEmf()
{
    std::string emf;
    for (uint32_t value : {1u, 88u, 0u, 0u, 95u, 95u, 0u, 0u, 2540u, 2540u, 0x464D4520u, 0x10000u, 108u, 2u})
        Put32(emf, value);
    emf.append(4, '\0');  // handles, reserved
    for (uint32_t value : {0u, 0u, 0u, 1024u, 768u, 320u, 240u})
        Put32(emf, value);
    for (uint32_t value : {14u, 20u, 0u, 16u, 20u})
        Put32(emf, value);
    return emf;
}

std::string PlaceableWmf()
{
    std::string wmf("\xD7\xCD\xC6\x9A\0\0\0\0\0\0\xA0\x05\x40\x02\xA0\x05\0\0\0\0\0\0\1\0\x09\0\0\x03\x0C\0\0\0",
                    32);
    return wmf + std::string(24, '\0');
}

struct MimeCase {
    const char* name;
    std::vector<std::pair<QString, std::function<std::string()>>> offered;
    const char* wantClass;  // "" when nothing is taken
    int32_t width;
};

class ClipboardPicture : public ::testing::TestWithParam<MimeCase> {};

TEST_P(ClipboardPicture, TakesTheFirstPictureFormatInTheClipboardsOrder)
{
    const MimeCase& c = GetParam();
    QMimeData data;
    for (const auto& [format, bytes] : c.offered) {
        const std::string raw = bytes();
        data.setData(format, QByteArray(raw.data(), qsizetype(raw.size())));
    }
    TPictureEx picture;
    const bool taken = AssignPictureFromMime(picture, data);
    EXPECT_EQ(taken, *c.wantClass != '\0');
    if (!taken)
        return;
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Graphic()->StoredClassName(), c.wantClass);
    EXPECT_EQ(picture.Width(), c.width);
}

INSTANTIATE_TEST_SUITE_P(Formats, ClipboardPicture, ::testing::Values(
    MimeCase{"BitmapAfterText", {{"text/plain", [] { return std::string("hello"); }},
                                 {"image/bmp", MagickBmp}}, "TSafetyBitmap", 9},
    MimeCase{"DibBeforeABrokenBitmap", {{kDibFormat, [] { return MagickBmp().substr(14); }},
                                        {"image/bmp", [] { return std::string("BMxx"); }}}, "TSafetyBitmap", 9},
    MimeCase{"EnhancedMetafile", {{"image/x-emf", TinyEmf}, {"image/bmp", MagickBmp}}, "TMetafile", 96},
    MimeCase{"NoPicture", {{"text/plain", [] { return std::string("hello"); }},
                           {"image/tiff", [] { return std::string("II*"); }}}, "", 0},
    // What most programs on Linux offer for a copied picture.
    MimeCase{"PngAfterText", {{"text/plain", [] { return std::string("hello"); }},
                              {"image/png", [] {
                                   QImage image(7, 3, QImage::Format_RGB32);
                                   image.fill(Qt::red);
                                   QByteArray png;
                                   QBuffer buffer(&png);
                                   buffer.open(QIODevice::WriteOnly);
                                   image.save(&buffer, "PNG");
                                   return png.toStdString();
                               }}}, "TPNGImage", 7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClipboardPicture, BadBytesAreAClearErrorAndLeaveThePicture)
{
    const std::string bmp = MagickBmp();
    ASSERT_FALSE(bmp.empty());
    struct Bad {
        TClipPictureKind kind;
        std::string bytes;
    };
    std::string hugeDib = bmp.substr(14);
    const int32_t huge = 1 << 30;
    std::memcpy(hugeDib.data() + 4, &huge, 4);  // width
    const Bad cases[] = {
        {TClipPictureKind::Bitmap, bmp.substr(0, 30)},
        {TClipPictureKind::Dib, std::string(3, '\0')},
        {TClipPictureKind::Dib, hugeDib},
        {TClipPictureKind::EnhancedMetafile, TinyEmf().substr(0, 60)},
        {TClipPictureKind::EnhancedMetafile, PlaceableWmf()},  // a metafile, but no enhanced one
        {TClipPictureKind::Encoded, std::string("\x89PNG\r\n\x1A\n", 8)},
    };
    for (const Bad& bad : cases) {
        TPictureEx picture;
        picture.ForceBitmap().Assign(TBitmap(2, 2, TPixelFormat::pf24bit));
        EXPECT_THROW(AssignClipPicture(picture, bad.kind, bad.bytes), EInvalidGraphic) << bad.bytes.size();
        EXPECT_EQ(picture.Width(), 2);
    }
}

TEST(ClipboardPicture, AnImageCopiedByAQtProgramComesThroughTheClipboard)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QGuiApplication::clipboard()->setImage(image);
    TPictureEx picture;
    ASSERT_TRUE(AssignPictureFromClipboard(picture));
    auto* bitmap = dynamic_cast<TSafetyBitmap*>(picture.Graphic());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Bitmap().GetPixelColor(2, 1), clBlue);
    QGuiApplication::clipboard()->clear();
}

}  // namespace
}  // namespace orvella::test
