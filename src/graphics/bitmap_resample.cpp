#include "graphics/bitmap_resample.h"

#include "graphics/parallel_bands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace orvella {

namespace {

// Interpolating filters reach at most two pixels beyond the rectangle.
constexpr int32_t kMargin = 2;

struct SourceRows {
    std::vector<const uint8_t*> rows;  // every row of the source bitmap
    int32_t width = 0;
    int channels = 0;
};

int ChannelCount(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf8bit:
        return 1;
    case TPixelFormat::pf24bit:
        return 3;
    case TPixelFormat::pf32bit:
        return 4;
    }
    return 0;
}

uint8_t ClampByte(int64_t value)
{
    return uint8_t(std::clamp<int64_t>(value, 0, 255));
}

// Position i of an axis of length `length` under the edge rule; `start` is
// the rectangle's first index and `limit` the bitmap's length on that axis.
int32_t EdgeIndex(int32_t i, int32_t start, int32_t length, int32_t limit, TResampleEdge edge)
{
    switch (edge) {
    case TResampleEdge::Extend:
        return std::clamp(start + i, 0, limit - 1);
    case TResampleEdge::Wrap: {
        const int32_t wrapped = i % length;
        return start + (wrapped < 0 ? wrapped + length : wrapped);
    }
    case TResampleEdge::Clamp:
        break;
    }
    return start + std::clamp(i, 0, length - 1);
}

// ---- area average ----------------------------------------------------------

// One destination sample of a shrinking axis covers source samples first..last
// (relative to the rectangle), the outer two with partial 16.16 weights.
struct AreaTap {
    int32_t first;
    int32_t last;
    int32_t firstWeight;
    int32_t lastWeight;  // 0 when the coverage ends exactly on a sample boundary
};

// The weights of a destination sample add up to `step` = S * 65536 / D;
// the sums are scaled back by D / S with many fractional bits, as a ratio
// of thousands would lose whole levels in 16 bits.
struct AreaAxis {
    std::vector<AreaTap> taps;
    int64_t rowScale = 0;     // D * 2^32 / S, for sums of bytes
    int64_t columnScale = 0;  // D * 2^28 / S, for sums of values * 256
};

AreaAxis MakeAreaAxis(int32_t sourceLength, int32_t destinationLength)
{
    AreaAxis axis;
    axis.taps.resize(std::size_t(destinationLength));
    const int64_t step = int64_t(sourceLength) * 65536 / destinationLength;
    axis.rowScale = (int64_t(destinationLength) << 32) / sourceLength;
    axis.columnScale = (int64_t(destinationLength) << 28) / sourceLength;
    for (int32_t i = 0; i < destinationLength; ++i) {
        const int64_t from = int64_t(i) * step;
        const int64_t to = from + step;
        AreaTap& tap = axis.taps[std::size_t(i)];
        tap.first = int32_t(from >> 16);
        tap.last = int32_t(to >> 16);
        tap.lastWeight = int32_t(to & 0xFFFF);
        tap.firstWeight = 65536 - int32_t(from & 0xFFFF);
        if (tap.lastWeight == 0) {
            --tap.last;  // nothing of sample `last` is covered
            tap.lastWeight = 65536;
        }
        if (tap.last == tap.first) {  // cannot happen when shrinking, kept for safety
            tap.firstWeight = int32_t(step);
            tap.lastWeight = 0;
        }
    }
    return axis;
}

// Horizontal area average of one source row into values * 256.
template <int C>
void AreaRow(const uint8_t* source, const AreaAxis& axis, int32_t* out)
{
    const int64_t scale = axis.rowScale;
    for (const AreaTap& tap : axis.taps) {
        for (int c = 0; c < C; ++c) {
            int64_t sum = int64_t(source[tap.first * C + c]) * tap.firstWeight;
            int32_t whole = 0;
            for (int32_t x = tap.first + 1; x < tap.last; ++x)
                whole += source[x * C + c];
            sum += int64_t(whole) << 16;
            if (tap.last > tap.first)
                sum += int64_t(source[tap.last * C + c]) * tap.lastWeight;
            // sum is about value * S * 2^16 / D; times scale, value * 2^48.
            out[c] = int32_t((sum * scale + (int64_t(1) << 39)) >> 40);
        }
        out += C;
    }
}

