#pragma once
// Direct access to the rows of the bitmap a canvas draws into. While the view
// lives the canvas has an empty placeholder selected, so the rows and the
// canvas never change the same pixels behind each other's back.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"

#include <stdexcept>

namespace orvella {

class EDCRelatedBitmap : public std::runtime_error {
public:
    EDCRelatedBitmap() : std::runtime_error("TDCRelatedBitmap cannot change") {}
};

class TBitmapRelatedDC {
public:
    explicit TBitmapRelatedDC(TCanvas& canvas);
    ~TBitmapRelatedDC();
    TBitmapRelatedDC(const TBitmapRelatedDC&) = delete;
    TBitmapRelatedDC& operator=(const TBitmapRelatedDC&) = delete;

    // False when the canvas draws into no bitmap; callers then draw normally.
    bool IsValid() const { return bitmap_ != nullptr; }
    TBitmap& Bitmap() { return *bitmap_; }
    // The view keeps its bitmap: asking for another raises EDCRelatedBitmap.
    void SetHandle(TBitmap* bitmap);

private:
    TCanvas& canvas_;
    TPixelSurface* firstSurface_;
    TBitmap* bitmap_ = nullptr;
    TBitmap placeholder_;
};

bool DCHasDIBSection(TCanvas& canvas);

}  // namespace orvella
