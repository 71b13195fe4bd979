#pragma once
// The failure of every picture reader and writer: a picture whose bytes do
// not make sense, or one this program cannot handle, raises EInvalidGraphic
// with a message that says which.

#include <stdexcept>
#include <string>

namespace orvella {

class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Pictures larger than this in either direction, or with more pixels in
// all, are refused before anything is allocated.
inline constexpr int32_t kMaxPictureSide = 32768;
inline constexpr int64_t kMaxPicturePixels = int64_t(1) << 28;
// GIF screens (palette pictures) are held to a quarter of that.
inline constexpr int64_t kMaxGifPixels = kMaxPicturePixels / 4;

// Raises EInvalidGraphic unless the size is positive and within the limits.
void CheckPictureSize(int64_t width, int64_t height, const char* what);

}  // namespace orvella
