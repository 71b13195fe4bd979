#pragma once
// The compressed stream container of documents and compressed bitmaps: the
// 12 bytes "ZLIBCompress" and 0x1A, the uncompressed length (32-bit little
// endian), then a zlib stream of exactly that many bytes.

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvella {

class EZlibContainer : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kZlibContainerMarker{"ZLIBCompress\x1A", 13};

// True when the bytes start with the 13-byte marker.
bool IsZlibContainer(std::string_view bytes) noexcept;

// Packs data at zlib's best compression (or `level`).
std::string CompressToContainer(std::string_view data, int level = 9);

// Unpacks a container. The declared length is checked against what zlib can
// possibly produce from the bytes before anything is allocated, and the
// stream must inflate to exactly that length; anything else raises.
std::string DecompressContainer(std::string_view container);

}  // namespace orvella
