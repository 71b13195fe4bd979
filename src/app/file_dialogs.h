#pragma once
// The file dialogs of the main window's commands, behind one replaceable
// handler so that tests can answer them. Filters are written as the program
// keeps them, "text|pattern|text|pattern...", and the chosen type is
// reported by its 1-based index.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace orvella {

enum class TFileDialogKind { Open, Save };

struct TFileDialogRequest {
    TFileDialogKind Kind = TFileDialogKind::Open;
    QString Title;
    QString Filter;
    // The default extension of each filter entry (empty: none); a single
    // entry applies to every type.
    QStringList DefaultExts;
    int FilterIndex = 1;
    QString FileName;
    // Save dialogs: ask before replacing a file; the folder must exist.
    bool OverwritePrompt = false;
};

struct TFileDialogAnswer {
    QString FileName;
    int FilterIndex = 1;
};

// No answer means the dialog was cancelled.
using TFileDialogHandler = std::function<std::optional<TFileDialogAnswer>(const TFileDialogRequest&)>;

// Shows the dialog through the installed handler, or the system's file
// dialog when none is installed.
std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest& request, QWidget* parent = nullptr);

// Installs a handler (an empty one restores the system's dialog) and
// returns the previous one.
TFileDialogHandler SetFileDialogHandler(TFileDialogHandler handler);

// "text|pattern|..." as Qt's name filters ("text (pattern)").
QStringList QtNameFilters(const QString& filter);

// The default extension request gives for a filter index.
QString DefaultExtFor(const TFileDialogRequest& request, int filterIndex);

}  // namespace orvella
