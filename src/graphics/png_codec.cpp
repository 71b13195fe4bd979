#include "graphics/png_codec.h"

#include "graphics/bitmap_copy.h"
#include "graphics/picture_error.h"

#include <QImage>

#include <climits>
#include <cstring>

#include <png.h>

namespace orvella {

bool IsPng(std::string_view bytes) noexcept
{
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1A\n", 8) == 0;
}

namespace {

// libpng's simplified reader takes 16-bit files as linear light and
// gamma-encodes and truncates them on the way to 8 bits, which leaves most
// pixels a level darker than the stored values say. Qt's reader keeps the
// stored samples; they are scaled here, rounding.
void decode16(std::string_view bytes, TBitmap& bitmap, bool& hasAlpha)
{
    if (bytes.size() > std::size_t(INT_MAX))
        throw EInvalidGraphic("PNG: the file is too large");
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()), "PNG") || image.isNull())
        throw EInvalidGraphic("PNG: the 16-bit picture does not read");
    hasAlpha = image.hasAlphaChannel();
    image = image.convertToFormat(QImage::Format_RGBA64);
    TBitmap decoded(image.width(), image.height(), TPixelFormat::pf32bit);
    for (int32_t y = 0; y < decoded.Height(); ++y) {
        const auto* in = reinterpret_cast<const uint16_t*>(image.constScanLine(y));
        uint8_t* out = decoded.Row(y);
        for (int32_t x = 0; x < decoded.Width(); ++x, in += 4, out += 4) {
            out[0] = Scale16To8(in[2]);
            out[1] = Scale16To8(in[1]);
            out[2] = Scale16To8(in[0]);
            out[3] = Scale16To8(in[3]);
        }
    }
    CopyBitmap(decoded, bitmap);
}

}  // namespace

// The simplified png_image interface catches libpng's own errors inside
// the library and answers with a flag and a message, so no jump crosses
// this code.
void DecodePng(std::string_view bytes, TBitmap& bitmap, bool& hasAlpha)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        throw EInvalidGraphic(std::string("PNG: ") + image.message);
    try {
        CheckPictureSize(image.width, image.height, "PNG");
    } catch (...) {
        png_image_free(&image);
        throw;
    }
    if ((image.format & PNG_FORMAT_FLAG_LINEAR) != 0) {
        png_image_free(&image);
        decode16(bytes, bitmap, hasAlpha);
        return;
    }
    hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_BGRA;
    TBitmap decoded(int32_t(image.width), int32_t(image.height), TPixelFormat::pf32bit);
    if (!png_image_finish_read(&image, nullptr, decoded.Bits(), decoded.Stride(), nullptr))
        throw EInvalidGraphic(std::string("PNG: ") + image.message);
    CopyBitmap(decoded, bitmap);
}

std::string EncodePng(const TBitmap& bitmap, bool keepAlpha)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        throw EInvalidGraphic("PNG: the picture has no pixels");
    TBitmap converted;
    const TBitmap* source = &bitmap;
    const bool alpha = keepAlpha && bitmap.PixelFormat() == TPixelFormat::pf32bit;
    if (bitmap.PixelFormat() == TPixelFormat::pf8bit || (bitmap.PixelFormat() == TPixelFormat::pf32bit && !alpha)) {
        ConvertTo24(bitmap, converted);
        source = &converted;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(source->Width());
    image.height = png_uint_32(source->Height());
    image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    const auto* rows = const_cast<TBitmap*>(source)->Bits();
    // Room for the worst case lets one pass do; past a few megabytes the
    // size is asked first (a second pass) rather than held twice.
    constexpr png_alloc_size_t kOnePassLimit = png_alloc_size_t(16) << 20;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    if (size > kOnePassLimit) {
        size = 0;
        if (!png_image_write_to_memory(&image, nullptr, &size, 0, rows, source->Stride(), nullptr))
            throw EInvalidGraphic(std::string("PNG: ") + image.message);
    }
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rows, source->Stride(), nullptr))
        throw EInvalidGraphic(std::string("PNG: ") + image.message);
    out.resize(size);
    return out;
}

}  // namespace orvella