// ---- interpolation ---------------------------------------------------------

// Catmull-Rom weights in 1/256 for each fraction 0..255 of a pixel, rounded
// so that every set sums to 256 (a flat area stays flat).
struct CubicWeights {
    std::array<std::array<int16_t, 4>, 256> table{};
    CubicWeights()
    {
        for (int f = 0; f < 256; ++f) {
            const double t = f / 256.0;
            const double t2 = t * t, t3 = t2 * t;
            const int before = int(std::lround(256 * (-t3 + 2 * t2 - t) / 2));
            const int next = int(std::lround(256 * (-3 * t3 + 4 * t2 + t) / 2));
            const int after = int(std::lround(256 * (t3 - t2) / 2));
            table[std::size_t(f)] = {int16_t(before), int16_t(256 - before - next - after), int16_t(next),
                                     int16_t(after)};
        }
    }
};

const CubicWeights& Cubic()
{
    static const CubicWeights weights;
    return weights;
}

// One destination sample of a growing axis: `taps` weights (1/256) starting at
// source sample `first` (relative to the rectangle, may lie before it).
struct InterpTap {
    int32_t first;
    std::array<int16_t, 4> weights;
};

// Sample centres line up: destination sample i looks at source position
// (i + 0.5) * S / D - 0.5, kept in 16.16 fixed point.
std::vector<InterpTap> MakeInterpAxis(int32_t sourceLength, int32_t destinationLength, bool cubic)
{
    std::vector<InterpTap> taps(static_cast<std::size_t>(destinationLength));
    const int64_t step = (int64_t(sourceLength) << 16) / destinationLength;
    const int64_t start = step / 2 - 32768;
    for (int32_t i = 0; i < destinationLength; ++i) {
        // Rounded to the nearest 1/256 of a pixel (a fraction of 256 moves on
        // to the next pixel).
        const int64_t position = start + int64_t(i) * step + 128;
        const int32_t whole = int32_t(position >> 16);  // floor, also below zero
        const int fraction = int((position >> 8) & 0xFF);
        InterpTap& tap = taps[std::size_t(i)];
        if (cubic) {
            tap.first = whole - 1;
            tap.weights = Cubic().table[std::size_t(fraction)];
        } else {
            tap.first = whole;
            tap.weights = {int16_t(256 - fraction), int16_t(fraction), 0, 0};
        }
    }
    return taps;
}

// Horizontal interpolation of one row that carries kMargin pixels on both
// sides, into values * 256.
template <int C, int Taps>
void InterpRow(const uint8_t* withMargin, const std::vector<InterpTap>& axis, int32_t* out)
{
    const uint8_t* origin = withMargin + kMargin * C;
    for (const InterpTap& tap : axis) {
        const uint8_t* p = origin + tap.first * C;
        for (int c = 0; c < C; ++c) {
            int32_t sum = 0;
            for (int k = 0; k < Taps; ++k)
                sum += int32_t(p[k * C + c]) * tap.weights[std::size_t(k)];
            out[c] = sum;
        }
        out += C;
    }
}

// ---- the two-pass resampler -----------------------------------------------

struct Plan {
    const SourceRows* source;
    TRect rect;
    int32_t sourceHeight;  // of the whole bitmap
    TResampleEdge edge;
    bool cubic;
    int channels;
    int32_t width, height;                  // of the rectangle
    int32_t destinationWidth, destinationHeight;
    AreaAxis areaX, areaY;                  // when shrinking
    std::vector<InterpTap> interpX, interpY;  // when growing
    std::vector<int32_t> marginColumns;     // source columns of the margin row buffer
};

// Per thread: the horizontally resampled rows that the vertical pass combines,
// kept in four slots by row so that neighbouring destination rows share them.
class RowCache {
public:
    explicit RowCache(const Plan& plan)
        : plan_(plan),
          rowValues_(std::size_t(plan.destinationWidth) * std::size_t(plan.channels)),
          margin_(std::size_t(plan.width + 2 * kMargin) * std::size_t(plan.channels))
    {
        for (auto& slot : slots_)
            slot.assign(rowValues_, 0);
    }

