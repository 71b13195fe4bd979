#include "graphics/encoded_images.h"

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/stream_format.h"
#include "graphics/bmp_codec.h"
#include "graphics/gif_codec.h"
#include "graphics/jpeg_codec.h"
#include "graphics/metafile_player.h"
#include "graphics/picture_error.h"
#include "graphics/png_codec.h"
#include "graphics/safety_bitmap.h"
#include "platform/win_math.h"

#include <cstring>

namespace orvella {

void TEncodedImage::Take(std::string_view bytes, TBitmap& decoded, bool hasAlpha)
{
    bytes_.assign(bytes);
    CopyBitmap(decoded, pixels_);
    hasAlpha_ = hasAlpha;
    Changed();
}

void TEncodedImage::CopyTo(TEncodedImage& other) const
{
    other.bytes_ = bytes_;
    CopyBitmap(pixels_, other.pixels_);
    other.hasAlpha_ = hasAlpha_;
}

void TEncodedImage::RenderTo24(TBitmap& target) const
{
    if (pixels_.PixelFormat() != TPixelFormat::pf32bit || !hasAlpha_) {
        ConvertTo24(pixels_, target);
        return;
    }
    // Over white, the background a label starts from.
    target.SetSize(pixels_.Width(), pixels_.Height(), TPixelFormat::pf24bit);
    for (int32_t y = 0; y < pixels_.Height(); ++y) {
        const uint8_t* in = pixels_.Row(y);
        uint8_t* out = target.Row(y);
        for (int32_t x = 0; x < pixels_.Width(); ++x) {
            const int alpha = in[4 * x + 3];
            for (int c = 0; c < 3; ++c)
                out[3 * x + c] = uint8_t((in[4 * x + c] * alpha + 255 * (255 - alpha) + 127) / 255);
        }
    }
}

void TEncodedImage::RenderMask(TBitmap& mask) const
{
    mask.SetSize(pixels_.Width(), pixels_.Height(), TPixelFormat::pf24bit);
    if (!hasAlpha_ || pixels_.PixelFormat() != TPixelFormat::pf32bit)
        return;
    for (int32_t y = 0; y < pixels_.Height(); ++y)
        for (int32_t x = 0; x < pixels_.Width(); ++x)
            if (pixels_.Row(y)[4 * x + 3] < 128)
                std::memset(mask.Row(y) + 3 * x, 0xFF, 3);
}

void TEncodedImage::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (!hasAlpha_) {
        TGraphic::Draw(canvas, rect);
        return;
    }
    TBitmap image, mask;
    RenderTo24(image);
    RenderMask(mask);
    DrawMasked(canvas, rect, image, mask);
}

TSafetyJPEGImage::TSafetyJPEGImage(std::string storedName) : storedName_(std::move(storedName)) {}

std::unique_ptr<TGraphic> TSafetyJPEGImage::Clone() const
{
    auto copy = std::make_unique<TSafetyJPEGImage>(storedName_);
    CopyTo(*copy);
    return copy;
}

void TSafetyJPEGImage::LoadFromBytes(std::string_view bytes)
{
    TBitmap decoded;
    DecodeJpeg(bytes, decoded);
    Take(bytes, decoded, false);
}

void TSafetyJPEGImage::ReadData(std::string_view data)
{
    TByteReader in(data);
    std::size_t size = 0;
    try {
        size = in.ReadLength32();
    } catch (const EReadError&) {
        throw EInvalidGraphic("不正なJPEGデータです: 長さが不正です");
    }
    if (size == 0) {
        bytes_.clear();
        pixels_.SetSize(0, 0, TPixelFormat::pf24bit);
        Changed();
        return;
    }
    LoadFromBytes(in.ReadBytes(size));
}

void TSafetyJPEGImage::WriteData(std::string& out) const
{
    TByteWriter writer(out);
    writer.WriteU32(uint32_t(bytes_.size()));
    writer.WriteBytes(bytes_);
}

void TSafetyJPEGImage::Assign(const TBitmap& bitmap, int quality)
{
    LoadFromBytes(EncodeJpeg(bitmap, quality));
}

