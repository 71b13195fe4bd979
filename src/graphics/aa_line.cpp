#include "graphics/aa_line.h"

#include "platform/win_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace orvella {

namespace {

// Share of a disc of radius w, centre at signed distance x from a straight
// edge, that lies beyond the edge.
long double discBeyondEdge(long double x, long double w)
{
    if (x >= w)
        return 0;
    if (x <= -w)
        return 1;
    const long double pi = 3.14159265358979323846264338327950288L;
    return 0.5L - x * std::sqrt(w * w - x * x) / (pi * w * w) - std::asin(x / w) / pi;
}

}  // namespace

const std::array<int32_t, 1025>& AACosineTable()
{
    static const std::array<int32_t, 1025> table = [] {
        std::array<int32_t, 1025> values{};
        for (int j = 0; j <= 1024; ++j) {
            const long double slope = j / 1024.0L;
            values[std::size_t(j)] = Round(65536.0L / std::sqrt(1.0L + slope * slope));
        }
        return values;
    }();
    return table;
}

TAALineRec::TAALineRec() = default;

void TAALineRec::MoveTo(int32_t x, int32_t y)
{
    x_ = x;
    y_ = y;
}

void TAALineRec::SetPixelSink(PixelSink sink, void* data)
{
    sink_ = sink;
    sinkData_ = data;
}

const std::vector<int32_t>& TAALineRec::Profile()
{
    buildProfile();
    return profile_;
}

int32_t TAALineRec::ProfileShift()
{
    buildProfile();
    return shift_;
}

int32_t TAALineRec::Reach()
{
    buildProfile();
    return reach_;
}

void TAALineRec::buildProfile()
{
    if (!dirty_)
        return;
    const long double r = halfWidth_;
    const long double w = pixelRadius_;
    const long double reach = r + w;
    shift_ = Trunc(std::log2(reach)) - 7 + 17;
    if (shift_ < 0 || shift_ > 24)
        throw std::invalid_argument("anti-aliased line reach out of range");
    reach_ = Trunc(reach * 65536 + 0.5L);
    reach_ &= ~((int32_t(1) << shift_) - 1);
    const int32_t count = reach_ >> shift_;
    profile_.assign(std::size_t(count) + 2, 0);
    for (int32_t k = 0; k < count; ++k) {
        const long double d = k * reach / count;
        long double inside = 0;
        if (w > r && d < std::min(w - r, r))
            inside = 1 - discBeyondEdge(r - d, w) - discBeyondEdge(r + d, w);
        else if (w > r && d < w - r)
            inside = discBeyondEdge(d - r, w) - discBeyondEdge(d + r, w);
        else if (d < r - w)
            inside = 1;
        else if (d < r)
            inside = 1 - discBeyondEdge(r - d, w);
        else if (d < r + w)
            inside = discBeyondEdge(d - r, w);
        const int32_t value = Trunc(inside * 255 + 0.5L);
        profile_[std::size_t(k)] = std::clamp(Round(value * gain_), 0, 255);
    }
    dirty_ = false;
}

void TAALineRec::plot(int32_t x, int32_t y, int64_t distance)
{
    const std::size_t index = std::min<std::size_t>(std::size_t(distance >> shift_), profile_.size() - 1);
    sink_(sinkData_, *this, x, y, profile_[index]);
}

void TAALineRec::LineTo(int32_t x, int32_t y)
{
    int32_t x0 = x_, y0 = y_, x1 = x, y1 = y;
    x_ = x;
    y_ = y;
    if (!sink_)
        return;
    buildProfile();
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int64_t dx = int64_t(x1) - x0;
    const int64_t dy = int64_t(y1) - y0;
    const bool xMain = std::llabs(dy) <= dx;
    const int64_t major = xMain ? dx : std::llabs(dy);
    const int64_t minor = xMain ? std::llabs(dy) : dx;
    const int32_t crossStep = xMain ? (dy < 0 ? -1 : 1) : 1;
    const int32_t mainStep = xMain ? 1 : (dy < 0 ? -1 : 1);
    // Unit steps: along the main axis (square) and the cross axis (side).
    const int32_t squareX = xMain ? mainStep : 0, squareY = xMain ? 0 : mainStep;
    const int32_t sideX = xMain ? 0 : crossStep, sideY = xMain ? crossStep : 0;

    if (major == 0) {
        sink_(sinkData_, *this, x0, y0, profile_[0]);
        return;
    }
    const int64_t slope = (minor * 65536) / major;
    const int64_t c = AACosineTable()[std::size_t(slope >> 6)];
    const int64_t drift = (slope * c + 32768) >> 16;
    int64_t distance = 0;
    int64_t error = 2 * minor - major;
    int32_t px = x0, py = y0;
    for (int64_t i = 0; i <= major; ++i) {
        plot(px, py, std::llabs(distance));
        for (int32_t k = 1; k * c - distance < reach_; ++k)
            plot(px + k * sideX, py + k * sideY, k * c - distance);
        for (int32_t k = 1; k * c + distance < reach_; ++k)
            plot(px - k * sideX, py - k * sideY, k * c + distance);
        if (error < 0) {
            distance += drift;
            error += 2 * minor;
            px += squareX;
            py += squareY;
        } else {
            distance += drift - c;
            error += 2 * (minor - major);
            px += squareX + sideX;
            py += squareY + sideY;
        }
    }
}

void TAALineAlphaMap::SetBitmap(TBitmap& bitmap)
{
    if (bitmap.PixelFormat() != TPixelFormat::pf8bit)
        throw std::invalid_argument("anti-aliased lines need an 8-bit bitmap");
    bitmap_ = &bitmap;
    SetPixelSink(&TAALineAlphaMap::storeMaximum, this);
}

void TAALineAlphaMap::storeMaximum(void* data, TAALineRec&, int32_t x, int32_t y, int32_t value)
{
    TBitmap* bitmap = static_cast<TAALineAlphaMap*>(data)->bitmap_;
    if (x < 0 || y < 0 || x >= bitmap->Width() || y >= bitmap->Height())
        return;
    uint8_t& pixel = bitmap->Row(y)[x];
    if (value > pixel)
        pixel = uint8_t(value);
}

}  // namespace orvella
