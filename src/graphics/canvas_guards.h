#pragma once
// Scope guards over canvas state. Each Save... function returns a shared
// reference; the state comes back when the last reference goes, on every
// exit path, exceptions included.

#include "graphics/canvas.h"

#include <memory>
#include <optional>

namespace orvella {

// Keeps pen, brush, font, copy mode and the font's pixels per inch, and with
// saveDevice the whole device state (mapping, clip, selected tools).
class TCanvasSaver {
public:
    TCanvasSaver(TCanvas& canvas, bool saveDevice);
    ~TCanvasSaver();
    TCanvasSaver(const TCanvasSaver&) = delete;
    TCanvasSaver& operator=(const TCanvasSaver&) = delete;

private:
    TCanvas& canvas_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    uint32_t copyMode_;
    int32_t fontPixelsPerInch_;
    int savedLevel_ = 0;
};

// Keeps the clip region (or that there was none).
class TClipSaver {
public:
    explicit TClipSaver(TCanvas& canvas);
    ~TClipSaver();
    TClipSaver(const TClipSaver&) = delete;
    TClipSaver& operator=(const TClipSaver&) = delete;

private:
    TCanvas& canvas_;
    std::optional<QRegion> clip_;
};

// While one lives, bitmap canvases handed out during a long render are not
// reclaimed.
class TBitmapCanvasProtector {
public:
    TBitmapCanvasProtector();
    ~TBitmapCanvasProtector();
    TBitmapCanvasProtector(const TBitmapCanvasProtector&) = delete;
    TBitmapCanvasProtector& operator=(const TBitmapCanvasProtector&) = delete;
};

std::shared_ptr<TCanvasSaver> SaveCanvasState(TCanvas& canvas, bool saveDevice = false);
std::shared_ptr<TClipSaver> SaveClip(TCanvas& canvas);
std::shared_ptr<TBitmapCanvasProtector> ProtectBitmapCanvases();
// What a reclaimer of idle bitmap canvases asks before it frees any.
bool BitmapCanvasReclaimSuspended();

}  // namespace orvella
