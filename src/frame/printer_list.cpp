#include "frame/printer_list.h"

#include <algorithm>
#include <exception>

namespace orvella {

std::optional<std::string> SelectUsablePrinter(const IPrinterList& printers)
{
    try {
        const std::vector<std::string> names = printers.Names();
        const std::string defaultName = printers.DefaultName();
        if (!defaultName.empty() && std::find(names.begin(), names.end(), defaultName) != names.end() &&
            printers.CanOpen(defaultName))
            return defaultName;
        for (const std::string& name : names)
            if (printers.CanOpen(name))
                return name;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace orvella
