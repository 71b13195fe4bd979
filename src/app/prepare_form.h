#pragma once
// PrepareForm: what every window does when it is created. Macros in its
// texts are expanded; the main window (a QMainWindow) opens at its stored
// placement, every other window is centred on the main window, and a
// button named "btnHelp" shows the window's help topic (the "helpContext"
// property; the help contents without one). A window whose position is part
// of its design sets the property "designedPosition" and is left where it is.

class QObject;
class QWidget;

namespace orvella {

void PrepareForm(QWidget* form);

// Expands every stored, writable string property containing "$(" of object
// and of everything it owns; a string-list property is expanded as one text.
// A property whose text does not expand is left as it is.
void ExpandObjectMacros(QObject* object);

}  // namespace orvella
