#pragma once
// Moving the end points of lines and curves, bending curves by their middle
// point (or wrapping them onto a circle about the site's centre), and
// creating lines and curves by dragging from the start point to the end.

#include "drawing/universal_ghost.h"

namespace orvella {

// Handle 0 moves the start point, 1 the end point; Shift makes the line
// horizontal or vertical.
class TLineGhost : public TUniversalGhost {
public:
    TLineGhost(TDrawObject& object, int handleIndex);
    void Move(TPoint offset, TShiftState shift) override;
};

class TLineCreateGhost : public TLineGhost, private TCreationGhost {
public:
    explicit TLineCreateGhost(TDrawObject& object);
    void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift) override;
    void Apply(TShiftState shift) override;
};

// Handles 10 (start), 11 (end) and 12 (middle) of a curve through three
// points.
class TCurveGhost : public TUniversalGhost {
public:
    TCurveGhost(TDrawObject& object, int handleIndex);
    ~TCurveGhost() override;

    void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift) override;
    void Move(TPoint offset, TShiftState shift) override;
    void Apply(TShiftState shift) override;

protected:
    bool creating_ = false;

private:
    void moveEnd(bool start, TPoint offset, TShiftState shift);
    void moveMiddle(TPoint offset, TShiftState shift);
    void endEdit();

    bool editing_ = false;
};

class TCurveCreateGhost : public TCurveGhost, private TCreationGhost {
public:
    explicit TCurveCreateGhost(TDrawObject& object);
    void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift) override;
    void Apply(TShiftState shift) override;
};

inline constexpr int kCurveStartHandle = 10;
inline constexpr int kCurveEndHandle = 11;
inline constexpr int kCurveMiddleHandle = 12;
// The smallest radius a curve wrapped onto a circle takes.
inline constexpr int32_t kMinimumWrapRadius = 50;

}  // namespace orvella