std::unique_ptr<TGraphic> TPNGImage::Clone() const
{
    auto copy = std::make_unique<TPNGImage>();
    CopyTo(*copy);
    return copy;
}

void TPNGImage::LoadFromBytes(std::string_view bytes)
{
    TBitmap decoded;
    bool hasAlpha = false;
    DecodePng(bytes, decoded, hasAlpha);
    Take(bytes, decoded, hasAlpha);
}

std::unique_ptr<TGraphic> TGIFImage::Clone() const
{
    auto copy = std::make_unique<TGIFImage>();
    CopyTo(*copy);
    return copy;
}

void TGIFImage::LoadFromBytes(std::string_view bytes)
{
    TBitmap indexed;
    int transparentIndex = -1;
    DecodeGif(bytes, indexed, transparentIndex);
    TBitmap decoded(indexed.Width(), indexed.Height(), TPixelFormat::pf32bit);
    for (int32_t y = 0; y < indexed.Height(); ++y)
        for (int32_t x = 0; x < indexed.Width(); ++x) {
            const uint8_t index = indexed.Row(y)[x];
            const TColor c = indexed.PixelToColor(index);
            uint8_t* p = decoded.Row(y) + 4 * x;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            p[3] = index == transparentIndex ? 0 : 255;
        }
    Take(bytes, decoded, transparentIndex >= 0);
}

std::unique_ptr<TGraphic> TIcon::Clone() const
{
    auto copy = std::make_unique<TIcon>();
    CopyTo(*copy);
    return copy;
}

void TIcon::LoadFromBytes(std::string_view bytes)
{
    TBitmap decoded;
    try {
        TByteReader in(bytes);
        if (in.ReadU16() != 0 || in.ReadU16() != 1)
            throw EInvalidGraphic("不正なアイコンです: ヘッダーが不正です");
        const uint16_t count = in.ReadU16();
        if (count == 0)
            throw EInvalidGraphic("不正なアイコンです: 画像がありません");
        int64_t bestScore = -1;
        uint32_t bestOffset = 0, bestSize = 0;
        for (int i = 0; i < count; ++i) {
            in.Skip(6);  // sizes, colour count, planes: the image header decides
            const uint16_t bitCount = in.ReadU16();
            const uint32_t size = in.ReadU32();
            const uint32_t offset = in.ReadU32();
            if (offset > bytes.size() || size > bytes.size() - offset || size == 0)
                throw EInvalidGraphic("不正なアイコンです: 画像の位置が不正です");
            const std::string_view image = bytes.substr(offset, size);
            int64_t side = 0;
            if (IsPng(image) && image.size() >= 24)
                side = (int64_t(uint8_t(image[16])) << 24 | uint8_t(image[17]) << 16 | uint8_t(image[18]) << 8 | uint8_t(image[19]));
            else if (image.size() >= 8)
                side = int64_t(uint8_t(image[4])) | uint8_t(image[5]) << 8 | uint8_t(image[6]) << 16;
            const int64_t score = side * 64 + bitCount;
            if (score > bestScore) {
                bestScore = score;
                bestOffset = offset;
                bestSize = size;
            }
        }
        const std::string_view image = bytes.substr(bestOffset, bestSize);
        if (IsPng(image)) {
            bool hasAlpha = false;
            DecodePng(image, decoded, hasAlpha);
        } else {
            ReadIconDib(image, decoded);
        }
    } catch (const EReadError&) {
        throw EInvalidGraphic("不正なアイコンです: データが足りません");
    }
    Take(bytes, decoded, true);
}

std::unique_ptr<TGraphic> TMetafile::Clone() const
{
    auto copy = std::make_unique<TMetafile>();
    copy->bytes_ = bytes_;
    copy->width_ = width_;
    copy->height_ = height_;
    copy->enhanced_ = enhanced_;
    return copy;
}

