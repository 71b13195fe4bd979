#include "graphics/gr_effector.h"

#include "graphics/bitmap_copy.h"
#include "platform/win_math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace orvella {

namespace {

bool IsEffectFormat(TPixelFormat format)
{
    return format == TPixelFormat::pf24bit || format == TPixelFormat::pf32bit;
}

// s / 9 rounded half up, for the nine-pixel sums of the box blur (at most
// 9 × 255); built once.
const std::array<uint8_t, 9 * 256>& BlurDivisorTable()
{
    static const auto table = [] {
        std::array<uint8_t, 9 * 256> t{};
        for (int s = 0; s < 9 * 256; ++s)
            t[s] = uint8_t(std::min(255, (2 * s + 9) / 18));
        return t;
    }();
    return table;
}

}  // namespace

void BoxBlurPass(const TBitmap& source, TBitmap& destination)
{
    const int32_t width = source.Width(), height = source.Height();
    const int bpp = BytesPerPixel(source.PixelFormat());
    if (destination.Width() != width || destination.Height() != height ||
        destination.PixelFormat() != source.PixelFormat())
        destination.SetSize(width, height, source.PixelFormat());
    if (width == 0 || height == 0)
        return;
    const auto& divide = BlurDivisorTable();
    // Horizontal three-sums of one row, edges replicated.
    auto horizontal = [&](int32_t y, std::vector<int>& sums) {
        const uint8_t* row = source.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* left = row + bpp * std::max(x - 1, 0);
            const uint8_t* mid = row + bpp * x;
            const uint8_t* right = row + bpp * std::min(x + 1, width - 1);
            for (int c = 0; c < 3; ++c)
                sums[3 * x + c] = left[c] + mid[c] + right[c];
        }
    };
    std::vector<int> previous(std::size_t(width) * 3), current(previous.size()), next(previous.size());
    horizontal(0, current);
    previous = current;
    for (int32_t y = 0; y < height; ++y) {
        if (y + 1 < height)
            horizontal(y + 1, next);
        else
            next = current;
        uint8_t* out = destination.Row(y);
        const uint8_t* in = source.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c)
                out[bpp * x + c] = divide[std::size_t(previous[3 * x + c] + current[3 * x + c] + next[3 * x + c])];
            if (bpp == 4)
                out[4 * x + 3] = in[4 * x + 3];
        }
        std::swap(previous, current);
        std::swap(current, next);
    }
}

void MonotoneTable(TColor tint, TColor table[256])
{
    const double r = GetRValue(tint) / 255.0, g = GetGValue(tint) / 255.0, b = GetBValue(tint) / 255.0;
    const double maxC = std::max({r, g, b}), minC = std::min({r, g, b});
    const double lightness = (maxC + minC) / 2;
    double hue = 0, saturation = 0;
    if (maxC != minC) {
        const double d = maxC - minC;
        saturation = lightness > 0.5 ? d / (2 - maxC - minC) : d / (maxC + minC);
        if (r == maxC)
            hue = (g - b) / d;
        else if (b == maxC && g != maxC)
            hue = 4 + (r - g) / d;
        else
            hue = 2 + (b - r) / d;
        hue *= 60;
        while (hue < 0)
            hue += 360;
        while (hue >= 360)
            hue -= 360;
    }
    for (int j = 0; j < 256; ++j) {
        const double l = j / 255.0;
        double red = l, green = l, blue = l;
        if (saturation != 0) {
            const double m2 = l > 0.5 ? l + saturation - l * saturation : l * (1 + saturation);
            const double m1 = 2 * l - m2;
            auto value = [&](double x) {
                while (x < 0)
                    x += 360;
                while (x >= 360)
                    x -= 360;
                if (x < 60)
                    return m1 + (m2 - m1) * x / 60;
                if (x < 180)
                    return m2;
                if (x < 240)
                    return m1 + (m2 - m1) * (240 - x) / 60;
                return m1;
            };
            red = value(hue + 120);
            green = value(hue);
            blue = value(hue - 120);
        }
        table[j] = RGB(uint8_t(red * 255), uint8_t(green * 255), uint8_t(blue * 255));
    }
}

