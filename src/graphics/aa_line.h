#pragma once
// Anti-aliased lines into 8-bit coverage masks. Each pixel near the line gets
// the share of a pixel-sized disc that lies inside a band around the line,
// from a precomputed profile indexed by perpendicular distance; the walk is
// Bresenham's with that distance carried along in 16.16 fixed point.

#include "graphics/bitmap.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orvella {

// 16.16 cosines of atan(j / 1024), j = 0..1024: the perpendicular distance of
// one cross-axis pixel for a slope of j / 1024.
const std::array<int32_t, 1025>& AACosineTable();

class TAALineRec {
public:
    using PixelSink = void (*)(void* data, TAALineRec& sender, int32_t x, int32_t y, int32_t value);

    TAALineRec();
    virtual ~TAALineRec() = default;

    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void SetPixelSink(PixelSink sink, void* data);

    // The coverage profile (64 entries and two zeros for the settings below),
    // built on first use.
    const std::vector<int32_t>& Profile();
    int32_t ProfileShift();
    int32_t Reach();

protected:
    long double halfWidth_ = 0.6L;  // r: half-width of the line band, pixels
    long double pixelRadius_ = 0.4L;  // w: radius of a pixel
    long double gain_ = 1.0L;

private:
    void buildProfile();
    void plot(int32_t x, int32_t y, int64_t distance);

    bool dirty_ = true;
    std::vector<int32_t> profile_;
    int32_t shift_ = 0;
    int32_t reach_ = 0;
    int32_t x_ = 0, y_ = 0;
    PixelSink sink_ = nullptr;
    void* sinkData_ = nullptr;
};

// Draws into an 8-bit bitmap; pixels outside it are dropped, and a pixel keeps
// the larger of its old and new coverage.
class TAALineAlphaMap : public TAALineRec {
public:
    void SetBitmap(TBitmap& bitmap);

private:
    static void storeMaximum(void* data, TAALineRec& sender, int32_t x, int32_t y, int32_t value);
    TBitmap* bitmap_ = nullptr;
};

}  // namespace orvella
