#pragma once
// A captured mapping of a drawing surface: map mode, extents and origins.
// device = (logical - window origin) * viewport extent / window extent +
// viewport origin, per axis, in integers rounded half away from zero.

#include "graphics/canvas_tools.h"
#include "graphics/graphics_types.h"

namespace orvella {

class TCanvas;

struct TCoordMap {
    int MapMode = MM_TEXT;
    TSize WindowExt{1, 1};
    TSize ViewportExt{1, 1};
    TPoint WindowOrg;
    TPoint ViewportOrg;

    TPoint LogicalToDevice(TPoint p) const;
    TPoint DeviceToLogical(TPoint p) const;
    // A length along x in device pixels (pen widths).
    int32_t LengthToDevice(int32_t length) const;

    static void ResetMapping(TCanvas& canvas);
    void Capture(const TCanvas& canvas);
    // The target maps every logical point as the captured surface did, with
    // the origin moved to the viewport side.
    void ApplyTo(TCanvas& canvas) const;

    friend bool operator==(const TCoordMap&, const TCoordMap&) = default;
};

}  // namespace orvella
