#pragma once
// JPEG through libjpeg: the header walk that refuses what the program cannot
// show, decoding into a 24-bit bitmap and encoding one.

#include "graphics/bitmap.h"

#include <string>
#include <string_view>

namespace orvella {

struct TJpegHeader {
    int32_t Width = 0;
    int32_t Height = 0;
    int Components = 0;
};

// Walks the markers up to the first start-of-frame. Data that does not
// start with 0xFF 0xD8, has no frame, a frame without pixels or more than
// three components (CMYK) raises EInvalidGraphic "未対応のJPEG形式です".
TJpegHeader CheckJpegHeader(std::string_view bytes);

// Decodes (after CheckJpegHeader) into a 24-bit bitmap. Safe to call from
// any thread.
void DecodeJpeg(std::string_view bytes, TBitmap& bitmap);

// Encodes an 8, 24 or 32-bit bitmap at the given quality (1 to 100).
std::string EncodeJpeg(const TBitmap& bitmap, int quality = 90);

}  // namespace orvella
