#pragma once
// The shared colour grid: the 40 colours of the colour panel, and any other
// colour through the system's colour dialog. The colour panel's stop
// swatches and the style tool bar open it as a popup under a button.

#include "graphics/graphics_types.h"

#include <QFrame>

#include <array>
#include <functional>

class QAbstractButton;

namespace orvella {

// The grid's colours, row by row (8 × 5).
extern const std::array<TColor, 40> kColorGridColors;

class TColorGridWindow : public QFrame {
public:
    explicit TColorGridWindow(QWidget* parent = nullptr);

    // Marks the colour when the grid has it.
    void SetColor(TColor color);
    TColor Color() const { return color_; }
    // Raised when the user picks a colour (the popup closes itself).
    std::function<void(TColor)> OnPick;

    // Opens the shared popup 4 pixels right of and below anchor's bottom-left
    // corner with color marked; picked is called with the chosen colour.
    static void ShowBelow(QWidget* anchor, TColor color, std::function<void(TColor)> picked);

private:
    void pick(TColor color);

    TColor color_ = 0;
    std::array<QAbstractButton*, 40> buttons_{};
};

}  // namespace orvella
