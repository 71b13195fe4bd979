#pragma once
// One printer with its device mode and form list, through which printer
// questions go. The forms and the current paper come from the printing
// system (CUPS media with their sizes and margins); the built-in PDF
// printer has none and prints any paper.

#include "frame/printer_list.h"
#include "print/device_mode.h"
#include "print/printer_form.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvella {

// A medium of a printer, in 0.1 mm; margins are the unprintable edges.
struct TPrinterMedia {
    std::string Name;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t MarginLeft = 0;
    int32_t MarginTop = 0;
    bool Custom = false;
};

// What the printing system answers about a printer.
class IPrinterQuery {
public:
    virtual ~IPrinterQuery() = default;
    virtual bool Exists(const std::string& printer) = 0;
    virtual std::string MakeAndModel(const std::string& printer) = 0;
    virtual std::vector<TPrinterMedia> Media(const std::string& printer) = 0;
    virtual std::optional<TPrinterMedia> DefaultMedia(const std::string& printer) = 0;
    // The destination's options as "name=value".
    virtual std::vector<std::string> Options(const std::string&) { return {}; }
};

// libcups behind the question (CUPS_SERVER and the user's CUPS settings
// decide the server).
std::shared_ptr<IPrinterQuery> CupsPrinterQuery();

class TPrinterConfiguration {
public:
    // Raises when the printer is not there (the "PDF file" printer always is).
    TPrinterConfiguration(std::string printer, std::shared_ptr<IPrinterQuery> query = CupsPrinterQuery());

    const std::string& GetDeviceName() const { return name_; }
    // CUPS queues have no port; the driver stands in for it.
    const std::string& GetDriverName() const { return driver_; }
    TmDeviceMode& GetDeviceMode() { return current_; }
    // Built on first use.
    TPrinterForm& GetForms();
    void RestoreDefaults() { current_.Assign(default_); }
    void ClearForms() { forms_.reset(); }
    // Makes this printer the application printer with a copy of the current
    // device mode; nothing else changes the application printer's settings.
    void ApplyToPrinter();
    // Keeps of the current device mode only the fields the driver's default
    // carries, and the paper's length and width; drops the cached forms.
    void UpdateDeviceMode();
    // The paper the printer is set to, when it tells.
    std::optional<TPrinterMedia> CurrentMedia();
    std::vector<std::string> Options() const { return query_ && name_ != kPdfPrinterName ? query_->Options(name_) : std::vector<std::string>{}; }

private:
    std::string name_;
    std::string driver_;
    std::shared_ptr<IPrinterQuery> query_;
    TmDeviceMode current_;
    TmDeviceMode default_;
    std::unique_ptr<TPrinterForm> forms_;
};

// The text naming the paper to load before a print: the printer's current
// paper when it is the document's (within 20 units both ways), its size
// when it is a custom size, else the document paper's upright size; empty
// when none can be told.
std::string MediaSizeText(const std::optional<TPrinterMedia>& current, int32_t paperWidth, int32_t paperHeight);

}  // namespace orvella