    // Row y of the rectangle (beyond it by the edge rule), resampled to the
    // destination width as values * 256.
    const int32_t* Get(int32_t y)
    {
        const std::size_t slot = std::size_t(y + 4 * kMargin) % slots_.size();
        if (keys_[slot] != y) {
            Build(y, slots_[slot].data());
            keys_[slot] = y;
        }
        return slots_[slot].data();
    }

private:
    void Build(int32_t y, int32_t* out)
    {
        const Plan& p = plan_;
        const int32_t row = EdgeIndex(y, p.rect.Top, p.height, p.sourceHeight, p.edge);
        const uint8_t* source = p.source->rows[std::size_t(row)];
        const int C = p.channels;
        if (p.destinationWidth == p.width) {
            const uint8_t* from = source + std::size_t(p.rect.Left) * std::size_t(C);
            for (std::size_t i = 0; i < rowValues_; ++i)
                out[i] = int32_t(from[i]) << 8;
        } else if (p.destinationWidth < p.width) {
            const uint8_t* from = source + std::size_t(p.rect.Left) * std::size_t(C);
            switch (C) {
            case 1: AreaRow<1>(from, p.areaX, out); break;
            case 3: AreaRow<3>(from, p.areaX, out); break;
            default: AreaRow<4>(from, p.areaX, out); break;
            }
        } else {
            FillMargin(source);
            const bool cubic = p.cubic;
            switch (C) {
            case 1: cubic ? InterpRow<1, 4>(margin_.data(), p.interpX, out) : InterpRow<1, 2>(margin_.data(), p.interpX, out); break;
            case 3: cubic ? InterpRow<3, 4>(margin_.data(), p.interpX, out) : InterpRow<3, 2>(margin_.data(), p.interpX, out); break;
            default: cubic ? InterpRow<4, 4>(margin_.data(), p.interpX, out) : InterpRow<4, 2>(margin_.data(), p.interpX, out); break;
            }
        }
    }

    void FillMargin(const uint8_t* source)
    {
        const Plan& p = plan_;
        const std::size_t C = std::size_t(p.channels);
        uint8_t* to = margin_.data();
        std::memcpy(to + kMargin * C, source + std::size_t(p.rect.Left) * C, std::size_t(p.width) * C);
        for (int32_t m = 0; m < kMargin; ++m) {
            const int32_t before = p.marginColumns[std::size_t(m)];
            const int32_t after = p.marginColumns[std::size_t(kMargin + m)];
            std::memcpy(to + std::size_t(m) * C, source + std::size_t(before) * C, C);
            std::memcpy(to + std::size_t(kMargin + p.width + m) * C, source + std::size_t(after) * C, C);
        }
    }

    const Plan& plan_;
    std::size_t rowValues_;
    std::vector<uint8_t> margin_;
    std::array<std::vector<int32_t>, 4> slots_;
    std::array<int32_t, 4> keys_{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN};
};

