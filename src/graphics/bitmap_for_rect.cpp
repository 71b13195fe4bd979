#include "graphics/bitmap_for_rect.h"

#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"

namespace orvella {

std::unique_ptr<TBitmap> CreateBitmapForRect(TCanvas& canvas, const TRect& rect, TPixelFormat pixelFormat,
                                             int32_t margin, bool copyBackground,
                                             const std::optional<std::vector<TColor>>& palette)
{
    const TRect area = IntersectRect(InflateRect(canvas.GetClipBox(), margin, margin), NormalizeRect(rect));
    const TRect device = canvas.LPtoDP(area);
    auto bitmap = std::make_unique<TBitmap>(RectWidth(device), RectHeight(device), pixelFormat);
    if (palette)
        bitmap->SetPalette(*palette);
    TCanvas& target = bitmap->Canvas();
    if (copyBackground && !device.IsEmpty()) {
        auto saved = SaveCanvasState(canvas, true);
        TCoordMap::ResetMapping(canvas);
        target.BitBlt(0, 0, RectWidth(device), RectHeight(device), canvas, device.Left, device.Top, SRCCOPY);
    }
    TCoordMap mapping;
    mapping.Capture(canvas);
    mapping.WindowOrg = area.TopLeft();
    mapping.ViewportOrg = {0, 0};
    mapping.ApplyTo(target);
    target.Font().PixelsPerInch = canvas.Font().PixelsPerInch;
    return bitmap;
}

}  // namespace orvella
