#include "graphics/grad_fill.h"

#include "platform/win_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvella {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr int32_t kQuarterTurn = 6434;   // pi/2 * 4096, rounded
constexpr int32_t kHalfTurn = 12868;     // pi * 4096
constexpr int32_t kThreeQuarters = 19302;
constexpr int32_t kFullTurn = 25736;
constexpr int32_t kCornerDistance = 367831;  // the corner pixel's distance * 4096

// Rounds to nearest with ties to even, as the tables were computed.
int32_t roundEven(long double value) { return int32_t(std::nearbyint(value)); }

// Distance from the centre and angle from the downward axis, both scaled by
// 4096, for every pixel. Computed for one octant of the top-left quadrant and
// mirrored, so that the eight mirror images agree to the last unit.
struct TPolarTables {
    std::vector<int32_t> distance = std::vector<int32_t>(std::size_t(kGradMapSize) * kGradMapSize);
    std::vector<int32_t> angle = std::vector<int32_t>(std::size_t(kGradMapSize) * kGradMapSize);

    TPolarTables()
    {
        const auto set = [this](int32_t column, int32_t row, int32_t d, int32_t phi) {
            const std::size_t at = std::size_t(row) * kGradMapSize + std::size_t(column);
            distance[at] = d;
            angle[at] = phi;
        };
        constexpr int32_t last = kGradMapSize - 1;
        for (int32_t l = 0; l < kGradMapSize / 2; ++l) {
            for (int32_t j = 0; j <= l; ++j) {
                const long double dx = l - 63.5L;
                const long double dy = j - 63.5L;
                const int32_t d = roundEven(std::sqrt(dx * dx + dy * dy) * 4096);
                const int32_t phi = roundEven(std::atan2(dx, dy) * 4096);
                set(l, j, d, phi);
                set(j, last - l, d, phi + kQuarterTurn);
                set(last - l, last - j, d, phi + kHalfTurn);
                set(last - j, l, d, phi + kThreeQuarters);
                if (j != l) {
                    set(j, l, d, -phi - kThreeQuarters);
                    set(l, last - j, d, -phi - kHalfTurn);
                    set(last - j, last - l, d, -phi - kQuarterTurn);
                    set(last - l, j, d, -phi);
                }
            }
        }
    }
};

const TPolarTables& polarTables()
{
    static const TPolarTables tables;
    return tables;
}

// The fixed-point steps shared by the angled and box maps.
struct TAngleSteps {
    long double a = 0, b = 0;  // sin and cos of the turned angle, scaled
    int32_t e = 0, g = 0, h = 0, l = 0;

    explicit TAngleSteps(long double degrees)
    {
        const long double theta = (360 - degrees) * kPi / 180;
        const long double s = std::sin(theta);
        const long double c = std::cos(theta);
        const long double m = std::max(std::fabs(s), std::fabs(c));
        constexpr long double scale = 33554432.0L;  // 2^25
        a = s * m * scale;
        b = c * m * scale;
        e = int32_t(std::trunc(b));
        g = int32_t(std::trunc(a - scale));
        h = int32_t(std::trunc(2 * a / 127));
        l = int32_t(std::trunc(2 * b / 127));
    }

    int32_t along(int32_t x, int32_t y) const { return -e - g + y * l + x * h; }
};

uint8_t channel(TColor colour, int shift) { return uint8_t(colour >> shift); }

}  // namespace

long double NormalizeGradAngle(long double degrees)
{
    while (degrees < 0)
        degrees += 360;
    while (degrees > 360)
        degrees -= 360;
    return degrees;
}

TGradFill::TGradFill(std::vector<TColor> colors, bool reverse) : colors_(std::move(colors)), reverse_(reverse) {}

void TGradFill::BuildColorTable()
{
    const std::size_t count = colors_.size();
    if (count == 0)
        return;
    for (int32_t t = 0; t < kGradTableSize; ++t) {
        const int32_t p = reverse_ ? kGradTableSize - 1 - t : t;
        const long double x = (long double)(p) * (long double)(count - 1) / kGradTableSize;
        const std::size_t i = std::size_t(std::trunc(x));
        const long double f = x - (long double)(i);
        // p stays below the table size, so i + 1 is a stop whenever there are
        // two or more; a single stop makes the table uniform.
        const TColor from = colors_[i];
        const TColor to = colors_[std::min(i + 1, count - 1)];
        TColor entry = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int32_t low = channel(from, shift);
            const int32_t value = low + int32_t(std::trunc(f * (channel(to, shift) - low)));
            entry |= TColor(std::clamp(value, 0, 255)) << shift;
        }
        table_[std::size_t(t)] = entry;
    }
}

