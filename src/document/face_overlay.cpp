#include "document/face_overlay.h"

#include "document/grid.h"
#include "document/guide.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "paper/face_info.h"

namespace orvella {

namespace {

// Colours as 0x00BBGGRR.
constexpr TColor kGridLineColor = 0xC0C0C0;
constexpr TColor kGridDotColor = clBlue;
constexpr TColor kGuideColor = clBlue;
constexpr TColor kTrimLineColor = 0x808080;

}  // namespace

void PaintFaceOverlay(TCanvas& canvas, const TFaceInfo& face, const TGrid* grid, const TGuide* guide, TSize siteSize)
{
    const auto saved = SaveCanvasState(canvas);
    const TRect whole{0, 0, siteSize.cx, siteSize.cy};
    canvas.Brush().Style = TBrushStyle::bsClear;

    // Inverting keeps the print area readable over any fill beneath it.
    canvas.Pen() = TPen{clWhite, 0, TPenStyle::psSolid, R2_XORPEN};
    face.DrawPrintArea(canvas, true, face.HasCenterHole());

    if (grid && grid->Visible()) {
        if (grid->LineShape())
            canvas.Pen() = TPen{kGridLineColor, 0, TPenStyle::psDot, R2_COPYPEN};
        else
            canvas.Pen() = TPen{kGridDotColor, 0, TPenStyle::psSolid, R2_COPYPEN};
        grid->Draw(canvas, whole);
    }
    if (guide && guide->Visible()) {
        canvas.Pen() = TPen{kGuideColor, 0, TPenStyle::psDot, R2_COPYPEN};
        guide->Draw(canvas, whole);
    }

    canvas.Pen() = TPen{clBlack, 0, TPenStyle::psSolid, R2_COPYPEN};
    canvas.Rectangle(whole.Left, whole.Top, whole.Right, whole.Bottom);

    canvas.Pen() = TPen{kTrimLineColor, 0, TPenStyle::psDot, R2_COPYPEN};
    face.DrawTrimLine(canvas, true);
}

}  // namespace orvella
