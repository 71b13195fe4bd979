#pragma once
// The glyphs of the layout editor's tool buttons, drawn as vector shapes so
// that they stay sharp at any screen scale.

#include <QIcon>

#include <string_view>

namespace orvella {

// The glyph of a command (actSelectTool, actText, actLine …); an empty
// icon for a command without one.
QIcon LayoutGlyph(std::string_view command);

}  // namespace orvella
