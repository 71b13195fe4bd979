#include "print/printer_selection.h"

#include "print/printer_configuration.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <stdexcept>

namespace orvella {

namespace {

std::string trimmed(const std::string& text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto first = std::find_if_not(text.begin(), text.end(), space);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), space).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

TApplicationPrinter& ApplicationPrinterObject()
{
    static TApplicationPrinter printer;
    return printer;
}

std::string SystemProfileDevice()
{
    for (const char* variable : {"LPDEST", "PRINTER"})
        if (const char* value = std::getenv(variable); value && *value)
            return value;
    return {};
}

std::string GetDefaultPrinterName(const IPrinterList& printers, const std::function<std::string()>& profileDevice)
{
    std::string name = printers.DefaultName();
    if (!name.empty())
        return name;
    if (!profileDevice)
        return {};
    // The profile's form is "device,driver,port"; only the device counts.
    name = profileDevice();
    return trimmed(name.substr(0, name.find(',')));
}

bool PrinterExists(const IPrinterList& printers, const std::string& name)
{
    const std::vector<std::string> names = printers.Names();
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool CanOpenPrinter(const IPrinterList& printers, const std::string& name)
{
    try {
        return printers.CanOpen(name);
    } catch (const std::exception&) {
        return false;
    }
}

void SelectPrinterByName(const IPrinterList& printers, const std::string& name, std::shared_ptr<IPrinterQuery> query)
{
    if (!PrinterExists(printers, name))
        throw std::out_of_range("the printer " + name + " is not installed");
    // Built whole before anything changes, so a refusal leaves the old printer.
    TPrinterConfiguration configuration(name, std::move(query));
    configuration.RestoreDefaults();
    TApplicationPrinter& printer = ApplicationPrinterObject();
    printer.Device = name;
    printer.Driver = configuration.GetDriverName();
    printer.Port.clear();
    printer.DeviceMode.Assign(configuration.GetDeviceMode());
}

bool SelectDefaultPrinter(const IPrinterList& printers, std::shared_ptr<IPrinterQuery> query,
                          const std::function<std::string()>& profileDevice)
{
    try {
        const std::string preferred = GetDefaultPrinterName(printers, profileDevice);
        if (!preferred.empty() && PrinterExists(printers, preferred) && CanOpenPrinter(printers, preferred)) {
            SelectPrinterByName(printers, preferred, query);
            return true;
        }
        for (const std::string& name : printers.Names())
            if (CanOpenPrinter(printers, name)) {
                SelectPrinterByName(printers, name, query);
                return true;
            }
    } catch (const std::exception&) {
    }
    return false;
}

}  // namespace orvella