void BrightnessContrastTable(int brightness, int contrast, uint8_t table[256])
{
    const double b = std::clamp(brightness / 100.0, -1.0, 1.0);
    const double c = std::clamp(contrast / 100.0, -1.0, 1.0);
    for (int j = 0; j < 256; ++j) {
        double v = j / 255.0 + b;
        if (c < 0)
            v = (v - 0.5) * (c + 1) + 0.5;
        else if (c < 1)
            v = (v - 0.5) / (1 - c) + 0.5;
        else
            v = v >= 0.5 ? 1 : 0;
        table[j] = uint8_t(std::clamp(std::trunc(v * 255 + 0.5), 0.0, 255.0));
    }
}

TGREffector::TGREffector(TBitmap& source, TBitmap& destination)
    : SourceRect{0, 0, source.Width(), source.Height()}, source_(source), destination_(destination)
{
}

const uint8_t* TGREffector::SourceRow(int32_t y) const
{
    return source_.Row(SourceRect.Top + y) + std::size_t(SourceRect.Left) * BytesPerPixel(source_.PixelFormat());
}

void TGREffector::Execute()
{
    if (!IsEffectFormat(source_.PixelFormat()) || &source_ == &destination_)
        return;
    SourceRect.Left = std::max(SourceRect.Left, 0);
    SourceRect.Top = std::max(SourceRect.Top, 0);
    SourceRect.Right = std::min(SourceRect.Right, source_.Width());
    SourceRect.Bottom = std::min(SourceRect.Bottom, source_.Height());
    if (SourceRect.IsEmpty())
        return;
    destination_.SetSize(Width(), Height(), source_.PixelFormat());
    if (Progress)
        Progress->Begin(StepCount(Height()));
    Run();
    if (Progress)
        Progress->End();
}

void TGREffector::ReportRow(int32_t y)
{
    if (Progress && (y + 1) % 64 == 0)
        Progress->Step();
}

void TGREffector::MapBytes(const uint8_t table[256])
{
    const int bpp = PixelBytes();
    for (int32_t y = 0; y < Height(); ++y) {
        const uint8_t* in = SourceRow(y);
        uint8_t* out = DestRow(y);
        for (int32_t x = 0; x < Width(); ++x) {
            for (int c = 0; c < 3; ++c)
                out[bpp * x + c] = table[in[bpp * x + c]];
            if (bpp == 4)
                out[4 * x + 3] = in[4 * x + 3];
        }
        ReportRow(y);
    }
}

TGREffectMonoTone::TGREffectMonoTone(TBitmap& source, TBitmap& destination, TColor tint)
    : TGREffector(source, destination), tint_(tint)
{
}

void TGREffectMonoTone::Run()
{
    TColor table[256];
    MonotoneTable(tint_, table);
    const int bpp = PixelBytes();
    for (int32_t y = 0; y < Height(); ++y) {
        const uint8_t* in = SourceRow(y);
        uint8_t* out = DestRow(y);
        for (int32_t x = 0; x < Width(); ++x) {
            const uint8_t* p = in + bpp * x;
            const TColor c = table[(29 * p[0] + 150 * p[1] + 77 * p[2]) >> 8];
            out[bpp * x] = GetBValue(c);
            out[bpp * x + 1] = GetGValue(c);
            out[bpp * x + 2] = GetRValue(c);
            if (bpp == 4)
                out[4 * x + 3] = p[3];
        }
        ReportRow(y);
    }
}

TGREffectBrightnessContrast::TGREffectBrightnessContrast(TBitmap& source, TBitmap& destination, int brightness,
                                                         int contrast)
    : TGREffector(source, destination), brightness_(brightness), contrast_(contrast)
{
}

