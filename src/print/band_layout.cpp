#include "print/band_layout.h"

#include "platform/win_math.h"

namespace orvella {

TPoint DeviceOriginShift(TPoint physicalOffset, TPoint offset, int32_t printerPpi)
{
    return {-physicalOffset.x + MulDiv(offset.x, printerPpi, kPrintUnitsPerInch),
            -physicalOffset.y + MulDiv(offset.y, printerPpi, kPrintUnitsPerInch)};
}

std::vector<TBand> SplitIntoBands(const TRect& device, int32_t bandPpi, int32_t printerPpi)
{
    std::vector<TBand> bands;
    const int32_t deviceHeight = device.Bottom - device.Top;
    if (bandPpi <= 0 || printerPpi <= 0 || device.Right <= device.Left || deviceHeight <= 0)
        return bands;
    const int32_t width = MulDiv(device.Right - device.Left, bandPpi, printerPpi);
    const int32_t height = MulDiv(deviceHeight, bandPpi, printerPpi);
    if (width <= 0 || height <= 0)
        return bands;
    const int32_t rowsPerBand = kBandPixelBudget / width;
    // A band at least one row high, even for a region wider than the budget.
    const int32_t count = rowsPerBand < height ? (height + std::max(rowsPerBand, 1) - 1) / std::max(rowsPerBand, 1) : 1;
    for (int32_t j = 0; j < count; ++j) {
        TBand band;
        band.PixelWidth = width;
        band.PixelHeight = int32_t(int64_t(j + 1) * height / count - int64_t(j) * height / count);
        band.Device = {device.Left, device.Top + int32_t(int64_t(j) * deviceHeight / count), device.Right,
                       device.Top + int32_t(int64_t(j + 1) * deviceHeight / count)};
        bands.push_back(band);
    }
    return bands;
}

}  // namespace orvella
