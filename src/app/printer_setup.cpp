#include "app/printer_setup.h"

#include "app/prepare_form.h"
#include "print/printer_configuration.h"
#include "print/printer_selection.h"
#include "print/system_printers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvella {

std::string ApplicationPrinter() { return ApplicationPrinterObject().Device; }
void SetApplicationPrinter(const std::string& name) { ApplicationPrinterObject().Device = name; }

bool ValidateApplicationPrinter(const IPrinterList& printers)
{
    const std::string current = ApplicationPrinter();
    try {
        const std::vector<std::string> names = printers.Names();
        if (!current.empty() && std::find(names.begin(), names.end(), current) != names.end() &&
            printers.CanOpen(current))
            return false;
    } catch (const std::exception&) {
    }
    SetApplicationPrinter(SelectUsablePrinter(printers).value_or(""));
    return true;
}

QComboBox* CreatePrinterChoice()
{
    auto* choice = new QComboBox;
    const TSystemPrinterList printers;
    for (const std::string& name : printers.Names())
        choice->addItem(QString::fromStdString(name));
    ValidateApplicationPrinter(printers);
    choice->setCurrentText(QString::fromStdString(ApplicationPrinter()));
    return choice;
}

TfrmPrinterSetup::TfrmPrinterSetup(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("プリンタ設定"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    printer_ = CreatePrinterChoice();
    driver_ = new QLabel;
    paper_ = new QLabel;
    form->addRow(QStringLiteral("プリンタ名"), printer_);
    form->addRow(QStringLiteral("ドライバ"), driver_);
    form->addRow(QStringLiteral("用紙"), paper_);
    layout->addLayout(form);
    details_ = new QListWidget;
    details_->setMinimumSize(360, 200);
    layout->addWidget(details_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        SetApplicationPrinter(printer_->currentText().toStdString());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(printer_, &QComboBox::currentTextChanged, this, [this] { showPrinter(); });
    showPrinter();
    PrepareForm(this);
}

void TfrmPrinterSetup::showPrinter()
{
    details_->clear();
    try {
        TPrinterConfiguration config(printer_->currentText().toStdString());
        if (config.GetDeviceName() == kPdfPrinterName) {
            driver_->setText(QStringLiteral("PDF ファイルに書き出します"));
            paper_->setText(QStringLiteral("文書の用紙サイズ"));
            return;
        }
        driver_->setText(QString::fromStdString(config.GetDriverName()));
        const auto media = config.CurrentMedia();
        paper_->setText(media ? QString::fromStdString(media->Name) : QString());
        const TPrinterForm& forms = config.GetForms();
        for (int i = 0; i < forms.Count(); ++i)
            details_->addItem(QStringLiteral("%1 (%2 x %3mm)")
                                  .arg(QString::fromStdString(forms.GetItem(i).GetName()))
                                  .arg(forms.GetItem(i).Width() / 10.0)
                                  .arg(forms.GetItem(i).Height() / 10.0));
        for (const std::string& option : config.Options())
            details_->addItem(QString::fromStdString(option));
    } catch (const std::exception& error) {
        driver_->setText(QString::fromStdString(error.what()));
        paper_->clear();
    }
}

}  // namespace orvella
