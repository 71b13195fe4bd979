#include "music/music_file_image.h"

#include "graphics/bitmap_copy.h"
#include "graphics/jpeg_codec.h"
#include "graphics/png_codec.h"
#include "music/byte_source.h"
#include "music/mp3_file_info.h"

namespace orvella {

std::unique_ptr<TGraphic> TMusicFileImage::Clone() const
{
    auto copy = std::make_unique<TMusicFileImage>(StoredClassName());
    copy->Assign(*this);
    return copy;
}

void TMusicFileImage::LoadFromBytes(std::string_view bytes)
{
    if (bytes.substr(0, 2) == "BM") {
        TSafetyBitmap::LoadFromBytes(bytes);
        return;
    }
    TBitmap cover;
    try {
        TMP3FileInfo info;
        TMemorySource source(bytes);
        info.ReadSource(source);
        if (info.PictureCount() > 0) {
            const std::string_view picture = bytes.substr(std::size_t(info.PictureOffset(0)));
            TBitmap decoded;
            if (info.PictureFormat(0) == "JPG") {
                DecodeJpeg(picture, decoded);
            } else {
                bool hasAlpha = false;
                DecodePng(picture, decoded, hasAlpha);
            }
            ConvertTo24(decoded, cover);
        }
    } catch (const std::exception&) {
        // Broken cover art shows as no picture.
        Assign(TBitmap());
        return;
    }
    Assign(cover);
}

void TMusicFileImage::ReadData(std::string_view data)
{
    LoadFromBytes(data.size() >= 4 ? data.substr(4) : std::string_view());
}

void RegisterMusicFileImages()
{
    RegisterGraphicClass("TMp3Image", [] { return std::make_unique<TMp3Image>(); });
    RegisterGraphicClass("TM4aImage", [] { return std::make_unique<TM4aImage>(); });
    RegisterPictureFormat({"MP3", "mp3 ArtWork Image File", [] { return std::make_unique<TMp3Image>(); }});
    RegisterPictureFormat({"M4A", "m4a ArtWork Image File", [] { return std::make_unique<TM4aImage>(); }});
    RegisterPictureFormat({"M4P", "m4p ArtWork Image File", [] { return std::make_unique<TM4aImage>(); }});
}

} // namespace orvella
