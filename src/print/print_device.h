#pragma once
// The printer as a print job sees it: orientation, the job with its pages,
// the device mapping (resolution and the physical corner's offset) and a
// canvas of the current page. The page is the paper as it lies.

#include "graphics/graphics_types.h"

#include <cstdint>
#include <string>

namespace orvella {

class TCanvas;

class IPrintDevice {
public:
    virtual ~IPrintDevice() = default;

    // Before BeginDoc: the paper upright in 0.1 mm, and whether it lies turned.
    virtual void SetPaperSize(TSize upright) = 0;
    virtual void SetLandscape(bool landscape) = 0;
    virtual bool Landscape() const = 0;
    virtual void SetTitle(const std::string& title) = 0;

    virtual void BeginDoc() = 0;
    virtual void NewPage() = 0;
    // Delivers the job; raises when it cannot be delivered.
    virtual void EndDoc() = 0;
    // Drops the job: nothing is delivered.
    virtual void Abort() = 0;
    // Between BeginDoc and EndDoc or Abort.
    virtual bool Printing() const = 0;

    virtual int32_t PixelsPerInch() const = 0;
    // Device pixels from the sheet's corner to the printable area's.
    virtual TPoint PhysicalOffset() const = 0;
    // The current page; valid while printing.
    virtual TCanvas& Canvas() = 0;
};

}  // namespace orvella
