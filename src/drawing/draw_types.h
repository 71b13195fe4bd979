#pragma once
// Small value types shared by drawing objects, their site and the window
// that hosts the site: GUIDs naming change kinds and capabilities, cursor
// ids, modifier state and the input events a host hands to a site (all
// positions in device pixels of the site).

#include "graphics/graphics_types.h"
#include "platform/guid.h"

#include <cstdint>
#include <string>

namespace orvella {

// Cursor ids, with the values the stored MoveCursor and DragCursor use.
using TCursor = int32_t;
enum : TCursor {
    crDefault = 0,
    crArrow = -2,
    crCross = -3,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crDrag = -12,
    crHandPoint = -21,
    crSizeAll = -22,
    // The program's own rotation arrow, shown over rotation handles.
    crRotate = 3,
};

// Modifier keys and mouse buttons held, as bits.
enum TShiftFlag : uint32_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = uint32_t;
// The bits a drag outline reacts to.
constexpr TShiftState kModifierKeys = ssShift | ssCtrl | ssAlt;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

struct TSiteMouseEvent {
    TMouseButton Button = TMouseButton::mbLeft;
    TShiftState Shift = 0;
    TPoint Pos;  // device pixels of the site
};

// The host's key code for Escape (Qt's), which drops a drag in progress.
inline constexpr int kKeyEscape = 0x01000000;

struct TSiteKeyEvent {
    int Key = 0;  // the host's key code; the site only looks at Shift
    TShiftState Shift = 0;
};

}  // namespace orvella
