#pragma once
// The guide lines stored with each sheet: ten slots, each a vertical guide
// (x set), a horizontal guide (x zero, y set) or empty (both zero), which
// objects may snap to.

#include "document/grid.h"
#include "formats/persistent.h"
#include "graphics/graphics_types.h"

#include <array>
#include <cstdint>
#include <functional>

namespace orvella {

class TByteReader;
class TCanvas;

class TGuide : public TPersistent {
    ORVELLA_PERSISTENT(TGuide)

public:
    static constexpr int kSlotCount = 10;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Snapping to guides on.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int32_t Count() const { return kSlotCount; }
    // Raised after a value changed.
    std::function<void()> OnChange;

    // The slot's (x, y); an index outside 0 to 9 raises std::out_of_range.
    TPoint Guide(int index) const;
    void SetGuide(int index, int32_t x, int32_t y);
    int FirstFreeSlot() const;
    bool AllEmpty() const;
    void Assign(const TGuide& source);

    // The offset to the nearest guide within tolerance on each axis, or
    // kNoSnap on an axis without one or when snapping is off.
    TPoint SnapOffset(TPoint point, int32_t tolerance) const;
    // The first slot whose guide lies within tolerance of point, or -1 (also
    // when snapping is off).
    int HitTest(TPoint point, int32_t tolerance) const;
    // Empties the guides outside rect and the slots with both values set;
    // snapping turns off when that leaves no guide.
    void ClipTo(const TRect& rect);
    // The guides across rect with the canvas's pen.
    void Draw(TCanvas& canvas, const TRect& rect) const;

    void DefineProperties(TFiler& filer) override;

private:
    void changed();
    void ignoreCount(int32_t) {}
    // Reads the stored "Pos" entry; damaged data yields what it holds.
    void readPositions(TByteReader& reader);

    bool visible_ = false;
    bool enabled_ = false;
    std::array<TPoint, kSlotCount> slots_{};
};

}  // namespace orvella
