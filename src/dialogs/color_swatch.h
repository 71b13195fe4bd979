#pragma once
// Small pictures of colours and colour fills for the dialogs' buttons and
// lists, and the colour conversions between the stored form and Qt.

#include "graphics/graphics_types.h"

#include <QColor>
#include <QPixmap>

namespace orvella {

class TColorSpec;

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// The fill over a grey checker board, width × height pixels.
QPixmap ColorFillPicture(TColorSpec& colorFill, int width, int height);
// A solid swatch with a grey one-pixel frame.
QPixmap SwatchPicture(TColor color, int width, int height);

}  // namespace orvella
