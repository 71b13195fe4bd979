#pragma once
// Setting the printer to suit the document's paper: its size and
// orientation, and through the vendor extensions its media and quality,
// chosen by the catalog's "PrinterSetting" table (an INI text).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvella {

class ImEpsonEPDI;
class TPaperInfo;
class TPrinterConfiguration;

struct TPrintSettingData {
    int32_t Width = 0;   // upright, 0.1 mm
    int32_t Height = 0;
    bool Landscape = false;
    std::string PaperName;
    std::string Media;   // "CDR" for a disc
    bool DiscTray = false;
};

// Sections of name=value lines; a later duplicate name keeps the first.
class TPrinterSettingTable {
public:
    TPrinterSettingTable() = default;
    explicit TPrinterSettingTable(const std::vector<std::string>& lines);
    std::optional<std::string> Value(const std::string& section, const std::string& name) const;

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

class ImPaperPrintSetting {
public:
    virtual ~ImPaperPrintSetting() = default;
    virtual void ApplyPaper(TPrinterConfiguration& printer, const TPaperInfo& paper, const std::string& media) = 0;
    virtual void Apply(TPrinterConfiguration& printer, const TPrintSettingData& data) = 0;
};

class TPaperPrintSetting : public ImPaperPrintSetting {
public:
    explicit TPaperPrintSetting(TPrinterSettingTable table) : table_(std::move(table)) {}

    void ApplyPaper(TPrinterConfiguration& printer, const TPaperInfo& paper, const std::string& media) override;
    void Apply(TPrinterConfiguration& printer, const TPrintSettingData& data) override;

    // The media number of the vendor ("Canon", "Epson") for the paper: the
    // five tries in their order, each over sections n = 0 ... 9 until one
    // lacks the name; the first number among choices.
    std::optional<int32_t> FindMedia(const std::string& vendor, const std::string& driver,
                                     const TPrintSettingData& data, const std::vector<int32_t>& choices) const;

private:
    void applyEpsonSource(ImEpsonEPDI& epson, TPrinterConfiguration& printer, const TPrintSettingData& data);
    void applyEpsonMedia(ImEpsonEPDI& epson, TPrinterConfiguration& printer, const TPrintSettingData& data);

    TPrinterSettingTable table_;
};

// The data for a paper on a printer: a disc paper as laid on that printer's
// tray with the stored size adjustment, else the paper as it is.
void FillPrintSettingData(TPrintSettingData& data, TPrinterConfiguration& printer, const TPaperInfo& paper);

// The name of a form added for a size the printer lacks (0.1 mm):
// "A4(210 x 297mm)" for a standard size, else "120 x 180mm".
std::string NewFormName(int32_t width, int32_t height);

// Sets the device mode's paper and orientation for the size; false when
// the printer has no form for it (nor a user size).
bool ApplyPaperSize(TPrinterConfiguration& printer, const TPrintSettingData& data);

// The table of the program catalog (empty without one), made once.
ImPaperPrintSetting& ProgramPaperPrintSetting();

}  // namespace orvella
