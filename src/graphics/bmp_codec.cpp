#include "graphics/bmp_codec.h"

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/stream_format.h"
#include "graphics/bitmap_copy.h"
#include "graphics/picture_error.h"

#include <bit>
#include <cstring>

namespace orvella {

void CheckPictureSize(int64_t width, int64_t height, const char* what)
{
    if (width <= 0 || height <= 0)
        throw EInvalidGraphic(std::string(what) + ": the picture has no pixels");
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
        throw EInvalidGraphic(std::string(what) + ": the picture is too large");
}

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;
constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void Bad(const std::string& why) { throw EInvalidGraphic("不正なビットマップです: " + why); }

struct DibHeader {
    int64_t width = 0;
    int64_t height = 0;  // absolute
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t masks[4] = {0, 0, 0, 0};
    std::vector<TColor> palette;
    std::size_t headerEnd = 0;  // offset of the byte after header, masks and colour table
};

// A channel taken out of a packed pixel by its mask and widened to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Channel(uint32_t m) : mask(m)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    uint8_t Get(uint32_t pixel) const
    {
        if (max == 0)
            return 0;
        return uint8_t((uint64_t((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

// Reads the info header at the reader's position (the DIB's first byte is
// position 0 of `dib`). heightDivisor is 2 for icon images.
DibHeader ReadDibHeader(std::string_view dib, int heightDivisor)
{
    TByteReader in(dib);
    DibHeader h;
    if (in.Remaining() < 4)
        Bad("ヘッダーが足りません");
    const uint32_t headerSize = in.ReadU32();
    if (headerSize != 12 && (headerSize < 40 || headerSize > 124) && headerSize != 64)
        Bad("ヘッダーの大きさが不正です");
    if (headerSize > dib.size())
        Bad("ヘッダーが足りません");
    int64_t rawHeight = 0;
    uint32_t colorsUsed = 0;
    bool core = headerSize == 12;
    if (core) {
        h.width = in.ReadU16();
        rawHeight = in.ReadU16();
        in.ReadU16();  // planes
        h.bitCount = in.ReadU16();
    } else {
        h.width = in.ReadI32();
        rawHeight = in.ReadI32();
        in.ReadU16();
        h.bitCount = in.ReadU16();
        h.compression = in.ReadU32();
        in.Skip(12);  // image size and resolution: recomputed, never trusted
        colorsUsed = in.ReadU32();
        in.ReadU32();
        if (headerSize >= 52)
            for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i)
                h.masks[i] = in.ReadU32();
    }
    in = TByteReader(dib);
    in.Skip(headerSize);
    if (!core && headerSize == 40 && (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS)) {
        for (int i = 0; i < (h.compression == BI_ALPHABITFIELDS ? 4 : 3); ++i)
            h.masks[i] = in.ReadU32();
    }
    h.topDown = rawHeight < 0;
    h.height = (rawHeight < 0 ? -rawHeight : rawHeight) / heightDivisor;
    CheckPictureSize(h.width, h.height, "BMP");

    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Bad("色数が不正です");
    }
    switch (h.compression) {
    case BI_RGB: break;
    case BI_RLE8: if (h.bitCount != 8 || h.topDown) Bad("圧縮形式が不正です"); break;
    case BI_RLE4: if (h.bitCount != 4 || h.topDown) Bad("圧縮形式が不正です"); break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: if (h.bitCount != 16 && h.bitCount != 32) Bad("圧縮形式が不正です"); break;
    default: Bad("未対応の圧縮形式です");
    }

    if (h.bitCount <= 8) {
        const uint32_t full = 1u << h.bitCount;
        const uint32_t count = colorsUsed == 0 ? full : colorsUsed;
        if (count > full)
            Bad("パレットの色数が不正です");
        const std::size_t entrySize = core ? 3 : 4;
        if (in.Remaining() / entrySize < count)
            Bad("パレットが足りません");
        h.palette.resize(full, clBlack);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t b = in.ReadU8(), g = in.ReadU8(), r = in.ReadU8();
            if (!core)
                in.ReadU8();
            h.palette[i] = RGB(r, g, b);
        }
    } else if (colorsUsed != 0) {
        // An optional colour table in front of true-colour pixels is skipped.
        if (colorsUsed > in.Remaining() / 4)
            Bad("パレットが足りません");
        in.Skip(std::size_t(colorsUsed) * 4);
    }
    h.headerEnd = in.Position();
    return h;
}

void ReadRle(const DibHeader& h, std::string_view data, TBitmap& bitmap)
{
    TByteReader in(data);
    const int32_t width = int32_t(h.width), height = int32_t(h.height);
    int32_t x = 0, line = 0;  // line counts from the bottom
    const bool four = h.compression == BI_RLE4;
    auto put = [&](uint8_t index) {
        if (x < width && line < height)
            bitmap.Row(height - 1 - line)[x] = index;
        ++x;
    };
    while (in.Remaining() >= 2 && line < height) {
        const uint8_t count = in.ReadU8();
        const uint8_t value = in.ReadU8();
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++line;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            x += in.ReadU8();
            line += in.ReadU8();
        } else {
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            std::string_view run = in.ReadBytes(bytes);
            for (int i = 0; i < value; ++i) {
                const uint8_t b = uint8_t(run[four ? i / 2 : i]);
                put(four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            if (bytes & 1)
                in.Skip(std::min<std::size_t>(1, in.Remaining()));
        }
    }
}

void ReadPlain(const DibHeader& h, std::string_view data, TBitmap& bitmap)
{
    const int32_t width = int32_t(h.width), height = int32_t(h.height);
    const int64_t stride = ((int64_t(width) * h.bitCount + 31) / 32) * 4;
    if (int64_t(data.size()) / stride < height)
        Bad("画素データが足りません");
    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (h.compression == BI_RGB) {
        if (h.bitCount == 16) {
            masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
        } else if (h.bitCount == 32) {
            masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
        }
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const TPixelFormat format = bitmap.PixelFormat();
    for (int32_t y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const uint8_t*>(data.data()) + stride * y;
        uint8_t* dst = bitmap.Row(h.topDown ? y : height - 1 - y);
        switch (h.bitCount) {
        case 1: case 4:
            for (int32_t x = 0; x < width; ++x) {
                const int bit = x * h.bitCount;
                dst[x] = uint8_t((src[bit / 8] >> (8 - h.bitCount - bit % 8)) & ((1 << h.bitCount) - 1));
            }
            break;
        case 8: case 24:
            std::memcpy(dst, src, std::size_t(width) * (h.bitCount / 8));
            break;
        case 16: case 32:
            if (format == TPixelFormat::pf32bit) {
                std::memcpy(dst, src, std::size_t(width) * 4);
                break;
            }
            for (int32_t x = 0; x < width; ++x) {
                const uint32_t pixel = h.bitCount == 16 ? uint32_t(src[2 * x] | (src[2 * x + 1] << 8))
                                                        : uint32_t(src[4 * x]) | (uint32_t(src[4 * x + 1]) << 8) |
                                                              (uint32_t(src[4 * x + 2]) << 16) | (uint32_t(src[4 * x + 3]) << 24);
                dst[3 * x] = blue.Get(pixel);
                dst[3 * x + 1] = green.Get(pixel);
                dst[3 * x + 2] = red.Get(pixel);
            }
            break;
        }
    }
}

TPixelFormat TargetFormat(const DibHeader& h)
{
    if (h.bitCount <= 8)
        return TPixelFormat::pf8bit;
    if (h.bitCount == 32 && (h.compression == BI_RGB ||
                             (h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF)))
        return TPixelFormat::pf32bit;
    return TPixelFormat::pf24bit;
}

// pixelOffset: where the pixels start in `dib`, or 0 for "right after the
// colour table".
void DecodeDib(std::string_view dib, std::size_t pixelOffset, int heightDivisor, TBitmap& bitmap, DibHeader& header)
{
    try {
        header = ReadDibHeader(dib, heightDivisor);
    } catch (const EReadError&) {
        Bad("ヘッダーが足りません");
    }
    if (pixelOffset == 0)
        pixelOffset = header.headerEnd;
    if (pixelOffset > dib.size())
        Bad("画素データの位置が不正です");
    const std::string_view data = dib.substr(pixelOffset);
    TBitmap decoded(int32_t(header.width), int32_t(header.height), TargetFormat(header));
    if (header.bitCount <= 8)
        decoded.SetPalette(header.palette);
    if (header.compression == BI_RLE4 || header.compression == BI_RLE8) {
        try {
            ReadRle(header, data, decoded);
        } catch (const EReadError&) {
            Bad("圧縮データが途中で終わっています");
        }
    }
    else
        ReadPlain(header, data, decoded);
    CopyBitmap(decoded, bitmap);
}

}  // namespace

void ReadBmp(std::string_view bytes, TBitmap& bitmap)
{
    if (bytes.size() < kFileHeaderSize || bytes.substr(0, 2) != "BM")
        Bad("ファイルヘッダーがありません");
    TByteReader in(bytes);
    in.Skip(10);
    const uint32_t offBits = in.ReadU32();
    // A zero offset (as clipboard bitmaps get it) means "after the colour table".
    std::size_t pixelOffset = 0;
    if (offBits != 0) {
        if (offBits < kFileHeaderSize || offBits > bytes.size())
            Bad("画素データの位置が不正です");
        pixelOffset = offBits - kFileHeaderSize;
    }
    DibHeader header;
    DecodeDib(bytes.substr(kFileHeaderSize), pixelOffset, 1, bitmap, header);
}

void ReadDib(std::string_view bytes, TBitmap& bitmap)
{
    DibHeader header;
    DecodeDib(bytes, 0, 1, bitmap, header);
}

void ReadIconDib(std::string_view bytes, TBitmap& bitmap)
{
    DibHeader header;
    TBitmap colour;
    DecodeDib(bytes, 0, 2, colour, header);
    const int32_t width = colour.Width(), height = colour.Height();
    bitmap.SetSize(width, height, TPixelFormat::pf32bit);
    bool anyAlpha = false;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t pixel = ReadPixel(colour.Row(y), x, colour.PixelFormat());
            const TColor c = colour.PixelToColor(pixel);
            uint8_t* p = bitmap.Row(y) + 4 * x;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            p[3] = colour.PixelFormat() == TPixelFormat::pf32bit ? uint8_t(pixel >> 24) : 255;
            anyAlpha = anyAlpha || p[3] != 0;
        }
    }
    if (header.bitCount == 32 && !anyAlpha)
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                bitmap.Row(y)[4 * x + 3] = 255;
    // The AND mask follows the colour pixels; a missing one leaves the icon opaque.
    const int64_t colourStride = ((int64_t(width) * header.bitCount + 31) / 32) * 4;
    const int64_t maskStride = ((int64_t(width) + 31) / 32) * 4;
    const uint64_t maskOffset = header.headerEnd + uint64_t(colourStride) * height;
    if (header.compression != BI_RGB || maskOffset + uint64_t(maskStride) * height > bytes.size())
        return;
    for (int32_t y = 0; y < height; ++y) {
        const auto* mask = reinterpret_cast<const uint8_t*>(bytes.data()) + maskOffset + maskStride * y;
        uint8_t* dst = bitmap.Row(header.topDown ? y : height - 1 - y);
        for (int32_t x = 0; x < width; ++x)
            if ((mask[x / 8] >> (7 - x % 8)) & 1)
                dst[4 * x + 3] = 0;
    }
}

std::string WriteBmp(const TBitmap& bitmap)
{
    const int bitCount = int(bitmap.PixelFormat());
    const bool indexed = bitmap.PixelFormat() == TPixelFormat::pf8bit;
    const std::vector<TColor> palette = indexed ? (bitmap.Palette().empty() ? GrayPalette() : bitmap.Palette())
                                                : std::vector<TColor>{};
    const uint32_t paletteBytes = uint32_t(palette.size() * 4);
    const uint32_t imageBytes = uint32_t(bitmap.Stride()) * uint32_t(bitmap.Height());
    const uint32_t offBits = uint32_t(kFileHeaderSize + 40 + paletteBytes);
    std::string out;
    out.reserve(offBits + imageBytes);
    TByteWriter w(out);
    w.WriteBytes("BM");
    w.WriteU32(offBits + imageBytes);
    w.WriteU32(0);
    w.WriteU32(offBits);
    w.WriteU32(40);
    w.WriteI32(bitmap.Width());
    w.WriteI32(bitmap.Height());
    w.WriteU16(1);
    w.WriteU16(uint16_t(bitCount));
    w.WriteU32(BI_RGB);
    w.WriteU32(imageBytes);
    w.WriteI32(0);
    w.WriteI32(0);
    w.WriteU32(indexed ? uint32_t(palette.size()) : 0);
    w.WriteU32(0);
    for (TColor c : palette) {
        w.WriteU8(GetBValue(c));
        w.WriteU8(GetGValue(c));
        w.WriteU8(GetRValue(c));
        w.WriteU8(0);
    }
    for (int32_t y = bitmap.Height() - 1; y >= 0; --y)
        w.WriteBytes({reinterpret_cast<const char*>(bitmap.Row(y)), std::size_t(bitmap.Stride())});
    return out;
}

}  // namespace orvella
