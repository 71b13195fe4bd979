#pragma once
// The snap grid stored with each sheet: its pitch, whether it shows (as
// lines or dots) and whether objects snap to it.

#include "formats/persistent.h"
#include "graphics/graphics_types.h"

#include <cstdint>
#include <functional>

namespace orvella {

class TCanvas;

// An offset that means "do not snap on this axis".
inline constexpr int32_t kNoSnap = 2147483647;

class TGrid : public TPersistent {
    ORVELLA_PERSISTENT(TGrid)

public:
    // Lines instead of dots.
    bool LineShape() const { return lineShape_; }
    void SetLineShape(bool lineShape);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Pitch in logical units; 0 or less (only a damaged file has it) means
    // no grid at all.
    int32_t Size() const { return size_; }
    void SetSize(int32_t size);
    // Snapping on.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Raised after a value changed.
    std::function<void()> OnChange;

    void Assign(const TGrid& source);

    // The offset that brings point onto the nearest grid point, or kNoSnap
    // on both axes when snapping is off or the grid has no pitch.
    TPoint SnapOffset(TPoint point) const;
    // The grid inside rect with the canvas's pen: lines, or a pixel of the
    // pen's colour at each grid point. Nothing when the pitch would not
    // leave two device pixels between grid points.
    void Draw(TCanvas& canvas, const TRect& rect) const;

private:
    void changed();

    bool lineShape_ = false;
    bool visible_ = false;
    int32_t size_ = 0;
    bool enabled_ = false;
};

}  // namespace orvella
