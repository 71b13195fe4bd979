#pragma once
// The gradient engine: a 1024-entry colour table looked up through a
// 128 x 128 map of table indices. Every gradient is computed at that size,
// in integer fixed-point steps, whatever the size it is shown at; the map is
// then stretched by the device, or resampled for printing.

#include "graphics/bitmap.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvella {

enum class TGradKind : uint8_t {
    rgkSimple,
    rgkBoxToRim,
    rgkBoxToCenter,
    rgkCircleToRim,
    rgkCircleToCenter,
    rgkConeClockwise,
    rgkConeCounterClockwise
};

constexpr int32_t kGradMapSize = 128;
constexpr int32_t kGradTableSize = 1024;

class TGradFill {
public:
    // colors: the stops in order (at least one); reverse runs the table from
    // its end.
    TGradFill(std::vector<TColor> colors, bool reverse);
    virtual ~TGradFill() = default;
    TGradFill(const TGradFill&) = delete;
    TGradFill& operator=(const TGradFill&) = delete;

    virtual void BuildColorTable();
    virtual void BuildIndexMap() = 0;

    // Builds the map and the table and paints the 128 x 128 result into
    // target (resized to 24 bits). Draws nothing when there are no stops.
    void Render(TBitmap& target);

    const std::array<TColor, kGradTableSize>& ColorTable() const { return table_; }
    // Row-major, kGradMapSize x kGradMapSize indices into the table.
    const std::vector<uint16_t>& IndexMap() const { return map_; }

protected:
    std::vector<TColor> colors_;
    bool reverse_;
    std::array<TColor, kGradTableSize> table_{};
    std::vector<uint16_t> map_ = std::vector<uint16_t>(std::size_t(kGradMapSize) * kGradMapSize);
};

// Linear, in the direction of angle (degrees, counter-clockwise from the
// right; 270 runs left to right).
class TGradFillAngled : public TGradFill {
public:
    TGradFillAngled(std::vector<TColor> colors, bool reverse, int32_t angle);
    void BuildIndexMap() override;

protected:
    long double angle_;  // normalised into [0, 360]
};

// Square rings about the centre, the square turned by the angle.
class TGradFillDiamond : public TGradFillAngled {
public:
    using TGradFillAngled::TGradFillAngled;
    void BuildIndexMap() override;
};

// Circles about the centre; the corners reach the last entry.
class TGradFillCircle : public TGradFill {
public:
    using TGradFill::TGradFill;
    void BuildIndexMap() override;
};

// Round the centre, with the seam turned by the angle; the colours return to
// the first stop.
class TGradFillCone : public TGradFill {
public:
    TGradFillCone(std::vector<TColor> colors, bool reverse, int32_t angle);
    void BuildColorTable() override;
    void BuildIndexMap() override;

private:
    long double angle_;
};

// The renderer for a gradient kind, with the reversal that kind implies.
std::unique_ptr<TGradFill> CreateGradFill(TGradKind kind, int32_t angle, std::vector<TColor> colors);

// Adds or subtracts 360 until the angle lies in [0, 360].
long double NormalizeGradAngle(long double degrees);

}  // namespace orvella
