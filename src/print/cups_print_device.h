#pragma once
// Printing to a CUPS destination: the job is composed as a PDF of the
// paper's size and handed to the queue as one document.

#include "print/pdf_print_device.h"

#include <memory>
#include <string>
#include <vector>

namespace orvella {

// Sends the PDF to the destination (CUPS_SERVER and the user's CUPS
// settings decide the server); raises with CUPS's message on failure.
// Options are "name=value" job options (a disc print's tray and sizes).
void SubmitPdfToCups(const std::string& destination, const QByteArray& pdf, const std::string& title,
                     const std::vector<std::string>& options = {});

std::unique_ptr<TPdfPrintDevice> CreateCupsPrinter(const std::string& destination, int32_t dpi,
                                                   std::vector<std::string> options = {});

}  // namespace orvella
