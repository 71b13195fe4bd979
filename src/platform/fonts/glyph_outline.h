#pragma once
// A glyph's outline as contours of line, quadratic and cubic segments.
// Coordinates grow rightwards and downwards from the pen position on the
// baseline, in the font's pixels.

#include <vector>

class QPainterPath;

namespace orvella {

struct TOutlinePoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const TOutlinePoint&, const TOutlinePoint&) = default;
};

enum class TSegmentKind : unsigned char { Line, Quadratic, Cubic };

struct TOutlineSegment {
    TSegmentKind Kind = TSegmentKind::Line;
    // Line: [0] is the end. Quadratic: control, end. Cubic: two controls, end.
    TOutlinePoint Points[3];
};

struct TContour {
    TOutlinePoint Start;
    std::vector<TOutlineSegment> Segments;  // the contour closes back to Start
};

struct TGlyphOutline {
    std::vector<TContour> Contours;

    bool Empty() const { return Contours.empty(); }
    // Appends the outline to `path`, moved by (dx, dy).
    void AddTo(QPainterPath& path, double dx = 0, double dy = 0) const;
};

}  // namespace orvella
