#include "drawing/color_picker.h"

#include <utility>

namespace orvella {

namespace {

TColorPicker& picker()
{
    static TColorPicker registered;
    return registered;
}

}  // namespace

void SetColorPicker(TColorPicker picker_) { picker() = std::move(picker_); }

bool PickColor(QWidget* anchor, TColor color, TColorPicked picked)
{
    if (!picker())
        return false;
    picker()(anchor, color, std::move(picked));
    return true;
}

}  // namespace orvella
