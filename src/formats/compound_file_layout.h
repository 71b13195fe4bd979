#pragma once
// Numbers of the compound file format shared by its reader and writer.

#include <cstdint>

namespace orvella::cfb {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kFatSector = 0xFFFFFFFD;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr uint32_t kMiniSectorSize = 64;
constexpr uint32_t kDirectoryEntrySize = 128;
constexpr uint32_t kHeaderDifatEntries = 109;

}  // namespace orvella::cfb
