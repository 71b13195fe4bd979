#pragma once
// A print device that composes each page in memory and writes the job as a
// PDF whose pages are exactly the paper; what becomes of the PDF (a file,
// a CUPS queue) is the deliverer's business.

#include "print/print_device.h"

#include <QByteArray>

#include <functional>
#include <memory>

namespace orvella {

class TPdfPrintDevice : public IPrintDevice {
public:
    using TDeliver = std::function<void(const QByteArray& pdf, const std::string& title)>;
    TPdfPrintDevice(int32_t dpi, TDeliver deliver);
    ~TPdfPrintDevice() override;

    void SetPaperSize(TSize upright) override { paper_ = upright; }
    void SetLandscape(bool landscape) override { landscape_ = landscape; }
    bool Landscape() const override { return landscape_; }
    void SetTitle(const std::string& title) override { title_ = title; }

    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return job_ != nullptr; }

    int32_t PixelsPerInch() const override { return dpi_; }
    TPoint PhysicalOffset() const override { return {0, 0}; }
    TCanvas& Canvas() override;

    // Pages written so far by the running job.
    int32_t PageCount() const;

private:
    struct TJob;
    void flushPage();

    int32_t dpi_;
    TDeliver deliver_;
    TSize paper_{2100, 2970};
    bool landscape_ = false;
    std::string title_;
    std::unique_ptr<TJob> job_;
};

// The built-in "PDF file" printer: the job goes to the file, written whole
// or not at all.
std::unique_ptr<TPdfPrintDevice> CreatePdfFilePrinter(const std::string& fileName, int32_t dpi);

}  // namespace orvella
