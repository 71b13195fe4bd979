#pragma once
// Colours as the stored formats keep them, 0x00BBGGRR, and the value that
// stands for "no colour". Shared by the byte formats and the drawing layer.

#include <cstdint>

namespace orvella {

using TColor = uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;

}  // namespace orvella
