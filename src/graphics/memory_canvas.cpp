#include "graphics/memory_canvas.h"

namespace orvella {

TMemoryCanvas::TMemoryCanvas() : TCanvas(nullptr) {}

// A derived class must free the handle while its bitmap still exists; this
// only forgets the selection.
TMemoryCanvas::~TMemoryCanvas() = default;

void TMemoryCanvas::SetReferenceDC(TCanvas* reference)
{
    if (reference == referenceDC_)
        return;
    FreeHandle();
    referenceDC_ = reference;
}

int32_t TMemoryCanvas::DeviceResolution() const { return referenceDC_ ? referenceDC_->DeviceResolution() : 96; }

TDeviceTechnology TMemoryCanvas::Technology() const
{
    return referenceDC_ ? referenceDC_->Technology() : TDeviceTechnology::Display;
}

void TMemoryCanvas::HandleNeeded()
{
    if (handleAllocated_)
        return;
    handleAllocated_ = true;
    Font().SetPixelsPerInch(DeviceResolution());
    if (!TCanvas::Surface()) {
        previousSurface_ = SelectSurface(GetBitmapHandle());
        selectedBitmap_ = true;
    }
}

void TMemoryCanvas::FreeHandle()
{
    if (!handleAllocated_)
        return;
    if (selectedBitmap_)
        SelectSurface(previousSurface_);
    selectedBitmap_ = false;
    previousSurface_ = nullptr;
    handleAllocated_ = false;
}

TPixelSurface* TMemoryCanvas::Surface()
{
    HandleNeeded();
    return TCanvas::Surface();
}

}  // namespace orvella