void TMetafile::LoadFromBytes(std::string_view bytes)
{
    int32_t width = 0, height = 0;
    bool enhanced = false;
    try {
        TByteReader in(bytes);
        const uint32_t first = in.ReadU32();
        if (first == 1) {
            // Enhanced metafile: the header record with the frame in 0.01 mm.
            in.Skip(20);
            const int32_t frameLeft = in.ReadI32(), frameTop = in.ReadI32();
            const int32_t frameRight = in.ReadI32(), frameBottom = in.ReadI32();
            if (in.ReadU32() != 0x464D4520)
                throw EInvalidGraphic("不正なメタファイルです: 署名がありません");
            in.ReadU32();
            const uint32_t total = in.ReadU32();
            if (total < 88 || total > bytes.size())
                throw EInvalidGraphic("不正なメタファイルです: 大きさが不正です");
            width = MulDiv(frameRight - frameLeft, 96, 2540);
            height = MulDiv(frameBottom - frameTop, 96, 2540);
            enhanced = true;
        } else if (first == 0x9AC6CDD7) {
            // Placeable Windows metafile: bounding box in units of `inch`.
            in.ReadU16();
            const int16_t left = in.ReadI16(), top = in.ReadI16(), right = in.ReadI16(), bottom = in.ReadI16();
            const uint16_t inch = in.ReadU16();
            in.Skip(6);
            const uint16_t type = in.ReadU16();
            const uint16_t headerWords = in.ReadU16();
            in.ReadU16();
            const uint32_t words = in.ReadU32();
            if (inch == 0 || (type != 1 && type != 2) || headerWords != 9 || words < 9 ||
                uint64_t(words) * 2 > bytes.size() - 22)
                throw EInvalidGraphic("不正なメタファイルです: ヘッダーが不正です");
            width = MulDiv(right - left, 96, inch);
            height = MulDiv(bottom - top, 96, inch);
        } else {
            throw EInvalidGraphic("不正なメタファイルです: 形式が分かりません");
        }
    } catch (const EReadError&) {
        throw EInvalidGraphic("不正なメタファイルです: データが足りません");
    }
    if (width < 0)
        width = -width;
    if (height < 0)
        height = -height;
    CheckPictureSize(width, height, "メタファイル");
    bytes_.assign(bytes);
    width_ = width;
    height_ = height;
    enhanced_ = enhanced;
    Changed();
}

void TMetafile::ReadData(std::string_view data)
{
    TByteReader in(data);
    uint32_t size = 0;
    try {
        size = in.ReadU32();
    } catch (const EReadError&) {
        throw EInvalidGraphic("不正なメタファイルです: 長さがありません");
    }
    if (size < 4 || size - 4 > in.Remaining())
        throw EInvalidGraphic("不正なメタファイルです: 長さが不正です");
    LoadFromBytes(in.ReadBytes(size - 4));
}

void TMetafile::WriteData(std::string& out) const
{
    TByteWriter writer(out);
    writer.WriteU32(uint32_t(bytes_.size() + 4));
    writer.WriteBytes(bytes_);
}

void TMetafile::RenderTo24(TBitmap& target) const
{
    target.SetSize(width_, height_, TPixelFormat::pf24bit);
    std::memset(target.Bits(), 0xFF, target.ByteCount());
    PlayMetafile(target.Canvas(), bytes_, {0, 0, width_, height_});
}

void TMetafile::RenderMask(TBitmap& mask) const
{
    // Played once on white and once on black: where the two differ, the
    // background shows through.
    TBitmap onBlack;
    RenderTo24(mask);
    onBlack.SetSize(width_, height_, TPixelFormat::pf24bit);
    PlayMetafile(onBlack.Canvas(), bytes_, {0, 0, width_, height_});
    for (int32_t y = 0; y < height_; ++y) {
        uint8_t* row = mask.Row(y);
        const uint8_t* black = onBlack.Row(y);
        for (int32_t x = 0; x < width_; ++x) {
            const bool seeThrough = std::memcmp(row + 3 * x, black + 3 * x, 3) != 0;
            std::memset(row + 3 * x, seeThrough ? 0xFF : 0x00, 3);
        }
    }
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (!Empty())
        PlayMetafile(canvas, bytes_, rect);
}

}  // namespace orvella
