#include "formats/property_table.h"

#include "document/guide.h"

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "document/grid.h"
#include "graphics/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace orvella {

namespace {

constexpr std::size_t kPairBytes = 8;

bool isVertical(TPoint slot) { return slot.x != 0; }
bool isHorizontal(TPoint slot) { return slot.x == 0 && slot.y != 0; }

int64_t distance(int32_t a, int32_t b) { return std::abs(int64_t(a) - b); }

}  // namespace

const TClassInfo& TGuide::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TGuide, TPersistent>("TGuide", {
        BooleanProperty("Visible", &TGuide::Visible, &TGuide::SetVisible),
        BooleanProperty("Enabled", &TGuide::Enabled, &TGuide::SetEnabled),
        IntegerProperty("Count", &TGuide::Count, &TGuide::ignoreCount).ReadOnly(),
    });
    return info;
}

void TGuide::changed()
{
    if (OnChange)
        OnChange();
}

void TGuide::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    changed();
}

void TGuide::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    changed();
}

TPoint TGuide::Guide(int index) const
{
    if (index < 0 || index >= kSlotCount)
        throw std::out_of_range("guide index out of range");
    return slots_[std::size_t(index)];
}

void TGuide::SetGuide(int index, int32_t x, int32_t y)
{
    if (index < 0 || index >= kSlotCount)
        throw std::out_of_range("guide index out of range");
    const TPoint value{x, y};
    if (slots_[std::size_t(index)] == value)
        return;
    slots_[std::size_t(index)] = value;
    changed();
}

int TGuide::FirstFreeSlot() const
{
    for (int i = 0; i < kSlotCount; ++i)
        if (slots_[std::size_t(i)] == TPoint{0, 0})
            return i;
    return -1;
}

bool TGuide::AllEmpty() const
{
    return std::all_of(slots_.begin(), slots_.end(), [](TPoint slot) { return slot == TPoint{0, 0}; });
}

void TGuide::Assign(const TGuide& source)
{
    if (&source == this)
        return;
    visible_ = source.visible_;
    enabled_ = source.enabled_;
    slots_ = source.slots_;
    changed();
}

TPoint TGuide::SnapOffset(TPoint point, int32_t tolerance) const
{
    int64_t dx = kNoSnap;
    int64_t dy = kNoSnap;
    if (!enabled_)
        return {kNoSnap, kNoSnap};
    for (const TPoint slot : slots_) {
        if (isVertical(slot) && distance(slot.x, point.x) <= tolerance && distance(slot.y, 0) <= tolerance) {
            const int64_t offset = int64_t(slot.x) - point.x;
            if (std::abs(offset) < std::abs(dx))
                dx = offset;
        } else if (isHorizontal(slot) && distance(slot.y, point.y) <= tolerance) {
            const int64_t offset = int64_t(slot.y) - point.y;
            if (std::abs(offset) < std::abs(dy))
                dy = offset;
        }
    }
    return {int32_t(dx), int32_t(dy)};
}

int TGuide::HitTest(TPoint point, int32_t tolerance) const
{
    if (!enabled_)
        return -1;
    for (int i = 0; i < kSlotCount; ++i) {
        const TPoint slot = slots_[std::size_t(i)];
        if (isVertical(slot) && distance(slot.x, point.x) <= tolerance && distance(slot.y, 0) <= tolerance)
            return i;
        if (isHorizontal(slot) && distance(slot.y, point.y) <= tolerance)
            return i;
    }
    return -1;
}

void TGuide::ClipTo(const TRect& rect)
{
    bool emptied = false;
    for (TPoint& slot : slots_) {
        const bool outside = (slot.x != 0 && slot.y != 0) ||
                             (isVertical(slot) && (slot.x < rect.Left || slot.x > rect.Right)) ||
                             (isHorizontal(slot) && (slot.y < rect.Top || slot.y > rect.Bottom));
        if (outside) {
            slot = {0, 0};
            emptied = true;
        }
    }
    if (emptied)
        changed();
    if (enabled_ && AllEmpty())
        SetEnabled(false);
}

void TGuide::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (!visible_)
        return;
    for (const TPoint slot : slots_) {
        if (isVertical(slot)) {
            canvas.MoveTo(slot.x, rect.Top);
            canvas.LineTo(slot.x, rect.Bottom);
        } else if (isHorizontal(slot)) {
            canvas.MoveTo(rect.Left, slot.y);
            canvas.LineTo(rect.Right, slot.y);
        }
    }
}

void TGuide::readPositions(TByteReader& reader)
{
    // A damaged entry never reads past its bytes nor fills more than the
    // ten slots: a negative count reads none, and a count beyond what the
    // entry holds reads the pairs that are there.
    std::array<TPoint, kSlotCount> stored{};
    if (reader.Remaining() >= 4) {
        const int64_t storedCount = reader.ReadI32();
        const int64_t present = int64_t(reader.Remaining() / kPairBytes);
        const int64_t count = std::clamp<int64_t>(std::min(storedCount, present), 0, kSlotCount);
        for (int64_t i = 0; i < count; ++i) {
            stored[std::size_t(i)].x = reader.ReadI32();
            stored[std::size_t(i)].y = reader.ReadI32();
        }
    }
    if (stored == slots_)
        return;
    slots_ = stored;
    changed();
}

void TGuide::DefineProperties(TFiler& filer)
{
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Pos", [this](TByteReader& reader) { readPositions(reader); },
        [this](std::string& bytes) {
            TByteWriter out(bytes);
            out.WriteI32(kSlotCount);
            for (const TPoint slot : slots_) {
                out.WriteI32(slot.x);
                out.WriteI32(slot.y);
            }
        },
        true);
}

}  // namespace orvella
