#include "print/band_layout.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

struct BandCase {
    const char* name;
    TRect device;
    int32_t bandPpi;
    int32_t printerPpi;
    std::vector<int32_t> rows;  // pixel rows of each band
};

class BandSplit : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandSplit, StaysWithinTheBudgetAndCoversTheRectangle)
{
    const BandCase& c = GetParam();
    const std::vector<TBand> bands = SplitIntoBands(c.device, c.bandPpi, c.printerPpi);
    ASSERT_EQ(bands.size(), c.rows.size()) << c.name;
    int32_t top = c.device.Top;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].PixelHeight, c.rows[i]) << c.name << " band " << i;
        EXPECT_LE(int64_t(bands[i].PixelWidth) * bands[i].PixelHeight, kBandPixelBudget) << c.name;
        EXPECT_EQ(bands[i].Device.Top, top) << c.name;
        EXPECT_EQ(bands[i].Device.Left, c.device.Left);
        EXPECT_EQ(bands[i].Device.Right, c.device.Right);
        top = bands[i].Device.Bottom;
    }
    if (!bands.empty()) {
        EXPECT_EQ(top, c.device.Bottom) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BandSplit, ::testing::Values(
    // 5,242,880 div 1200 = 4369 rows per band.
    BandCase{"one band", {0, 0, 1200, 1300}, 600, 600, {1300}},
    BandCase{"two bands", {100, 50, 1300, 5050}, 600, 600, {2500, 2500}},
    BandCase{"uneven thirds", {0, 0, 1200, 10000}, 600, 600, {3333, 3333, 3334}},
    // At 254 pixels per inch on a 600 dpi printer the band is smaller.
    BandCase{"band resolution", {0, 0, 2834, 11811}, 254, 600, {2500, 2500}},
    BandCase{"empty rectangle", {10, 10, 10, 500}, 600, 600, {}},
    BandCase{"no resolution", {0, 0, 100, 100}, 0, 600, {}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST(DeviceOriginShift, CompensatesThePhysicalOffsetAndMovesByTheUserOffset)
{
    // MulDiv(10, 600, 254) = 24 and MulDiv(-20, 600, 254) = -47, rounded.
    EXPECT_EQ(DeviceOriginShift({50, 60}, {10, -20}, 600), (TPoint{-26, -107}));
    EXPECT_EQ(DeviceOriginShift({0, 0}, {0, 0}, 360), (TPoint{0, 0}));
}

}  // namespace
}  // namespace orvella::test
