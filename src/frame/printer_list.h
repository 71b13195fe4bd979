#pragma once
// What the frame asks about printers: which are installed, which is the
// default, which can be opened. The printing layer answers (the CUPS
// destinations and the built-in "PDF file" printer) and is wired in at
// start-up.

#include <optional>
#include <string>
#include <vector>

namespace orvella {

inline constexpr char kPdfPrinterName[] = "PDF file";

class IPrinterList {
public:
    virtual ~IPrinterList() = default;
    // Installed printers in their order.
    virtual std::vector<std::string> Names() const = 0;
    // The system's default printer; empty when there is none.
    virtual std::string DefaultName() const = 0;
    virtual bool CanOpen(const std::string& name) const = 0;
};

// The default printer when it is installed and opens, else the first
// installed printer that opens; nothing when none does (any failure counts
// as none).
std::optional<std::string> SelectUsablePrinter(const IPrinterList& printers);

}  // namespace orvella
