#include "graphics/canvas_guards.h"

namespace orvella {

namespace {

int protectorCount = 0;  // user-interface thread only

}  // namespace

TCanvasSaver::TCanvasSaver(TCanvas& canvas, bool saveDevice)
    : canvas_(canvas),
      pen_(canvas.Pen()),
      brush_(canvas.Brush()),
      font_(canvas.Font()),
      copyMode_(canvas.CopyMode()),
      fontPixelsPerInch_(canvas.Font().PixelsPerInch)
{
    if (saveDevice)
        savedLevel_ = canvas.SaveDC();
}

TCanvasSaver::~TCanvasSaver()
{
    canvas_.Font().PixelsPerInch = fontPixelsPerInch_;
    canvas_.Font() = font_;
    canvas_.Pen() = pen_;
    canvas_.Brush() = brush_;
    canvas_.SetCopyMode(copyMode_);
    if (savedLevel_ > 0)
        canvas_.RestoreDC(savedLevel_);
}

TClipSaver::TClipSaver(TCanvas& canvas) : canvas_(canvas), clip_(canvas.ClipRegion()) {}

TClipSaver::~TClipSaver() { canvas_.SelectClipRgn(clip_); }

TBitmapCanvasProtector::TBitmapCanvasProtector() { ++protectorCount; }

TBitmapCanvasProtector::~TBitmapCanvasProtector() { --protectorCount; }

std::shared_ptr<TCanvasSaver> SaveCanvasState(TCanvas& canvas, bool saveDevice)
{
    return std::make_shared<TCanvasSaver>(canvas, saveDevice);
}

std::shared_ptr<TClipSaver> SaveClip(TCanvas& canvas) { return std::make_shared<TClipSaver>(canvas); }

std::shared_ptr<TBitmapCanvasProtector> ProtectBitmapCanvases() { return std::make_shared<TBitmapCanvasProtector>(); }

bool BitmapCanvasReclaimSuspended() { return protectorCount > 0; }

}  // namespace orvella