void TGradFill::Render(TBitmap& target)
{
    if (colors_.empty())
        return;
    BuildIndexMap();
    BuildColorTable();
    target.SetSize(kGradMapSize, kGradMapSize, TPixelFormat::pf24bit);
    for (int32_t y = 0; y < kGradMapSize; ++y) {
        uint8_t* row = target.Row(y);
        const uint16_t* indices = map_.data() + std::size_t(y) * kGradMapSize;
        for (int32_t x = 0; x < kGradMapSize; ++x) {
            const TColor colour = table_[indices[x]];
            row[3 * x] = channel(colour, 16);
            row[3 * x + 1] = channel(colour, 8);
            row[3 * x + 2] = channel(colour, 0);
        }
    }
}

TGradFillAngled::TGradFillAngled(std::vector<TColor> colors, bool reverse, int32_t angle)
    : TGradFill(std::move(colors), reverse), angle_(NormalizeGradAngle(angle))
{
}

void TGradFillAngled::BuildIndexMap()
{
    const TAngleSteps steps(angle_);
    for (int32_t y = 0; y < kGradMapSize; ++y)
        for (int32_t x = 0; x < kGradMapSize; ++x) {
            const int32_t u = steps.along(x, y);
            map_[std::size_t(y) * kGradMapSize + std::size_t(x)] = uint16_t(u < 0 ? 0 : std::min(1023, u / 65536));
        }
}

void TGradFillDiamond::BuildIndexMap()
{
    const TAngleSteps steps(angle_);
    const int32_t m = -int32_t(std::trunc(-steps.a));
    const int32_t o = int32_t(std::trunc(steps.b - 33554432.0L));
    const int32_t r = int32_t(std::trunc(2 * steps.b / 127));
    const int32_t t = int32_t(std::trunc(-2 * steps.a / 127));
    constexpr int64_t centre = int64_t(1) << 26;
    for (int32_t y = 0; y < kGradMapSize; ++y)
        for (int32_t x = 0; x < kGradMapSize; ++x) {
            const int64_t u = steps.along(x, y);
            const int64_t v = int64_t(m) - o + int64_t(y) * t + int64_t(x) * r;
            const int64_t d = std::max(std::llabs(2 * v - centre), std::llabs(2 * u - centre));
            map_[std::size_t(y) * kGradMapSize + std::size_t(x)] = uint16_t(std::min<int64_t>(1023, d / 65536));
        }
}

void TGradFillCircle::BuildIndexMap()
{
    const std::vector<int32_t>& distances = polarTables().distance;
    for (std::size_t at = 0; at < map_.size(); ++at) {
        const int32_t d = distances[at];
        int32_t index = 1023;
        if (d <= 0)
            index = 0;
        else if (d < kCornerDistance)
            index = std::min(1023, MulDiv(d, kGradTableSize, kCornerDistance));
        map_[at] = uint16_t(index);
    }
}

TGradFillCone::TGradFillCone(std::vector<TColor> colors, bool reverse, int32_t angle)
    : TGradFill(std::move(colors), reverse), angle_(NormalizeGradAngle(angle))
{
}

void TGradFillCone::BuildColorTable()
{
    // The first stop again at the end, so that the colours run all the way
    // round and meet at the seam.
    if (colors_.empty())
        return;
    colors_.push_back(colors_.front());
    TGradFill::BuildColorTable();
    colors_.pop_back();
}

void TGradFillCone::BuildIndexMap()
{
    const int32_t turn = roundEven(angle_ * kPi / 180 * 4096);
    const std::vector<int32_t>& angles = polarTables().angle;
    for (std::size_t at = 0; at < map_.size(); ++at) {
        int32_t n = angles[at] + turn;
        while (n > kHalfTurn)
            n -= kFullTurn;
        while (n < -kHalfTurn)
            n += kFullTurn;
        int32_t index = 1023;
        if (n <= -kHalfTurn)
            index = 0;
        else if (n < kHalfTurn)
            index = std::min(1023, MulDiv(n + kHalfTurn, kGradTableSize, kFullTurn));
        map_[at] = uint16_t(index);
    }
}

std::unique_ptr<TGradFill> CreateGradFill(TGradKind kind, int32_t angle, std::vector<TColor> colors)
{
    switch (kind) {
    case TGradKind::rgkBoxToRim:
    case TGradKind::rgkBoxToCenter:
        return std::make_unique<TGradFillDiamond>(std::move(colors), kind == TGradKind::rgkBoxToRim, angle);
    case TGradKind::rgkCircleToRim:
    case TGradKind::rgkCircleToCenter:
        return std::make_unique<TGradFillCircle>(std::move(colors), kind == TGradKind::rgkCircleToRim);
    case TGradKind::rgkConeClockwise:
    case TGradKind::rgkConeCounterClockwise:
        return std::make_unique<TGradFillCone>(std::move(colors), kind == TGradKind::rgkConeClockwise, angle);
    case TGradKind::rgkSimple:
        break;
    }
    return std::make_unique<TGradFillAngled>(std::move(colors), false, angle);
}

}  // namespace orvella
