#pragma once
// The user's papers backed up to a ".ppb" file and brought back from one:
// the commands ask for the file, do the work on the program's catalog and
// confirm it.

class QWidget;

namespace orvella {

// Both false when the dialog was cancelled or the work failed (the failure
// has been reported).
bool ImportUserPaperFile(QWidget* parent);
bool ExportUserPaperFile(QWidget* parent);

}  // namespace orvella
