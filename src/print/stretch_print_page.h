#pragma once
// Page output over a device rectangle of the printer: either straight onto
// the printer canvas in one pass, or band by band through 24-bit bitmaps in
// memory that are stretched onto the page when the next band opens. A band
// holds at most kBandPixelBudget pixels, so a face of any size prints in
// bounded memory.

#include "graphics/bitmap.h"
#include "graphics/memory_canvas.h"
#include "print/band_layout.h"

#include <memory>
#include <vector>

namespace orvella {

class TCanvasSaver;

class TPrintPageBase {
public:
    virtual ~TPrintPageBase() = default;
    virtual TCanvas& GetCanvas() = 0;
    // Opens the next pass; false when all are done.
    virtual bool NextBand() = 0;
};

// The memory canvas of a band: it draws into the page's open band bitmap at
// the band resolution.
class TBandCanvas : public TMemoryCanvas {
public:
    explicit TBandCanvas(int32_t ppi) { SetPixelsPerInch(ppi); }
    ~TBandCanvas() override { FreeHandle(); }
    void Attach(TBitmap* bitmap);

protected:
    TBitmap* GetBitmapHandle() override { return bitmap_; }

private:
    TBitmap* bitmap_ = nullptr;
};

class TStretchPrintPage : public TPrintPageBase {
public:
    // bandPpi 0: the printer's own resolution. originShift (device pixels)
    // puts logical (0, 0) of a site drawn at origin (0, 0) on the sheet's
    // corner; device is the printer rectangle to render.
    TStretchPrintPage(TCanvas& printer, int32_t printerPpi, int32_t bandPpi, bool banding, TPoint originShift,
                      const TRect& device);
    ~TStretchPrintPage() override;

    TCanvas& GetCanvas() override;
    bool NextBand() override;

    // Bands are combined with the page by AND: white leaves the page as it was.
    void SetAndTransfer(bool value) { andTransfer_ = value; }
    bool Banding() const { return banding_; }
    int32_t BandPpi() const { return bandPpi_; }
    const std::vector<TBand>& Bands() const { return bands_; }
    // The band open now (valid while GetCanvas is the band canvas).
    const TBand& CurrentBand() const { return bands_.at(std::size_t(next_ - 1)); }

private:
    void transferBand();

    TCanvas& printer_;
    int32_t printerPpi_;
    int32_t bandPpi_;
    bool banding_;
    TPoint originShift_;
    std::shared_ptr<TCanvasSaver> saved_;
    TBandCanvas bandCanvas_;
    std::vector<TBand> bands_;
    int32_t next_ = 0;
    std::unique_ptr<TBitmap> bitmap_;
    bool andTransfer_ = false;
    bool directDone_ = false;
};

}  // namespace orvella
