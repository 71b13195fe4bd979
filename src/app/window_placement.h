#pragma once
// Where windows open: the main window where the user left it (its normal
// bounds stored under "<form name>Left", "Top", "Width", "Height"), every
// other window centred on the main window and kept on the screen.

class QWidget;

namespace orvella {

// The program's main window, or null before it exists.
QWidget* MainForm();
void SetMainForm(QWidget* form);

void SaveMainWindowPlacement(const QWidget* form);

// Defaults: the smaller of the screen and defaultWidth x defaultHeight,
// centred on the screen; each stored value overrides its default.
void RestoreWindowPlacement(QWidget* form, int defaultWidth, int defaultHeight);

// Centres form on the main window (on the screen when there is none) and
// moves it back inside the screen.
void CenterWindow(QWidget* form);

}  // namespace orvella
