#pragma once
// The driver back-end of CUPS queues: Gutenprint's drivers print on discs
// through their PPD options (the input slot "CD", the CD page sizes, the
// outer and inner diameters and the fine position adjustments). This
// back-end stands in for the Epson printing-information library for such
// queues: it names the tray as the largest CD page with the disc centred on
// it, and tells whether the queue is set to its disc tray. Any other queue
// has no extension.

#include "print/driver_backend.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvella {

class TPaperInfo;

// A PPD option that takes a whole number of points.
struct TPpdRange {
    int32_t Minimum = 0;
    int32_t Maximum = 0;
    int32_t Default = 0;
};

// What a Gutenprint PPD tells about printing on discs.
struct TGutenprintDisc {
    std::string PageSize;          // the largest CD page ("CDCustom", else "CD5Inch")
    int32_t PageWidthPt = 0;       // its size in points
    int32_t PageHeightPt = 0;
    std::string DefaultInputSlot;  // the queue's input slot
    std::optional<TPpdRange> OuterDiameter;  // "StpCDOuterDiameter", points
    std::optional<TPpdRange> InnerDiameter;  // "StpCDInnerDiameter", points
    std::string DefaultMediaType;
    std::vector<std::string> DiscMediaTypes;  // "MediaType" choices naming a CD

    // The queue is set to print on a disc.
    bool DiscSelected() const;

    // The tray in 0.1 mm with the disc centre in its middle.
    int32_t TrayWidth() const;
    int32_t TrayHeight() const;
};

// Reads the PPD file through libcups; none when it has no input slot "CD"
// or no CD page size, or does not open.
std::optional<TGutenprintDisc> ReadGutenprintDisc(const std::string& ppdFile);

// The job options of a disc print with a face outerWidth wide around a hole
// innerWidth wide (0.1 mm): the CD slot and page, and both diameters in
// points, kept within the driver's ranges.
std::vector<std::string> DiscJobOptions(const TGutenprintDisc& disc, int32_t outerWidth, int32_t innerWidth);

// The options a job to the queue needs for the effective paper: the disc
// options when the paper is printed onto a disc and the queue's driver
// prints discs, else none.
std::vector<std::string> DiscPrintJobOptions(const std::string& printer, const TPaperInfo& effectivePaper);

// The queue's PPD as a private temporary file that the caller removes, or
// empty when CUPS has none for it.
std::string FetchQueuePpd(const std::string& printer);

// The back-end over the given way to find a queue's disc description
// (FetchQueuePpd and ReadGutenprintDisc by default).
TDriverBackend GutenprintDriverBackend(
    std::function<std::optional<TGutenprintDisc>(const std::string& printer)> discOf = {});

// The disc description of a queue, read through FetchQueuePpd.
std::optional<TGutenprintDisc> QueueGutenprintDisc(const std::string& printer);

}  // namespace orvella
