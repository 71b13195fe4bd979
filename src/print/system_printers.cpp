#include "print/system_printers.h"

#include <algorithm>
#include <cups/cups.h>
#include <exception>

namespace orvella {

TPrinterDestinations QueryCupsDestinations()
{
    TPrinterDestinations result;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < count; ++i) {
        // Instances ("printer/instance") are option sets of one queue; the
        // queue itself is the printer.
        if (dests[i].instance || !dests[i].name)
            continue;
        result.Names.emplace_back(dests[i].name);
        if (dests[i].is_default)
            result.DefaultName = dests[i].name;
    }
    cupsFreeDests(count, dests);
    return result;
}

TSystemPrinterList::TSystemPrinterList(const std::function<TPrinterDestinations()>& source)
{
    try {
        destinations_ = source();
    } catch (const std::exception&) {
        destinations_ = {};
    }
    std::erase(destinations_.Names, std::string(kPdfPrinterName));
    destinations_.Names.emplace_back(kPdfPrinterName);
}

std::vector<std::string> TSystemPrinterList::Names() const { return destinations_.Names; }

std::string TSystemPrinterList::DefaultName() const { return destinations_.DefaultName; }

bool TSystemPrinterList::CanOpen(const std::string& name) const
{
    return std::find(destinations_.Names.begin(), destinations_.Names.end(), name) != destinations_.Names.end();
}

}  // namespace orvella
