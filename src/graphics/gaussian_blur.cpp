#include "graphics/gaussian_blur.h"

#include "graphics/parallel_bands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

namespace orvella {

namespace {

// Deriche's fit of the Gaussian by two damped cosines: for x >= 0 (in units
// of sigma) g(x) ~ (a0 cos(w0 x) + a1 sin(w0 x)) e^(-b0 x)
//                + (c0 cos(w1 x) + c1 sin(w1 x)) e^(-b1 x).
constexpr double kA0 = 1.6803, kA1 = 3.735, kB0 = 1.783, kW0 = 0.6318;
constexpr double kC0 = -0.6803, kC1 = -0.2598, kB1 = 1.723, kW1 = 1.997;

// Beyond this the filter's poles come so close to 1 that even double
// precision loses the response; such a blur already spans any label bitmap.
constexpr double kLargestRadius = 1000;

// Up to this radius single precision holds the result within one level.
constexpr double kSinglePrecisionRadius = 50;

// Values of one step across all lanes; a fixed count lets the compiler
// vectorise the lane loops.
constexpr int kLanes = 64;
// Steps of padding before and after the data, holding the edge values.
constexpr int kPad = 4;

struct Recursive {
    std::array<double, 4> causal{};      // weights of x[n], x[n-1], x[n-2], x[n-3]
    std::array<double, 4> anticausal{};  // weights of x[n+1] .. x[n+4]
    std::array<double, 4> feedback{};    // d1 .. d4
    double causalSteady = 0;             // output per unit of a constant input
    double anticausalSteady = 0;
};

using Poly = std::array<std::complex<double>, 5>;

// p * (1 - z q), for polynomials in q.
Poly TimesFactor(const Poly& p, std::complex<double> z)
{
    Poly r{};
    for (int i = 0; i < 5; ++i) {
        r[std::size_t(i)] += p[std::size_t(i)];
        if (i + 1 < 5)
            r[std::size_t(i + 1)] -= z * p[std::size_t(i)];
    }
    return r;
}

// The causal and anti-causal recursions whose impulse responses are the fit
// above sampled at steps of 1/sigma, found from its four complex poles.
Recursive MakeRecursive(double radius)
{
    const double sigma = (std::min(radius, kLargestRadius) + 1) / std::sqrt(2 * std::log(255.0));
    const std::complex<double> i(0, 1);
    // a cos(wn) + b sin(wn) = Re((a - ib) e^(iwn)): a residue per pole pair.
    const std::array<std::complex<double>, 4> poles = {
        std::exp((-kB0 + i * kW0) / sigma), std::exp((-kB0 - i * kW0) / sigma),
        std::exp((-kB1 + i * kW1) / sigma), std::exp((-kB1 - i * kW1) / sigma)};
    const std::array<std::complex<double>, 4> residues = {(kA0 - i * kA1) / 2.0, (kA0 + i * kA1) / 2.0,
                                                          (kC0 - i * kC1) / 2.0, (kC0 + i * kC1) / 2.0};
    Poly denominator{1};
    for (const auto& z : poles)
        denominator = TimesFactor(denominator, z);
    Poly causal{}, anticausal{};
    for (std::size_t k = 0; k < 4; ++k) {
        Poly others{1};
        for (std::size_t j = 0; j < 4; ++j)
            if (j != k)
                others = TimesFactor(others, poles[j]);
        for (std::size_t n = 0; n < 4; ++n) {
            causal[n] += residues[k] * others[n];
            anticausal[n + 1] += residues[k] * poles[k] * others[n];
        }
    }
    Recursive r;
    double causalSum = 0, anticausalSum = 0, feedbackSum = 0;
    for (std::size_t n = 0; n < 4; ++n) {
        r.causal[n] = causal[n].real();
        r.anticausal[n] = anticausal[n + 1].real();
        r.feedback[n] = denominator[n + 1].real();
        causalSum += r.causal[n];
        anticausalSum += r.anticausal[n];
        feedbackSum += r.feedback[n];
    }
    // Scaled to a gain of exactly one, the 1 / (sigma sqrt(2 pi)) of the
    // continuous Gaussian corrected for sampling, so flat areas keep their level.
    const double gain = (causalSum + anticausalSum) / (1 + feedbackSum);
    for (std::size_t n = 0; n < 4; ++n) {
        r.causal[n] /= gain;
        r.anticausal[n] /= gain;
    }
    r.causalSteady = causalSum / gain / (1 + feedbackSum);
    r.anticausalSteady = anticausalSum / gain / (1 + feedbackSum);
    return r;
}

// One step of the forward recursion across all lanes; the pointers name
// different rows of the buffers, which lets the compiler vectorise.
template <class T>
inline void CausalStep(const T (&n)[4], const T (&d)[4], T* __restrict y, const T* __restrict x0,
                       const T* __restrict x1, const T* __restrict x2, const T* __restrict x3,
                       const T* __restrict y1, const T* __restrict y2, const T* __restrict y3,
                       const T* __restrict y4)
{
    for (int l = 0; l < kLanes; ++l)
        y[l] = n[0] * x0[l] + n[1] * x1[l] + n[2] * x2[l] + n[3] * x3[l] - d[0] * y1[l] - d[1] * y2[l] -
               d[2] * y3[l] - d[3] * y4[l];
}

template <class T>
inline void AnticausalStep(const T (&m)[4], const T (&d)[4], T* __restrict y, T* __restrict sum,
                           const T* __restrict x1, const T* __restrict x2, const T* __restrict x3,
                           const T* __restrict x4, const T* __restrict y1, const T* __restrict y2,
                           const T* __restrict y3, const T* __restrict y4)
{
    for (int l = 0; l < kLanes; ++l) {
        const T value = m[0] * x1[l] + m[1] * x2[l] + m[2] * x3[l] + m[3] * x4[l] - d[0] * y1[l] - d[1] * y2[l] -
                        d[2] * y3[l] - d[3] * y4[l];
        y[l] = value;
        sum[l] += value;
    }
}

// Filters `steps` values in each of kLanes lanes. input holds steps + 2 * kPad
// rows of kLanes values, the padding rows repeating the first and last step;
// the result replaces the data rows of forward (same layout as input).
template <class T>
inline void FilterLanesOf(const Recursive& f, const T* input, T* forward, T* backward, int32_t steps)
{
    const T n[4] = {T(f.causal[0]), T(f.causal[1]), T(f.causal[2]), T(f.causal[3])};
    const T m[4] = {T(f.anticausal[0]), T(f.anticausal[1]), T(f.anticausal[2]), T(f.anticausal[3])};
    const T d[4] = {T(f.feedback[0]), T(f.feedback[1]), T(f.feedback[2]), T(f.feedback[3])};
    auto at = [](auto* base, int32_t step) { return base + std::size_t(step + kPad) * kLanes; };

    for (int32_t s = -kPad; s < 0; ++s)
        for (int l = 0; l < kLanes; ++l)
            at(forward, s)[l] = at(input, s)[l] * T(f.causalSteady);
    for (int32_t s = 0; s < steps; ++s)
        CausalStep(n, d, at(forward, s), at(input, s), at(input, s - 1), at(input, s - 2), at(input, s - 3),
                   at(forward, s - 1), at(forward, s - 2), at(forward, s - 3), at(forward, s - 4));
    for (int32_t s = steps; s < steps + kPad; ++s)
        for (int l = 0; l < kLanes; ++l)
            at(backward, s)[l] = at(input, s)[l] * T(f.anticausalSteady);
    for (int32_t s = steps - 1; s >= 0; --s)
        AnticausalStep(m, d, at(backward, s), at(forward, s), at(input, s + 1), at(input, s + 2), at(input, s + 3),
                       at(input, s + 4), at(backward, s + 1), at(backward, s + 2), at(backward, s + 3),
                       at(backward, s + 4));
}

// Where the processor has them, wider vectors with fused multiply-add are
// picked at load time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVELLA_VECTOR_CLONES __attribute__((target_clones("arch=haswell", "default")))
#else
#define ORVELLA_VECTOR_CLONES
#endif

ORVELLA_VECTOR_CLONES void FilterLanes(const Recursive& f, const float* input, float* forward, float* backward,
                                       int32_t steps)
{
    FilterLanesOf(f, input, forward, backward, steps);
}

ORVELLA_VECTOR_CLONES void FilterLanes(const Recursive& f, const double* input, double* forward, double* backward,
                                       int32_t steps)
{
    FilterLanesOf(f, input, forward, backward, steps);
}

template <class T>
uint8_t ToByte(T value)
{
    return uint8_t(std::clamp(value, T(0), T(255)) + T(0.5));
}

// Buffers of one band: input, forward and backward, each kLanes wide.
template <class T>
struct LaneBuffers {
    explicit LaneBuffers(int32_t steps)
        : size(std::size_t(steps + 2 * kPad) * kLanes), input(size), forward(size), backward(size)
    {
    }
    T* Input(int32_t step) { return input.data() + std::size_t(step + kPad) * kLanes; }
    const T* Result(int32_t step) const { return forward.data() + std::size_t(step + kPad) * kLanes; }
    void RepeatEdges(int32_t steps)
    {
        for (int32_t s = 1; s <= kPad; ++s) {
            std::copy_n(Input(0), kLanes, Input(-s));
            std::copy_n(Input(steps - 1), kLanes, Input(steps - 1 + s));
        }
    }
    void Filter(const Recursive& f, int32_t steps) { FilterLanes(f, input.data(), forward.data(), backward.data(), steps); }
    std::size_t size;
    std::vector<T> input, forward, backward;
};

// The region's rows, their addresses taken once on the calling thread (a
// surface over a shared image may copy it when first asked for a row).
struct Region {
    std::vector<uint8_t*> rows;  // each at the region's left edge
    int32_t width, height;
    int channels;
};

// Along rows: a band of rows becomes the lanes (row by channel), columns the steps.
template <class T>
void BlurRows(const Region& r, const Recursive& f)
{
    const int C = r.channels;
    const int32_t rowsPerBand = kLanes / C;
    const int32_t bands = (r.height + rowsPerBand - 1) / rowsPerBand;
    ForEachBand(bands, int64_t(rowsPerBand) * r.width * C * 8, [&](int32_t firstBand, int32_t lastBand) {
        LaneBuffers<T> buffers(r.width);
        std::vector<uint8_t*> rows(static_cast<std::size_t>(rowsPerBand));
        for (int32_t band = firstBand; band < lastBand; ++band) {
            const int32_t top = band * rowsPerBand;
            const int32_t count = std::min(rowsPerBand, r.height - top);
            for (int32_t k = 0; k < count; ++k)
                rows[std::size_t(k)] = r.rows[std::size_t(top + k)];
            for (int32_t x = 0; x < r.width; ++x) {
                T* lanes = buffers.Input(x);
                for (int32_t k = 0; k < count; ++k)
                    for (int c = 0; c < C; ++c)
                        lanes[k * C + c] = rows[std::size_t(k)][x * C + c];
            }
            buffers.RepeatEdges(r.width);
            buffers.Filter(f, r.width);
            for (int32_t x = 0; x < r.width; ++x) {
                const T* lanes = buffers.Result(x);
                for (int32_t k = 0; k < count; ++k)
                    for (int c = 0; c < C; ++c)
                        rows[std::size_t(k)][x * C + c] = ToByte(lanes[k * C + c]);
            }
        }
    });
}

// Along columns: a strip of kLanes bytes of every row, rows as the steps.
template <class T>
void BlurColumns(const Region& r, const Recursive& f)
{
    const int32_t rowBytes = r.width * r.channels;
    const int32_t strips = (rowBytes + kLanes - 1) / kLanes;
    const std::vector<uint8_t*>& rows = r.rows;
    ForEachBand(strips, int64_t(kLanes) * r.height * 8, [&](int32_t firstStrip, int32_t lastStrip) {
        LaneBuffers<T> buffers(r.height);
        for (int32_t strip = firstStrip; strip < lastStrip; ++strip) {
            const int32_t offset = strip * kLanes;
            const int32_t count = std::min(kLanes, rowBytes - offset);
            for (int32_t y = 0; y < r.height; ++y)
                std::copy_n(rows[std::size_t(y)] + offset, count, buffers.Input(y));
            buffers.RepeatEdges(r.height);
            buffers.Filter(f, r.height);
            for (int32_t y = 0; y < r.height; ++y) {
                const T* lanes = buffers.Result(y);
                uint8_t* out = rows[std::size_t(y)] + offset;
                for (int32_t l = 0; l < count; ++l)
                    out[l] = ToByte(lanes[l]);
            }
        }
    });
}

}  // namespace

void GaussianBlur(TPixelSurface& bitmap, const TRect& rect, double horizontalRadius, double verticalRadius)
{
    const bool alongRows = horizontalRadius >= 1;
    const bool alongColumns = verticalRadius >= 1;
    if (!alongRows && !alongColumns)
        return;
    int channels = 0;
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf8bit: channels = 1; break;
    case TPixelFormat::pf24bit: channels = 3; break;
    case TPixelFormat::pf32bit: channels = 4; break;
    }
    const int32_t left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
    const int32_t right = std::min(rect.Right, bitmap.Width()), bottom = std::min(rect.Bottom, bitmap.Height());
    if (channels == 0 || right <= left || bottom <= top)
        return;
    Region region{{}, right - left, bottom - top, channels};
    for (int32_t y = top; y < bottom; ++y)
        region.rows.push_back(bitmap.Row(y) + std::size_t(left) * std::size_t(channels));
    // Single precision is exact enough while the filter's poles stay well
    // inside the unit circle; larger radii bring them close to 1 and need double.
    const bool precise = std::max(alongRows ? horizontalRadius : 0, alongColumns ? verticalRadius : 0) > kSinglePrecisionRadius;
    if (alongRows) {
        const Recursive filter = MakeRecursive(horizontalRadius);
        precise ? BlurRows<double>(region, filter) : BlurRows<float>(region, filter);
    }
    if (alongColumns) {
        const Recursive filter = MakeRecursive(verticalRadius);
        precise ? BlurColumns<double>(region, filter) : BlurColumns<float>(region, filter);
    }
}

}  // namespace orvella
