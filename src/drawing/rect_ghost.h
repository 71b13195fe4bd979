#pragma once
// Resizing an object by its eight handles (in the object's own frame when
// it is turned), creating a rectangular object by dragging its far corner,
// and turning an object by its rotation handle.

#include "drawing/universal_ghost.h"

namespace orvella {

// Handles 0 to 7: the corners and side middles, left column first (see
// RectHandlePoint).
class TRectGhost : public TUniversalGhost {
public:
    TRectGhost(TDrawObject& object, int handleIndex);

    void Move(TPoint offset, TShiftState shift) override;

    // The target rectangle of the last move, normalised.
    const TRect& Target() const { return target_; }

protected:
    TRect target_;
};

class TRectCreateGhost : public TRectGhost, private TCreationGhost {
public:
    explicit TRectCreateGhost(TDrawObject& object);

    void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift) override;
    void Apply(TShiftState shift) override;
};

// Handle 8: turns about the centre of the object's bounds; Shift keeps to
// multiples of 45 degrees.
class TRotateGhost : public TUniversalGhost {
public:
    explicit TRotateGhost(TDrawObject& object);

    void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift) override;
    void Move(TPoint offset, TShiftState shift) override;

private:
    TPoint centre_;
};

// Handle index of the rotation handles.
inline constexpr int kRotateHandle = 8;
// The minimum width and height a resize leaves without Ctrl.
inline constexpr int32_t kMinimumResize = 20;

// Where handle 0 to 7 sits on r: (L, T), (L, mid), (L, B), (mid, T),
// (mid, B), (R, T), (R, mid), (R, B).
TPoint RectHandlePoint(const TRect& r, int handleIndex);

}  // namespace orvella
