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
class QSlider;
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
class ImEpsonEPDI;
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

// What the Epson page shows: the media choices, the setting's media and
// the quality levels (position 0: the driver holds detailed settings).
struct TEpsonData {
    std::vector<std::string> MediaNames;
    std::vector<int32_t> MediaValues;
    int MediaIndex = -1;
    int32_t QualityLevels = 0;
    int32_t QualityPosition = 0;
};
TEpsonData ReadEpsonData(ImEpsonEPDI& epson);

class TfrmPrinterSetup : public QDialog {
public:
    explicit TfrmPrinterSetup(QWidget* parent = nullptr);
    ~TfrmPrinterSetup() override;

    // The vendor page shown: "Canon", "Epson" or "Other".
    QString VendorPage() const;

private:
    void showPrinter();
    void showVendorPage();
    void writeCanonPage();
    void showEpsonPage();
    void writeEpsonPage();

    QComboBox* printer_;
    QLabel* driver_;
    QLabel* paper_;
    QListWidget* details_;
    QStackedWidget* vendor_;
    QComboBox* cartridge_;
    QComboBox* media_;
    QComboBox* quality_;
    std::unique_ptr<TPrinterConfiguration> config_;
    QComboBox* epsonMedia_;
    QSlider* epsonQuality_;
    QWidget* epsonSlider_;
    QLabel* epsonDetailed_;
    QLabel* epsonNone_;
    std::unique_ptr<ImCanonExtDDI> canon_;
    std::unique_ptr<ImEpsonEPDI> epson_;
    TCanonData canonData_;
    TEpsonData epsonData_;
};

}  // namespace orvella
