#pragma once
// The arithmetic of banded page output: where the device origin lies and
// how a device rectangle splits into bands that each fit the pixel budget.

#include "graphics/graphics_types.h"

#include <cstdint>
#include <vector>

namespace orvella {

// About 15 MB of 24-bit pixels per band, whatever the face's size.
inline constexpr int32_t kBandPixelBudget = 5242880;
// Logical units (0.1 mm) per inch.
inline constexpr int32_t kPrintUnitsPerInch = 254;

struct TBand {
    int32_t PixelWidth = 0;
    int32_t PixelHeight = 0;
    TRect Device;  // printer device pixels
};

// The shift that puts logical (0, 0) on the sheet's physical corner, moved
// by offset (0.1 mm).
TPoint DeviceOriginShift(TPoint physicalOffset, TPoint offset, int32_t printerPpi);

// Bands of the device rectangle rendered at bandPpi on a printer of
// printerPpi pixels per inch. Empty for an empty rectangle or a resolution
// that is not positive.
std::vector<TBand> SplitIntoBands(const TRect& device, int32_t bandPpi, int32_t printerPpi);

}  // namespace orvella
