#pragma once
// The printers the program can use: the CUPS destinations, then a built-in
// "PDF file" printer that is always there, so that a machine without CUPS
// still has a printer to lay labels out for.

#include <functional>
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

struct TPrinterDestinations {
    std::vector<std::string> Names;
    std::string DefaultName;
};

// The CUPS destinations (empty when CUPS cannot be asked).
TPrinterDestinations QueryCupsDestinations();

class TSystemPrinterList : public IPrinterList {
public:
    // `source` is asked once; tests hand in a fake CUPS.
    explicit TSystemPrinterList(const std::function<TPrinterDestinations()>& source = QueryCupsDestinations);
    std::vector<std::string> Names() const override;
    std::string DefaultName() const override;
    bool CanOpen(const std::string& name) const override;

private:
    TPrinterDestinations destinations_;
};

// The default printer when it is installed and opens, else the first
// installed printer that opens; nothing when none does (any failure counts
// as none).
std::optional<std::string> SelectUsablePrinter(const IPrinterList& printers);

}  // namespace orvella
