#pragma once
// A compact path: integer points (logical units) with one flag byte each, the
// point types of a device path: 6 move, 2 line, 3 line and close, 4 Bézier
// point (three in a row: two controls and the end), 5 closing Bézier end.
// Glyph outlines, shape outlines and drag outlines are strokes.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"

#include <cstdint>
#include <vector>

namespace orvella {

enum : uint8_t {
    STROKE_MOVETO = 6,
    STROKE_LINETO = 2,
    STROKE_CLOSE = 3,
    STROKE_BEZIER = 4,
    STROKE_BEZIER_CLOSE = 5,
};

class TStroke {
public:
    TStroke() = default;
    virtual ~TStroke() = default;
    TStroke(const TStroke&) = default;
    TStroke& operator=(const TStroke&) = default;

    int32_t Count() const { return int32_t(flags_.size()); }
    // Kept entries keep their values; new ones are (0, 0) with flag 0.
    void SetCount(int32_t count);
    void Clear() { SetCount(0); }
    // No range check, like the buffers they read.
    TPoint& Points(int32_t i) { return points_[std::size_t(i)]; }
    const TPoint& Points(int32_t i) const { return points_[std::size_t(i)]; }
    uint8_t& Flags(int32_t i) { return flags_[std::size_t(i)]; }
    uint8_t Flags(int32_t i) const { return flags_[std::size_t(i)]; }
    void AddPoint(int32_t x, int32_t y, uint8_t flag);
    // Left/Top the smallest, Right/Bottom the largest coordinates; (0,0,0,0) when empty.
    TRect Bounds() const;
    void Assign(const TStroke& source) { *this = source; }

    // Emits the figures with the canvas's move, line, polyline and close-figure
    // calls; Béziers become lines, one per new device pixel.
    virtual void Draw(TCanvas& canvas) const;
    void MakePath(TCanvas& canvas) const;
    // Appends the canvas's current path, point types as flags.
    void AppendPath(const TCanvas& canvas);
    // Splits straight edges into 8-unit pieces, so that a point transform bends them.
    void Flatten();
    void SetRect(const TRect& r);
    void SetEllipse(const TRect& r);
    void SetRoundRect(const TRect& r, int32_t corner);
    // Every edge with anti-aliasing into an 8-bit bitmap, mapped by the
    // bitmap canvas's mapping.
    void RenderAntiAliased(TBitmap& bitmap) const;

private:
    std::vector<TPoint> points_;
    std::vector<uint8_t> flags_;
};

// The point of a cubic Bézier at t, each coordinate rounded.
TPoint BezierPoint(TPoint p0, TPoint p1, TPoint p2, TPoint p3, long double t);

}  // namespace orvella
