#pragma once
// The colour picker that editing windows open under a button. It is a
// window of the window floor beside them; it registers itself here when
// the program starts, the way property dialogs register their designers.

#include "graphics/graphics_types.h"

#include <functional>

class QWidget;

namespace orvella {

using TColorPicked = std::function<void(TColor)>;
using TColorPicker = std::function<void(QWidget* anchor, TColor color, TColorPicked picked)>;

void SetColorPicker(TColorPicker picker);
// Opens the registered picker under anchor; false when none is registered.
bool PickColor(QWidget* anchor, TColor color, TColorPicked picked);

}  // namespace orvella
