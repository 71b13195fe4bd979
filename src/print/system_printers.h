#pragma once
// The printers the program can use: the CUPS destinations, then a built-in
// "PDF file" printer that is always there, so that a machine without CUPS
// still has a printer to lay labels out for.

#include "frame/printer_list.h"

#include <functional>
#include <string>
#include <vector>

namespace orvella {

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

}  // namespace orvella
