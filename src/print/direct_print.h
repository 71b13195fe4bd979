#pragma once
// Printing straight onto discs in a printer's disc tray. Which catalog
// papers are discs ("GenreInfo"), the catalog's description of the disc-tray
// printers ("DirectPrinter", XML), where a printer's tray prints, and
// whether the chosen printer can print such a paper. The questions read
// the program catalog (program_catalog.h); without one no paper is a disc.

#include "graphics/graphics_types.h"
#include "formats/xml_ini_file.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvella {

class IPrinterQuery;
class TPaperInfo;
class TPapersV2;
class TPrinterConfiguration;

// The tray sheet and the disc centre on it, in 0.1 mm.
struct TDirectPrintArea {
    int32_t CenterX = 0;
    int32_t CenterY = 0;
    int32_t TrayWidth = 0;
    int32_t TrayHeight = 0;
    friend bool operator==(const TDirectPrintArea&, const TDirectPrintArea&) = default;
};

// Whether the group's genre in "GenreInfo" begins with "ダイレクトプリント".
bool IsDirectPrintGroup(const std::string& groupName);
// A read-only (system catalog) paper of a direct-print group.
bool IsDirectPrintPaper(const TPaperInfo& paper);
// Deletes every direct-print group from the list.
void RemoveDirectPrintGroups(std::vector<std::string>& names);

// The driver of the named printer; raises when the printer cannot be opened.
std::string GetPrinterDriverName(const std::string& printer, std::shared_ptr<IPrinterQuery> query);

// The catalog's description of the disc-tray printers, parsed for one
// question. A printer is found by its driver name or by the group name of
// its direct-print papers.
class TDirectPrinterInfo {
public:
    // From the program catalog's "DirectPrinter" text (empty without one).
    TDirectPrinterInfo();
    // From a catalog's text; a text that does not parse counts as empty.
    explicit TDirectPrinterInfo(const TPapersV2& catalog);
    static std::unique_ptr<TDirectPrinterInfo> FromText(std::string_view xml);

    void SelectPrinter(const std::string& name);
    bool Selected() const { return selected_.has_value(); }
    const std::string& SelectedName() const { return selectedName_; }
    bool SupportsPaper(const TPaperInfo& paper);
    TDirectPrintArea GetTrayArea() const;
    // Left as they were when nothing is selected.
    void GetSizeLimits(TSize& maxOuter, TSize& minInner) const;
    void GetPrinterNames(std::vector<std::string>& names);
    // The paper laid on the selected printer's tray; null when nothing is
    // selected or the paper is not a disc.
    std::unique_ptr<TPaperInfo> CreateDirectPaper(const TPaperInfo& paper) const;

private:
    struct FromTextTag {};
    TDirectPrinterInfo(std::string_view xml, FromTextTag);
    void load(std::string_view xml);

    TXMLIniFile document_;
    std::optional<TXMLIniSection> root_;
    std::optional<TXMLIniSection> selected_;
    std::string selectedName_;
};

// The joined "DirectPrinter" text of a catalog.
std::string DirectPrinterText(const TPapersV2& catalog);

// The Epson printing-information answer for the printer; false when the
// library is missing, does not know the printer or fails.
bool GetPicTrayArea(TPrinterConfiguration& printer, TDirectPrintArea& area);
// Where the printer's tray prints the paper: the Canon extension, else the
// description and the Epson library as the sources agree.
void GetDirectPrintArea(TPrinterConfiguration& printer, const TPaperInfo& paper, TDirectPrintArea& area);
bool IsDirectPrinterFor(TPrinterConfiguration& printer, const TPaperInfo& paper);
// Whether the printer is set to print on a disc.
bool IsDiscMediaSelected(TPrinterConfiguration& printer);
// The same for the application printer; false when it cannot be asked.
bool IsDiscMediaSelected();

enum class TConfirmPrinterAnswer { ChangePrinter, Print, Cancel };

// The printer check before printing: other papers pass at once; a printer
// that cannot print the disc asks the user through confirm, and
// ChangePrinter runs changePrinter and checks the then current printer.
struct TDirectPrinterCheck {
    std::function<TConfirmPrinterAnswer()> Confirm;
    std::function<void()> ChangePrinter;
    // The printer to check; by default the application printer.
    std::function<std::unique_ptr<TPrinterConfiguration>()> CurrentPrinter;
};
bool CheckDirectPrinter(const TPaperInfo& effectivePaper, const TDirectPrinterCheck& check);

// The text of the printer check window.
extern const char* const kConfirmPrinterText;

// Hands the document layer the answers above for the application printer,
// so that effective papers of disc papers are laid on its tray.
void InstallDirectPrintSupport(std::shared_ptr<IPrinterQuery> query);

}  // namespace orvella
