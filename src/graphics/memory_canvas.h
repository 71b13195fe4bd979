#pragma once
// A canvas over a memory drawing context: it imitates the resolution of a
// reference device (the screen when there is none) and draws into the bitmap
// that GetBitmapHandle yields. The bitmap is selected on the first drawing
// call and deselected when the handle is freed.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"

namespace orvella {

class TMemoryCanvas : public TCanvas {
public:
    TMemoryCanvas();
    ~TMemoryCanvas() override;

    TCanvas* ReferenceDC() const { return referenceDC_; }
    // A different device frees the handle; the next drawing call makes it anew.
    void SetReferenceDC(TCanvas* reference);
    // 0: the reference device's resolution applies.
    int32_t PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int32_t ppi) { pixelsPerInch_ = ppi; }

    bool HandleAllocated() const { return handleAllocated_; }
    void HandleNeeded();
    void FreeHandle();

    int32_t DeviceResolution() const override;
    TDeviceTechnology Technology() const override;

protected:
    virtual TBitmap* GetBitmapHandle() = 0;
    TPixelSurface* Surface() override;

private:
    TCanvas* referenceDC_ = nullptr;
    int32_t pixelsPerInch_ = 0;
    bool handleAllocated_ = false;
    bool selectedBitmap_ = false;
    TPixelSurface* previousSurface_ = nullptr;  // restored when the bitmap is deselected
};

}  // namespace orvella
