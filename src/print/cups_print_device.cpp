#include "print/cups_print_device.h"

#include <cups/cups.h>

#include <stdexcept>

namespace orvella {

namespace {

std::runtime_error cupsError(const std::string& what)
{
    const char* reason = cupsLastErrorString();
    return std::runtime_error(what + ": " + (reason ? reason : "unknown error"));
}

}  // namespace

void SubmitPdfToCups(const std::string& destination, const QByteArray& pdf, const std::string& title,
                     const std::vector<std::string>& options)
{
    cups_option_t* jobOptions = nullptr;
    int optionCount = 0;
    for (const std::string& option : options)
        optionCount = cupsParseOptions(option.c_str(), optionCount, &jobOptions);
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, destination.c_str(), title.c_str(), optionCount, jobOptions);
    cupsFreeOptions(optionCount, jobOptions);
    if (job <= 0)
        throw cupsError("the job for " + destination + " cannot be created");
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, destination.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
        const std::runtime_error error = cupsError("the job for " + destination + " cannot be started");
        cupsCancelJob2(CUPS_HTTP_DEFAULT, destination.c_str(), job, 0);
        throw error;
    }
    if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), std::size_t(pdf.size())) != HTTP_STATUS_CONTINUE) {
        const std::runtime_error error = cupsError("the job for " + destination + " cannot be sent");
        cupsFinishDocument(CUPS_HTTP_DEFAULT, destination.c_str());
        cupsCancelJob2(CUPS_HTTP_DEFAULT, destination.c_str(), job, 0);
        throw error;
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, destination.c_str()) != IPP_STATUS_OK)
        throw cupsError("the job for " + destination + " was refused");
}

std::unique_ptr<TPdfPrintDevice> CreateCupsPrinter(const std::string& destination, int32_t dpi,
                                                   std::vector<std::string> options)
{
    return std::make_unique<TPdfPrintDevice>(dpi, [destination, options](const QByteArray& pdf, const std::string& title) {
        SubmitPdfToCups(destination, pdf, title, options);
    });
}

}  // namespace orvella
