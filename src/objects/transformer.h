#pragma once
// Point transforms over strokes: a text's rotation and its free-form warp
// both map every point of a glyph outline, so they share this base.

#include "formats/persistent.h"
#include "graphics/graphics_types.h"

#include <cstdint>

namespace orvella {

class TStroke;

class TTransformer : public TPersistent {
    ORVELLA_PERSISTENT(TTransformer)
public:
    // Maps one point in place.
    virtual void TransformPoint(TPoint& point) const = 0;
    // Maps every point of the stroke; the flags stay.
    void TransformStroke(TStroke& stroke) const;
};

// Turns points about a centre by whole degrees; with y growing downwards a
// positive angle turns clockwise on the screen.
class TRotator : public TTransformer {
    ORVELLA_PERSISTENT(TRotator)
public:
    TRotator() = default;
    TRotator(int32_t angle, TPoint centre);

    int32_t Angle() const { return angle_; }
    void SetAngle(int32_t angle);
    TPoint Centre() const { return centre_; }
    void SetCentre(TPoint centre) { centre_ = centre; }
    long double Sin() const { return sin_; }
    long double Cos() const { return cos_; }

    void TransformPoint(TPoint& point) const override;
    TPoint Transformed(TPoint point) const
    {
        TransformPoint(point);
        return point;
    }

private:
    int32_t angle_ = 0;
    TPoint centre_{0, 0};
    long double sin_ = 0;
    long double cos_ = 1;
};

}  // namespace orvella
