#pragma once
// The printer setup window: the printer the program prints to, with what
// the printing system tells of it (driver, paper, media, options).

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QListWidget;

namespace orvella {

class IPrinterList;

// The printer the print window starts with; empty until one is chosen.
std::string ApplicationPrinter();
void SetApplicationPrinter(const std::string& name);
// Keeps the application printer when it is still installed and opens;
// otherwise the usable default takes its place. True when it was replaced.
bool ValidateApplicationPrinter(const IPrinterList& printers);
// A list of the installed printers with the application printer chosen.
QComboBox* CreatePrinterChoice();

class TfrmPrinterSetup : public QDialog {
public:
    explicit TfrmPrinterSetup(QWidget* parent = nullptr);

private:
    void showPrinter();

    QComboBox* printer_;
    QLabel* driver_;
    QLabel* paper_;
    QListWidget* details_;
};

}  // namespace orvella
