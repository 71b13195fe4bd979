#include "graphics/gif_codec.h"

#include "graphics/bitmap_copy.h"
#include "graphics/picture_error.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <gif_lib.h>

namespace orvella {

namespace {

struct MemorySource {
    std::string_view bytes;
    std::size_t position = 0;
};

int ReadFromMemory(GifFileType* file, GifByteType* buffer, int count)
{
    auto* source = static_cast<MemorySource*>(file->UserData);
    const std::size_t n = std::min<std::size_t>(std::size_t(std::max(count, 0)), source->bytes.size() - source->position);
    std::memcpy(buffer, source->bytes.data() + source->position, n);
    source->position += n;
    return int(n);
}

struct GifCloser {
    void operator()(GifFileType* file) const
    {
        int error = 0;
        DGifCloseFile(file, &error);
    }
};

// giflib has no text for some codes (and 0 after a cut-short file).
[[noreturn]] void Fail(int code)
{
    const char* text = GifErrorString(code);
    throw EInvalidGraphic(std::string("GIF: ") + (text ? text : "the file is damaged"));
}

}  // namespace

bool IsGif(std::string_view bytes) noexcept
{
    return bytes.size() >= 6 && (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a");
}

void DecodeGif(std::string_view bytes, TBitmap& bitmap, int& transparentIndex)
{
    MemorySource source{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadFromMemory, &error));
    if (!gif)
        Fail(error);
    transparentIndex = -1;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            Fail(gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            throw EInvalidGraphic("GIF: the file holds no image");
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                Fail(gif->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4 && (block[1] & 1))
                transparentIndex = block[4];
            while (block != nullptr)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    Fail(gif->Error);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            Fail(gif->Error);
        const GifImageDesc& desc = gif->Image;
        // A screen smaller than the image (some writers leave it 0) grows to hold it.
        const int64_t screenWidth = std::max<int64_t>(gif->SWidth, int64_t(desc.Left) + desc.Width);
        const int64_t screenHeight = std::max<int64_t>(gif->SHeight, int64_t(desc.Top) + desc.Height);
        CheckPictureSize(screenWidth, screenHeight, "GIF");
        CheckPictureSize(desc.Width, desc.Height, "GIF");
        // The screen is decoded at 8 bits and copied out at full colour; a
        // palette picture never needs the limit that photographs do, and a
        // hostile screen size would otherwise cost more than a gigabyte.
        if (screenWidth * screenHeight > kMaxGifPixels)
            throw EInvalidGraphic("GIF: the picture is too large");
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        if (map == nullptr)
            throw EInvalidGraphic("GIF: the image has no colour table");
        std::vector<TColor> palette(256, clBlack);
        for (int i = 0; i < map->ColorCount && i < 256; ++i)
            palette[i] = RGB(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        TBitmap decoded(int32_t(screenWidth), int32_t(screenHeight), TPixelFormat::pf8bit);
        decoded.SetPalette(palette);
        // The screen outside the image shows the background, or nothing when transparent.
        const uint8_t background = transparentIndex >= 0 ? uint8_t(transparentIndex) : uint8_t(gif->SBackGroundColor);
        std::memset(decoded.Bits(), background, decoded.ByteCount());
        std::vector<GifPixelType> line(std::size_t(desc.Width));
        auto readRow = [&](int row) {
            if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR)
                Fail(gif->Error);
            std::memcpy(decoded.Row(desc.Top + row) + desc.Left, line.data(), line.size());
        };
        if (desc.Interlace) {
            static constexpr int kStart[] = {0, 4, 2, 1};
            static constexpr int kStep[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = kStart[pass]; row < desc.Height; row += kStep[pass])
                    readRow(row);
        } else {
            for (int row = 0; row < desc.Height; ++row)
                readRow(row);
        }
        CopyBitmap(decoded, bitmap);
        return;
    }
}

}  // namespace orvella
