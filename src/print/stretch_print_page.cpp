#include "print/stretch_print_page.h"

#include "graphics/canvas_guards.h"
#include "graphics/canvas_tools.h"
#include "graphics/coord_map.h"
#include "platform/win_math.h"

namespace orvella {

void TBandCanvas::Attach(TBitmap* bitmap)
{
    FreeHandle();
    bitmap_ = bitmap;
}

TStretchPrintPage::TStretchPrintPage(TCanvas& printer, int32_t printerPpi, int32_t bandPpi, bool banding,
                                     TPoint originShift, const TRect& device)
    : printer_(printer),
      printerPpi_(printerPpi),
      bandPpi_(bandPpi > 0 ? bandPpi : printerPpi),
      banding_(banding),
      originShift_(originShift),
      saved_(SaveCanvasState(printer, true)),
      bandCanvas_(bandPpi_)
{
    TCoordMap::ResetMapping(printer_);
    printer_.SetViewportOrg(originShift_);
    if (banding_)
        bands_ = SplitIntoBands(device, bandPpi_, printerPpi_);
}

TStretchPrintPage::~TStretchPrintPage()
{
    bandCanvas_.Attach(nullptr);
    bitmap_.reset();
}

TCanvas& TStretchPrintPage::GetCanvas()
{
    if (bitmap_)
        return bandCanvas_;
    return printer_;
}

void TStretchPrintPage::transferBand()
{
    const TBand& band = bands_.at(std::size_t(next_ - 1));
    bandCanvas_.Attach(nullptr);
    {
        const auto state = SaveCanvasState(printer_, false);
        TCoordMap::ResetMapping(printer_);
        TBitmap& source = *bitmap_;
        TBandCanvas from(bandPpi_);
        from.Attach(&source);
        printer_.StretchBlt(band.Device.Left, band.Device.Top, band.Device.Right - band.Device.Left,
                            band.Device.Bottom - band.Device.Top, from, 0, 0, band.PixelWidth, band.PixelHeight,
                            andTransfer_ ? SRCAND : SRCCOPY);
    }
    bitmap_.reset();
}

bool TStretchPrintPage::NextBand()
{
    if (!banding_) {
        if (directDone_)
            return false;
        directDone_ = true;
        return true;
    }
    if (bitmap_)
        transferBand();
    if (next_ >= int32_t(bands_.size()))
        return false;
    const TBand& band = bands_[std::size_t(next_++)];
    bitmap_ = std::make_unique<TBitmap>();
    bitmap_->SetSize(band.PixelWidth, band.PixelHeight, TPixelFormat::pf24bit);
    bandCanvas_.Attach(bitmap_.get());
    TCoordMap::ResetMapping(bandCanvas_);
    bandCanvas_.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    bandCanvas_.FillRect({0, 0, band.PixelWidth, band.PixelHeight});
    // Logical (0, 0) lands where it lies on the page, seen from the band.
    bandCanvas_.SetViewportOrg({MulDiv(originShift_.x - band.Device.Left, bandPpi_, printerPpi_),
                                MulDiv(originShift_.y - band.Device.Top, bandPpi_, printerPpi_)});
    return true;
}

}  // namespace orvella
