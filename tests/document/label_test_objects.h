#pragma once
// Small objects the label object tests build on: a rectangle object that
// fills its rectangle, a holder that stores a grid and guides as a sheet
// does, a canvas that reports itself as a printer, and a paper of discs.

#include "document/grid.h"
#include "document/guide.h"
#include "document/lo_face.h"
#include "document/lo_rect_base.h"
#include "graphics/canvas.h"
#include "paper/paper_info.h"

#include <memory>

namespace orvella::test {

// Fills its rectangle with Fill.
class TLOTestRect : public TLORectBase {
    ORVELLA_PERSISTENT(TLOTestRect)

public:
    TColor Fill = 0x0000FF;
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    void Paint(TCanvas& canvas) override;
};

// A face class of its own, as the sheet and print windows have.
class TLOTestFace : public TLOFace {
    ORVELLA_PERSISTENT(TLOTestFace)
};

class TSheetAids : public TComponent {
    ORVELLA_PERSISTENT(TSheetAids)

public:
    TGrid Grid;
    TGuide Guide;
};

// Draws into a bitmap but answers as a raster printer.
class TPrinterCanvas : public TCanvas {
public:
    using TCanvas::TCanvas;
    TDeviceTechnology Technology() const override { return TDeviceTechnology::RasterPrinter; }
};

// Registers the classes above for reading.
void RegisterLabelTestClasses();

// An upright sheet of 1000 x 600 with two rows of three discs of 300
// (hole 100), 10 apart, starting at (20, 20).
std::unique_ptr<TMatrixPaperInfo> DiscPaper();

}  // namespace orvella::test
