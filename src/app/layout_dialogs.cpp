#include "app/layout_dialogs.h"

#include "document/grid.h"
#include "document/product_info.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace orvella {

namespace {

QDialogButtonBox* okCancel(QDialog& dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// The fields of a record as a form of multi-line boxes.
QWidget* recordPage(TProductInfo& record, std::vector<std::pair<TProductItem*, QPlainTextEdit*>>& edits)
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (std::size_t i = 0; i < record.Items.Count(); ++i) {
        TProductItem& item = record.Items.Items(i);
        auto* edit = new QPlainTextEdit(page);
        edit->setObjectName(QString::fromStdString(item.FieldName));
        QStringList lines;
        for (const std::string& line : item.Info.Lines)
            lines << QString::fromStdString(line);
        edit->setPlainText(lines.join(QLatin1Char('\n')));
        edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 2 + 12);
        form->addRow(QString::fromStdString(item.FieldName), edit);
        edits.emplace_back(&item, edit);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    return scroll;
}

}  // namespace

int AskLayoutChoice(QWidget* parent, const QString& title, const QStringList& choices)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* group = new QButtonGroup(&dialog);
    for (int i = 0; i < choices.size(); ++i) {
        auto* choice = new QRadioButton(choices[i], &dialog);
        choice->setObjectName(QStringLiteral("rbChoice%1").arg(i));
        group->addButton(choice, i);
        layout->addWidget(choice);
    }
    if (!choices.isEmpty())
        group->button(0)->setChecked(true);
    layout->addWidget(okCancel(dialog));
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return group->checkedId();
}

bool EditGrid(QWidget* parent, TGrid& grid)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("グリッド設定"));
    auto* form = new QFormLayout(&dialog);
    auto* size = new QDoubleSpinBox(&dialog);
    size->setObjectName(QStringLiteral("edtGridSize"));
    size->setRange(1.0, 100.0);
    size->setDecimals(0);
    size->setSuffix(QStringLiteral(" mm"));
    size->setValue(std::clamp(grid.Size(), 10, 1000) / 10);
    form->addRow(QStringLiteral("グリッドの間隔"), size);
    auto* lines = new QCheckBox(QStringLiteral("線で表示する"), &dialog);
    lines->setChecked(grid.LineShape());
    form->addRow(QString(), lines);
    auto* visible = new QCheckBox(QStringLiteral("グリッドを表示する"), &dialog);
    visible->setChecked(grid.Visible());
    form->addRow(QString(), visible);
    auto* enabled = new QCheckBox(QStringLiteral("グリッドに吸着する"), &dialog);
    enabled->setChecked(grid.Enabled());
    form->addRow(QString(), enabled);
    form->addRow(okCancel(dialog));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    grid.SetSize(int32_t(size->value()) * 10);
    grid.SetLineShape(lines->isChecked());
    grid.SetVisible(visible->isChecked());
    grid.SetEnabled(enabled->isChecked());
    return true;
}

bool EditCreatorRecords(QWidget* parent, TProductInfo& japanese, TProductInfo& english)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmCreatorInfo"));
    dialog.setWindowTitle(QStringLiteral("クリエーター情報の設定"));
    dialog.resize(460, 520);
    auto* layout = new QVBoxLayout(&dialog);
    auto* tabs = new QTabWidget(&dialog);
    std::vector<std::pair<TProductItem*, QPlainTextEdit*>> edits;
    tabs->addTab(recordPage(japanese, edits), QStringLiteral("日本語"));
    tabs->addTab(recordPage(english, edits), QStringLiteral("English"));
    layout->addWidget(tabs);
    layout->addWidget(okCancel(dialog));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (auto& [item, edit] : edits)
    {
        item->Info.Lines.clear();
        const QString text = edit->toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split(QLatin1Char('\n')))
                item->Info.Lines.push_back(line.toStdString());
    }
    return true;
}

}  // namespace orvella