void VerticalRows(const Plan& p, TBitmap& destination, int32_t firstRow, int32_t lastRow)
{
    RowCache cache(p);
    const std::size_t n = std::size_t(p.destinationWidth) * std::size_t(p.channels);
    std::vector<int64_t> sums(p.destinationHeight < p.height ? n : 0);
    for (int32_t j = firstRow; j < lastRow; ++j) {
        uint8_t* out = destination.Row(j);
        if (p.destinationHeight == p.height) {
            const int32_t* row = cache.Get(j);
            for (std::size_t i = 0; i < n; ++i)
                out[i] = ClampByte((int64_t(row[i]) + 128) >> 8);
        } else if (p.destinationHeight < p.height) {
            const AreaTap& tap = p.areaY.taps[std::size_t(j)];
            std::fill(sums.begin(), sums.end(), 0);
            for (int32_t y = tap.first; y <= tap.last; ++y) {
                const int64_t weight = y == tap.first ? tap.firstWeight : y == tap.last ? tap.lastWeight : 65536;
                if (weight == 0)
                    continue;
                const int32_t* row = cache.Get(y);
                for (std::size_t i = 0; i < n; ++i)
                    sums[i] += int64_t(row[i]) * weight;
            }
            // sums hold about value * 2^8 * S * 2^16 / D; times scale, value * 2^52.
            const int64_t scale = p.areaY.columnScale;
            for (std::size_t i = 0; i < n; ++i)
                out[i] = ClampByte((sums[i] * scale + (int64_t(1) << 51)) >> 52);
        } else {
            const InterpTap& tap = p.interpY[std::size_t(j)];
            const int taps = p.cubic ? 4 : 2;
            const int32_t* rows[4] = {};
            for (int k = 0; k < taps; ++k)
                rows[k] = cache.Get(tap.first + k);
            if (taps == 2) {
                const int32_t w0 = tap.weights[0], w1 = tap.weights[1];
                for (std::size_t i = 0; i < n; ++i)
                    out[i] = ClampByte((int64_t(rows[0][i]) * w0 + int64_t(rows[1][i]) * w1 + 32768) >> 16);
            } else {
                const int64_t w0 = tap.weights[0], w1 = tap.weights[1], w2 = tap.weights[2], w3 = tap.weights[3];
                for (std::size_t i = 0; i < n; ++i)
                    out[i] = ClampByte((rows[0][i] * w0 + rows[1][i] * w1 + rows[2][i] * w2 + rows[3][i] * w3 + 32768) >> 16);
            }
        }
    }
}

void ResampleFiltered(TBitmap& destination, const SourceRows& source, int32_t sourceHeight, const TRect& rect,
                      TResampleEdge edge, bool cubic)
{
    Plan p;
    p.source = &source;
    p.rect = rect;
    p.sourceHeight = sourceHeight;
    p.edge = edge;
    p.cubic = cubic;
    p.channels = source.channels;
    p.width = rect.Right - rect.Left;
    p.height = rect.Bottom - rect.Top;
    p.destinationWidth = destination.Width();
    p.destinationHeight = destination.Height();
    if (p.destinationWidth < p.width)
        p.areaX = MakeAreaAxis(p.width, p.destinationWidth);
    else if (p.destinationWidth > p.width)
        p.interpX = MakeInterpAxis(p.width, p.destinationWidth, cubic);
    if (p.destinationHeight < p.height)
        p.areaY = MakeAreaAxis(p.height, p.destinationHeight);
    else if (p.destinationHeight > p.height)
        p.interpY = MakeInterpAxis(p.height, p.destinationHeight, cubic);
    for (int32_t m = 0; m < kMargin; ++m) {
        p.marginColumns.push_back(EdgeIndex(m - kMargin, rect.Left, p.width, source.width, edge));
    }
    for (int32_t m = 0; m < kMargin; ++m)
        p.marginColumns.push_back(EdgeIndex(p.width + m, rect.Left, p.width, source.width, edge));

    // Work per destination row: the source rows it reads times the source width.
    const int64_t rowsPerRow = std::max<int64_t>(1, p.height / std::max(1, p.destinationHeight)) + 1;
    const int64_t cost = rowsPerRow * std::max(p.width, p.destinationWidth) * p.channels;
    ForEachBand(p.destinationHeight, cost,
                [&](int32_t first, int32_t last) { VerticalRows(p, destination, first, last); });
}

// ---- nearest neighbour ----------------------------------------------------

template <int C>
void NearestRow(const uint8_t* source, const std::vector<int32_t>& offsets, uint8_t* out)
{
    for (const int32_t offset : offsets) {
        std::memcpy(out, source + offset, C);
        out += C;
    }
}

