#pragma once
// The zoom of a surface: Scale in percent and UnitDPI logical units per inch
// (254 for tenths of a millimetre). It maps logical units to the pixels of
// any canvas and installs that mapping on a canvas.

#include "graphics/canvas.h"

#include <functional>

namespace orvella {

class TScaler {
public:
    TScaler();

    int32_t Scale() const { return scale_; }
    void SetScale(int32_t scale);
    int32_t UnitDPI() const { return unitDPI_; }
    void SetUnitDPI(int32_t unitDPI);
    // Copies Scale and UnitDPI and reports one change.
    void Assign(const TScaler& source);
    // Raised after a value changed; not when a property is set to its value.
    std::function<void()> OnChange;

    TPoint LogicalToDevice(const TCanvas& canvas, TPoint p) const;
    TPoint DeviceToLogical(const TCanvas& canvas, TPoint p) const;
    // Covers every pixel the logical rectangle touches.
    TRect LogicalRectToDevice(const TCanvas& canvas, const TRect& r) const;
    // Installs the logical mapping; the logical origin keeps its device pixel.
    // d = 0 takes the canvas's own resolution.
    void PrepareCanvas(TCanvas& canvas, int32_t d = 0) const;

private:
    void changed();
    int32_t scale_ = 100;
    int32_t unitDPI_ = 96;
};

// The resolution drawing on the canvas is sized for.
int32_t CanvasPixelsPerInch(const TCanvas& canvas);
bool IsPrintingCanvas(const TCanvas& canvas);
// Copy mode, font, pen and brush of src onto dst.
void CopyCanvasTools(TCanvas& dst, const TCanvas& src);

}  // namespace orvella
