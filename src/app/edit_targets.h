#pragma once
// What the edit commands act on in the windows: the focused text field
// (single-line, multi-line, or the edit part of an editable combo box) with
// its selection and its own undo, or else the draw site whose window has the
// focus.

#include "drawing/draw_site_action.h"

#include <memory>

class QWidget;

namespace orvella {

// The text-field side of a widget, or nullptr when it is no text field.
std::shared_ptr<TTextEditTarget> TextEditTargetFor(QWidget* widget);

// The command target for a focused widget: a text field, or the site of the
// draw site window that is the widget or holds it.
TCommandTarget CommandTargetFor(QWidget* focused);

// Makes the edit commands follow the application's focus widget.
void InstallEditCommandTargets();

}  // namespace orvella
