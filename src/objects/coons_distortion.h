#pragma once
// A free-form warp of text: a Coons patch whose four boundary curves (top,
// right, bottom, left) are chains of control points in the unit square, each
// point a corner or a smooth (rounded) point. Points of a source rectangle
// are mapped through the patch onto a target rectangle. Stored as the binary
// entry "Data"; the pattern file holds the same form per pattern.

#include "objects/transformer.h"
#include "platform/guid.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TByteReader;

// A control point in unit-square coordinates: (0, 0) top-left, (1, 1)
// bottom-right, y downward.
struct TCoonsPoint {
    long double x = 0;
    long double y = 0;
    friend bool operator==(const TCoonsPoint&, const TCoonsPoint&) = default;
};

class TCoonsDistortion : public TTransformer {
    ORVELLA_PERSISTENT(TCoonsDistortion)
public:
    // Top and bottom run left to right, right and left top to bottom.
    enum TEdge : int { ceTop = 0, ceRight = 1, ceBottom = 2, ceLeft = 3 };
    static constexpr int kEdgeCount = 4;

    // Empty (no distortion), with a freshly generated identifier.
    TCoonsDistortion();

    // Two distortions are the same pattern when their identifiers are equal.
    const TGuid& Identifier() const noexcept { return identifier_; }
    void SetIdentifier(const TGuid& identifier) noexcept { identifier_ = identifier; }

    // All four edges without points: no distortion.
    void ClearPattern();
    // The unit square: two corner points per edge at the square's corners.
    void SetIdentityPattern();
    bool IsEmpty() const noexcept;

    int32_t EdgeCount(int edge) const;
    // n >= 0 and different: the point list is resized (new points zero) and
    // the edge's smooth flags are cleared. Other values are ignored.
    void SetEdgeCount(int edge, int32_t count);

    // Indices outside the edge continue along the closed outline through the
    // neighbouring edges; (0, 0) when the outline has no such point.
    TCoonsPoint GetPoint(int edge, int32_t index) const;
    // Only for 0 <= index < count; an end point also moves the neighbouring
    // edge's point that shares the corner.
    void SetPoint(int edge, int32_t index, TCoonsPoint point);
    // Smooth points are rounded into a parabola between the middles of their
    // two segments. Indices outside the edge read false and are not stored.
    bool Smooth(int edge, int32_t index) const;
    void SetSmooth(int edge, int32_t index, bool smooth);

    // Blends every point towards its identity position: 100 keeps the
    // pattern, 0 gives the unit square.
    void ApplyRatio(int32_t ratio);

    void SetSourceRect(const TRect& rect);
    void SetTargetRect(const TRect& rect);
    const TRect& SourceRect() const noexcept { return source_.rect; }
    const TRect& TargetRect() const noexcept { return target_.rect; }

    // The point of the edge at parameter t in [0, 1].
    TCoonsPoint EdgePoint(int edge, long double t) const;
    // Maps a point of the source rectangle onto the target rectangle; does
    // nothing for an empty pattern or a rectangle without width or height.
    void TransformPoint(TPoint& point) const override;

    // Copies identifier, points, flags, both rectangles and derived data.
    void Assign(const TCoonsDistortion& source);
    // Same identifier, points and flags (the rectangles are not compared).
    bool SamePattern(const TCoonsDistortion& other) const;

    // The stored form of "Data": identifier, four counts, the points as
    // 80-bit extended values, then the smooth flags; little-endian.
    std::string SaveData() const;
    // Replaces the pattern with the stored form. A damaged or inconsistent
    // payload raises EReadError and leaves the pattern as it was.
    void LoadData(std::string_view bytes);
    void ReadData(TByteReader& reader);

    void DefineProperties(TFiler& filer) override;

    // Called after every change of the pattern (not of the rectangles).
    std::function<void()> OnChange;

private:
    struct TEdgeData {
        std::vector<TCoonsPoint> points;
        std::vector<uint8_t> smooth;
    };
    struct TRectData {
        TRect rect;
        long double width = 0;
        long double height = 0;
        long double invWidth = 0;
        long double invHeight = 0;
    };

    void changed();
    void prepare() const;
    TCoonsPoint edgePoint(int edge, long double t) const;
    static TRectData makeRectData(const TRect& rect);

    TGuid identifier_;
    std::array<TEdgeData, kEdgeCount> edges_;
    TRectData source_;
    TRectData target_;

    // Derived: the point parameters (knots) of every edge, one more on each
    // side, and the four corners, recomputed only after a change.
    mutable std::array<std::vector<long double>, kEdgeCount> params_;
    mutable std::array<TCoonsPoint, 4> corners_{};
    mutable bool dirty_ = true;
};

}  // namespace orvella