void TGREffectBrightnessContrast::Run()
{
    uint8_t table[256];
    BrightnessContrastTable(brightness_, contrast_, table);
    MapBytes(table);
}

TGREffectBlur::TGREffectBlur(TBitmap& source, TBitmap& destination, int passes)
    : TGREffector(source, destination), passes_(passes)
{
}

int TGREffectBlur::StepCount(int rows) const
{
    return passes_ > 1 ? passes_ * (rows / 64 + 1) : rows / 64 + 1;
}

void TGREffectBlur::Run()
{
    // The rectangle is always the whole source in practice; a partial one is
    // cut out first so that the passes see only it.
    TBitmap cut;
    const TBitmap* input = &source_;
    if (SourceRect != TRect{0, 0, source_.Width(), source_.Height()}) {
        cut.SetSize(Width(), Height(), source_.PixelFormat());
        for (int32_t y = 0; y < Height(); ++y)
            std::memcpy(cut.Row(y), SourceRow(y), std::size_t(Width()) * PixelBytes());
        input = &cut;
    }
    if (passes_ <= 0) {
        CopyBitmap(*input, destination_);
        return;
    }
    TBitmap temporary;
    // Odd counts start in the destination, even ones in the temporary, so
    // that the last pass lands in the destination.
    TBitmap* target = passes_ % 2 == 1 ? &destination_ : &temporary;
    for (int pass = 0; pass < passes_; ++pass) {
        BoxBlurPass(*input, *target);
        if (Progress)
            for (int32_t y = 0; y < Height(); ++y)
                ReportRow(y);
        input = target;
        target = target == &destination_ ? &temporary : &destination_;
    }
}

TGREffectColorChange::TGREffectColorChange(TBitmap& source, TBitmap& destination, TColor from, TColor to)
    : TGREffector(source, destination), from_(from), to_(to)
{
}

void TGREffectColorChange::Run()
{
    const int bpp = PixelBytes();
    // 0x00BBGGRR to the bytes' own little-endian order B, G, R, 0.
    const uint32_t fromPixel = (uint32_t(GetBValue(from_))) | (uint32_t(GetGValue(from_)) << 8) |
                               (uint32_t(GetRValue(from_)) << 16);
    const uint32_t toPixel = (uint32_t(GetBValue(to_))) | (uint32_t(GetGValue(to_)) << 8) |
                             (uint32_t(GetRValue(to_)) << 16);
    for (int32_t y = 0; y < Height(); ++y) {
        const uint8_t* in = SourceRow(y);
        uint8_t* out = DestRow(y);
        std::memcpy(out, in, std::size_t(Width()) * bpp);
        for (int32_t x = 0; x < Width(); ++x) {
            const uint32_t pixel = ReadPixel(in, x, source_.PixelFormat());
            const uint32_t compared = bpp == 3 ? pixel & 0xFFFFFF : pixel;
            if (compared == fromPixel)
                WritePixel(out, x, source_.PixelFormat(), toPixel);
        }
        ReportRow(y);
    }
}

TGREffectUnsharpMask::TGREffectUnsharpMask(TBitmap& source, TBitmap& destination, double amount)
    : TGREffector(source, destination), amount_(amount)
{
}

void TGREffectUnsharpMask::Run()
{
    TGREffectBlur blur(source_, destination_, Round(amount_));
    blur.SourceRect = SourceRect;
    blur.Execute();
    const int bpp = PixelBytes();
    for (int32_t y = 0; y < Height(); ++y) {
        const uint8_t* in = SourceRow(y);
        uint8_t* out = DestRow(y);
        for (int32_t x = 0; x < Width(); ++x)
            for (int c = 0; c < 3; ++c) {
                const int sharpened = 2 * in[bpp * x + c] - out[bpp * x + c];
                out[bpp * x + c] = uint8_t(std::clamp(sharpened, 0, 255));
            }
        ReportRow(y);
    }
}

}  // namespace orvella