void ResampleNearest(TBitmap& destination, const SourceRows& source, const TRect& rect)
{
    const int C = source.channels;
    const uint64_t width = uint64_t(rect.Right - rect.Left), height = uint64_t(rect.Bottom - rect.Top);
    const uint64_t destinationWidth = uint64_t(destination.Width());
    const uint64_t destinationHeight = uint64_t(destination.Height());
    std::vector<int32_t> offsets(destinationWidth);
    for (uint64_t k = 0; k < destinationWidth; ++k)
        offsets[k] = int32_t((uint64_t(rect.Left) + (k * width + width / 2) / destinationWidth) * uint64_t(C));
    auto sourceRow = [&](uint64_t j) { return int32_t(uint64_t(rect.Top) + (j * height + height / 2) / destinationHeight); };
    const std::size_t rowBytes = std::size_t(destinationWidth) * std::size_t(C);
    ForEachBand(int32_t(destinationHeight), int64_t(rowBytes), [&](int32_t first, int32_t last) {
        for (int32_t j = first; j < last; ++j) {
            const int32_t row = sourceRow(uint64_t(j));
            uint8_t* out = destination.Row(j);
            if (j > first && row == sourceRow(uint64_t(j - 1))) {
                std::memcpy(out, destination.Row(j - 1), rowBytes);
                continue;
            }
            const uint8_t* from = source.rows[std::size_t(row)];
            switch (C) {
            case 1: NearestRow<1>(from, offsets, out); break;
            case 3: NearestRow<3>(from, offsets, out); break;
            default: NearestRow<4>(from, offsets, out); break;
            }
        }
    });
}

void Resample(TBitmap& destination, const SourceRows& source, int32_t sourceHeight, TPixelFormat format,
              const std::vector<TColor>& palette, const TRect& rect, TResampleEdge edge, TResampleQuality quality)
{
    if (destination.PixelFormat() != format)
        destination.SetSize(destination.Width(), destination.Height(), format);
    if (format == TPixelFormat::pf8bit)
        destination.SetPalette(palette);
    if (quality == TResampleQuality::Nearest)
        ResampleNearest(destination, source, rect);
    else
        ResampleFiltered(destination, source, sourceHeight, rect, edge, quality == TResampleQuality::Cubic);
}

bool Accepts(TPixelSurface& source, const TBitmap& destination, const TRect& rect)
{
    return ChannelCount(source.PixelFormat()) != 0 && source.Width() > 0 && source.Height() > 0 &&
           destination.Width() > 0 && destination.Height() > 0 && !rect.IsEmpty() && rect.Left >= 0 &&
           rect.Top >= 0 && rect.Right <= source.Width() && rect.Bottom <= source.Height();
}

}  // namespace

void ResampleBitmap(TBitmap& destination, TPixelSurface& source, const TRect& sourceRect, TResampleEdge edge,
                    TResampleQuality quality)
{
    if (!Accepts(source, destination, sourceRect))
        return;
    if (&source == static_cast<TPixelSurface*>(&destination)) {
        // Writing would overwrite what is still to be read: work from a copy.
        TBitmap copy(destination.Width(), destination.Height(), destination.PixelFormat());
        copy.SetPalette(destination.Palette());
        std::memcpy(copy.Bits(), destination.Bits(), destination.ByteCount());
        ResampleBitmap(destination, copy, sourceRect, edge, quality);
        return;
    }
    SourceRows rows;
    rows.width = source.Width();
    rows.channels = ChannelCount(source.PixelFormat());
    rows.rows.resize(std::size_t(source.Height()));
    for (int32_t y = 0; y < source.Height(); ++y)
        rows.rows[std::size_t(y)] = source.Row(y);
    Resample(destination, rows, source.Height(), source.PixelFormat(), source.Palette(), sourceRect, edge, quality);
}

void ResampleBitmap(TBitmap& destination, const TBitmap& source, const TRect& sourceRect, TResampleEdge edge,
                    TResampleQuality quality)
{
    // Rows are only read; the surface interface just lacks a const accessor.
    ResampleBitmap(destination, static_cast<TPixelSurface&>(const_cast<TBitmap&>(source)), sourceRect, edge, quality);
}

void ResampleWhole(TBitmap& destination, const TBitmap& source, TResampleQuality quality)
{
    ResampleBitmap(destination, source, TRect{0, 0, source.Width(), source.Height()}, TResampleEdge::Clamp, quality);
}

}  // namespace orvella
