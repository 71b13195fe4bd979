#pragma once
// The cover picture embedded in a music file as a bitmap graphic, so that
// the image browser and image objects can open MP3 and MPEG-4 audio files.
// A stored artwork reads back as the ordinary bitmap it is saved as.

#include "graphics/safety_bitmap.h"

namespace orvella {

class TMusicFileImage : public TSafetyBitmap {
public:
    explicit TMusicFileImage(std::string storedName)
        : TSafetyBitmap(std::move(storedName))
    {
    }

    std::unique_ptr<TGraphic> Clone() const override;
    // A bitmap file ("BM") loads as such; anything else is read as a music
    // file and its first picture (JPEG or PNG) becomes a 24-bit bitmap of
    // its size. No picture, or one that does not decode, leaves the bitmap
    // empty without an error.
    void LoadFromBytes(std::string_view bytes) override;
    // A 32-bit length, then the bytes as LoadFromBytes takes them.
    void ReadData(std::string_view data) override;
};

class TMp3Image : public TMusicFileImage {
public:
    TMp3Image()
        : TMusicFileImage("TMp3Image")
    {
    }
};

class TM4aImage : public TMusicFileImage {
public:
    TM4aImage()
        : TMusicFileImage("TM4aImage")
    {
    }
};

// Registers "mp3" as TMp3Image and "m4a" and "m4p" as TM4aImage.
void RegisterMusicFileImages();

} // namespace orvella
