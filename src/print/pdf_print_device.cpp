#include "print/pdf_print_device.h"

#include "graphics/paint_device_canvas.h"
#include "platform/atomic_file.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <stdexcept>

namespace orvella {

struct TPdfPrintDevice::TJob {
    QBuffer buffer;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<TPaintDeviceCanvas> canvas;
    int32_t pages = 1;
};

TPdfPrintDevice::TPdfPrintDevice(int32_t dpi, TDeliver deliver) : dpi_(dpi), deliver_(std::move(deliver))
{
    if (dpi_ <= 0)
        throw std::invalid_argument("a printer needs a positive resolution");
}

TPdfPrintDevice::~TPdfPrintDevice() { Abort(); }

void TPdfPrintDevice::BeginDoc()
{
    if (job_)
        throw std::logic_error("the print job has begun already");
    if (paper_.cx <= 0 || paper_.cy <= 0)
        throw std::invalid_argument("the paper has no size");
    auto job = std::make_unique<TJob>();
    job->buffer.open(QIODevice::WriteOnly);
    job->writer = std::make_unique<QPdfWriter>(&job->buffer);
    job->writer->setResolution(dpi_);
    job->writer->setCreator(QStringLiteral("Orvella"));
    job->writer->setTitle(QString::fromStdString(title_));
    // Millimetres with the tenth exact: the page is the paper, no margins.
    const QPageSize size(QSizeF(paper_.cx / 10.0, paper_.cy / 10.0), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    job->writer->setPageLayout(QPageLayout(size, landscape_ ? QPageLayout::Landscape : QPageLayout::Portrait,
                                           QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    job->painter = std::make_unique<QPainter>(job->writer.get());
    if (!job->painter->isActive())
        throw std::runtime_error("the PDF cannot be started");
    job->canvas = std::make_unique<TPaintDeviceCanvas>(*job->writer);
    job_ = std::move(job);
}

void TPdfPrintDevice::flushPage()
{
    job_->canvas->Flush(*job_->painter);
    job_->canvas.reset();
}

void TPdfPrintDevice::NewPage()
{
    if (!job_)
        throw std::logic_error("no print job");
    flushPage();
    job_->writer->newPage();
    job_->canvas = std::make_unique<TPaintDeviceCanvas>(*job_->writer);
    ++job_->pages;
}

void TPdfPrintDevice::EndDoc()
{
    if (!job_)
        return;
    std::unique_ptr<TJob> job = std::move(job_);
    job->canvas->Flush(*job->painter);
    job->canvas.reset();
    job->painter->end();
    job->painter.reset();
    job->writer.reset();
    if (deliver_)
        deliver_(job->buffer.data(), title_);
}

void TPdfPrintDevice::Abort()
{
    if (!job_)
        return;
    std::unique_ptr<TJob> job = std::move(job_);
    job->canvas.reset();
    job->painter->end();
}

TCanvas& TPdfPrintDevice::Canvas()
{
    if (!job_)
        throw std::logic_error("no print job");
    return *job_->canvas;
}

int32_t TPdfPrintDevice::PageCount() const { return job_ ? job_->pages : 0; }

std::unique_ptr<TPdfPrintDevice> CreatePdfFilePrinter(const std::string& fileName, int32_t dpi)
{
    return std::make_unique<TPdfPrintDevice>(dpi, [fileName](const QByteArray& pdf, const std::string&) {
        WriteFileAtomically(fileName, std::string_view(pdf.constData(), std::size_t(pdf.size())));
    });
}

}  // namespace orvella
