#pragma once
// The application printer, the one printer the program lays labels out for
// and prints to, and how it is chosen from the printer list: by name, or
// the default printer when it is usable, else the first usable one.

#include "frame/printer_list.h"
#include "print/device_mode.h"

#include <functional>
#include <memory>
#include <string>

namespace orvella {

class IPrinterQuery;

struct TApplicationPrinter {
    std::string Device;
    std::string Driver;  // the CUPS make and model; empty for the PDF printer
    std::string Port;    // CUPS queues have none
    TmDeviceMode DeviceMode;
};

// One per process; Device is empty until a printer is chosen.
TApplicationPrinter& ApplicationPrinterObject();

// The value the system keeps beside the printing system's default: the
// LPDEST or PRINTER environment variable, as CUPS's own clients read it.
std::string SystemProfileDevice();

// The printing system's default printer; when it has none, the system
// profile's value cut at its first comma and trimmed.
std::string GetDefaultPrinterName(const IPrinterList& printers,
                                  const std::function<std::string()>& profileDevice = SystemProfileDevice);
// Whether the name is in the printer list, exactly as listed.
bool PrinterExists(const IPrinterList& printers, const std::string& name);
// Whether the printer opens; a failure to ask counts as no.
bool CanOpenPrinter(const IPrinterList& printers, const std::string& name);
// Makes the listed printer of that name the application printer, with its
// driver and its default device mode. Raises std::out_of_range for a name
// the list does not hold, and what the printing system raises for a
// printer it cannot open; the application printer then stays as it was.
void SelectPrinterByName(const IPrinterList& printers, const std::string& name,
                         std::shared_ptr<IPrinterQuery> query);
// The default printer when it is listed and opens, else the first listed
// printer that opens; false when none does (any failure counts as none).
bool SelectDefaultPrinter(const IPrinterList& printers, std::shared_ptr<IPrinterQuery> query,
                          const std::function<std::string()>& profileDevice = SystemProfileDevice);

}  // namespace orvella
