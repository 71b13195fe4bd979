#include "graphics/bitmap_related_dc.h"

namespace orvella {

TBitmapRelatedDC::TBitmapRelatedDC(TCanvas& canvas) : canvas_(canvas), firstSurface_(canvas.CurrentSurface())
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(firstSurface_); bitmap && bitmap->ByteCount() > 0) {
        canvas_.SelectSurface(&placeholder_);
        bitmap_ = bitmap;
    }
}

TBitmapRelatedDC::~TBitmapRelatedDC()
{
    if (bitmap_)
        canvas_.SelectSurface(firstSurface_);
}

void TBitmapRelatedDC::SetHandle(TBitmap* bitmap)
{
    if (bitmap != bitmap_)
        throw EDCRelatedBitmap();
}

bool DCHasDIBSection(TCanvas& canvas)
{
    auto* bitmap = dynamic_cast<TBitmap*>(canvas.CurrentSurface());
    return bitmap && bitmap->ByteCount() > 0;
}

}  // namespace orvella
