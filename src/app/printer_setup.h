#pragma once
// The printer setup window: the printer the program prints to, with what
// the printing system tells of it (driver, paper, media, options).

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QStackedWidget;

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

class ImCanonExtDDI;
class TPrinterConfiguration;

// What the Canon page shows: the choices of the three items and the
// positions of their current values.
struct TCanonData {
    std::vector<std::string> QualityNames, CartridgeNames, MediaNames;
    std::vector<int32_t> QualityValues, CartridgeValues, MediaValues;
    int QualityIndex = -1, CartridgeIndex = -1, MediaIndex = -1;
    friend bool operator==(const TCanonData&, const TCanonData&) = default;
};
TCanonData ReadCanonData(ImCanonExtDDI& canon);

class TfrmPrinterSetup : public QDialog {
public:
    explicit TfrmPrinterSetup(QWidget* parent = nullptr);
    ~TfrmPrinterSetup() override;

    // The vendor page shown: "Canon" or "Other".
    QString VendorPage() const;

private:
    void showPrinter();
    void showVendorPage();
    void writeCanonPage();

    QComboBox* printer_;
    QLabel* driver_;
    QLabel* paper_;
    QListWidget* details_;
    QStackedWidget* vendor_;
    QComboBox* cartridge_;
    QComboBox* media_;
    QComboBox* quality_;
    std::unique_ptr<TPrinterConfiguration> config_;
    std::unique_ptr<ImCanonExtDDI> canon_;
    TCanonData canonData_;
};

}  // namespace orvella
