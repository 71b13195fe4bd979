#include "graphics/jpeg_codec.h"

#include "graphics/bitmap_copy.h"
#include "graphics/picture_error.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace orvella {

namespace {

constexpr const char* kUnsupportedJpeg = "未対応のJPEG形式です";

// libjpeg reports a fatal error by calling error_exit, which must not
// return. It jumps back to the setjmp in the function that started the
// work; those functions keep only plain data in their frames so that the
// jump skips no destructor.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info)
{
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

void InstallErrorHandler(JpegError& error)
{
    jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.emit_message = OnJpegMessage;
    error.message[0] = '\0';
}

// The decoder's plain-data work order. Returns false with `error.message`
// set when libjpeg gave up.
struct DecodeJob {
    const unsigned char* data;
    unsigned long size;
    unsigned char* pixels;  // top row, 24-bit B,G,R
    long stride;
    int width;
    int height;
};

bool RunDecode(DecodeJob& job, JpegError& error)
{
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    info.err = &error.manager;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    // A lid on libjpeg's own buffers; the picture size was checked before.
    info.mem->max_memory_to_use = 512L * 1024 * 1024;
    jpeg_mem_src(&info, job.data, job.size);
    jpeg_read_header(&info, TRUE);
    if (int(info.image_width) != job.width || int(info.image_height) != job.height) {
        std::snprintf(error.message, sizeof error.message, "frame size differs from the header");
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = job.pixels + job.stride * long(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct EncodeJob {
    const unsigned char* pixels;  // 24-bit B,G,R rows
    long stride;
    int width;
    int height;
    int quality;
    unsigned char* output;  // malloc'd by libjpeg
    unsigned long outputSize;
};

bool RunEncode(EncodeJob& job, JpegError& error)
{
    jpeg_compress_struct info;
    std::memset(&info, 0, sizeof info);
    info.err = &error.manager;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &job.output, &job.outputSize);
    info.image_width = JDIMENSION(job.width);
    info.image_height = JDIMENSION(job.height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, job.quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(job.pixels) + job.stride * long(info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

TJpegHeader CheckJpegHeader(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const std::size_t size = bytes.size();
    if (size < 2 || p[0] != 0xFF || p[1] != 0xD8)
        throw EInvalidGraphic(kUnsupportedJpeg);
    std::size_t pos = 2;
    // Looks for the next marker: bytes up to a 0xFF are skipped, then any run of 0xFF.
    while (pos < size) {
        while (pos < size && p[pos] != 0xFF)
            ++pos;
        while (pos < size && p[pos] == 0xFF)
            ++pos;
        if (pos >= size)
            break;
        const uint8_t marker = p[pos++];
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA) {
            if (size - pos < 8)
                break;
            TJpegHeader header;
            header.Height = (p[pos + 3] << 8) | p[pos + 4];
            header.Width = (p[pos + 5] << 8) | p[pos + 6];
            header.Components = p[pos + 7];
            if (header.Width <= 0 || header.Height <= 0 || header.Components <= 0 || header.Components > 3)
                throw EInvalidGraphic(kUnsupportedJpeg);
            return header;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x00)
            continue;
        if (size - pos < 2)
            break;
        const std::size_t length = (std::size_t(p[pos]) << 8) | p[pos + 1];
        if (length < 2)
            break;
        pos += length;
    }
    throw EInvalidGraphic(kUnsupportedJpeg);
}

void DecodeJpeg(std::string_view bytes, TBitmap& bitmap)
{
    const TJpegHeader header = CheckJpegHeader(bytes);
    CheckPictureSize(header.Width, header.Height, "JPEG");
    TBitmap decoded(header.Width, header.Height, TPixelFormat::pf24bit);
    DecodeJob job{reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                  decoded.Bits(), decoded.Stride(), header.Width, header.Height};
    JpegError error;
    InstallErrorHandler(error);
    if (!RunDecode(job, error))
        throw EInvalidGraphic(std::string("JPEG: ") + error.message);
    CopyBitmap(decoded, bitmap);
}

std::string EncodeJpeg(const TBitmap& bitmap, int quality)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        throw EInvalidGraphic("JPEG: the picture has no pixels");
    if (bitmap.Width() > 65500 || bitmap.Height() > 65500)
        throw EInvalidGraphic("JPEG: the picture is too large");
    // libjpeg wants one layout; other formats go through a 24-bit copy.
    TBitmap converted;
    const TBitmap* source = &bitmap;
    if (bitmap.PixelFormat() != TPixelFormat::pf24bit) {
        ConvertTo24(bitmap, converted);
        source = &converted;
    }
    EncodeJob job{source->Row(0), source->Stride(), source->Width(), source->Height(),
                  quality < 1 ? 1 : (quality > 100 ? 100 : quality), nullptr, 0};
    JpegError error;
    InstallErrorHandler(error);
    const bool ok = RunEncode(job, error);
    std::string out;
    if (ok)
        out.assign(reinterpret_cast<const char*>(job.output), job.outputSize);
    std::free(job.output);
    if (!ok)
        throw EInvalidGraphic(std::string("JPEG: ") + error.message);
    return out;
}

}  // namespace orvella
