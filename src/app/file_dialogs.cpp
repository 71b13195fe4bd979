#include "app/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace orvella {

namespace {

TFileDialogHandler& handler()
{
    static TFileDialogHandler installed;
    return installed;
}

std::optional<TFileDialogAnswer> systemDialog(const TFileDialogRequest& request, QWidget* parent)
{
    QFileDialog dialog(parent, request.Title);
    const bool save = request.Kind == TFileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtNameFilters(request.Filter);
    dialog.setNameFilters(filters);
    const int index = std::clamp(request.FilterIndex, 1, int(std::max<qsizetype>(filters.size(), 1)));
    if (index <= filters.size())
        dialog.selectNameFilter(filters[index - 1]);
    dialog.setDefaultSuffix(DefaultExtFor(request, index));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
        dialog.setDefaultSuffix(DefaultExtFor(request, int(filters.indexOf(chosen)) + 1));
    });
    if (!request.FileName.isEmpty()) {
        const QFileInfo info(request.FileName);
        if (info.dir().exists())
            dialog.setDirectory(info.dir());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return TFileDialogAnswer{dialog.selectedFiles().constFirst(), int(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

}  // namespace

QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& text = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of the text; the
        // program's texts mostly carry them already.
        if (text.trimmed().endsWith(QLatin1Char(')')))
            filters << text;
        else
            filters << text + QLatin1String(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

QString DefaultExtFor(const TFileDialogRequest& request, int filterIndex)
{
    if (request.DefaultExts.size() == 1)
        return request.DefaultExts.constFirst();
    if (filterIndex >= 1 && filterIndex <= request.DefaultExts.size())
        return request.DefaultExts[filterIndex - 1];
    return {};
}

std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest& request, QWidget* parent)
{
    if (handler())
        return handler()(request);
    return systemDialog(request, parent);
}

TFileDialogHandler SetFileDialogHandler(TFileDialogHandler replacement)
{
    return std::exchange(handler(), std::move(replacement));
}

}  // namespace orvella
