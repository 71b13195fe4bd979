#pragma once
// Where the printer vendors' driver extensions come from. The vendors'
// libraries do not exist on this system; a back-end stands in for them
// with the same entry points. The program installs the CUPS back-end
// (gutenprint_backend.h), which serves disc-capable Gutenprint queues and
// leaves every other printer without extensions; tests install fakes that
// speak the vendors' byte protocols.

#include "print/canon_ext_ddi.h"
#include "print/epson_epdi.h"
#include "print/pic.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TPrinterConfiguration;

struct TDriverBackend {
    // The Canon extension's entry point for the printer; empty when it has none.
    std::function<TCanonEntryPoint(TPrinterConfiguration& printer)> CanonEntry;
    // The Epson settings library beside the printer's driver; null when it has none.
    std::function<std::shared_ptr<const TEpdmLibrary>(TPrinterConfiguration& printer)> EpsonSettings;
    // The Epson printing-information library; null when it is not there.
    std::function<std::shared_ptr<const TPicLibrary>()> PicLibrary;
    // Whether the printer is set to print on a disc, for drivers that tell
    // it outside the Canon extension.
    std::function<bool(TPrinterConfiguration& printer)> DiscMediaSelected;
};

// Installs a back-end (members left empty answer as if no vendor library
// were there). User-interface thread only.
void SetDriverBackend(TDriverBackend backend);
const TDriverBackend& DriverBackend();
// The back-end with no extension at all.
TDriverBackend UnavailableDriverBackend();

}  // namespace orvella
