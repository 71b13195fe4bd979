#include "drawing/object_utils.h"

#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_resample.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"
#include "platform/win_math.h"

#include <QRegion>
#include <QTransform>

#include <algorithm>

namespace orvella {

namespace {

void moveAndResize(IDOEncloseBounds& object, const TRect& now, const TRect& wanted)
{
    object.SetExtent(RectWidth(wanted), RectHeight(wanted));
    object.MoveBy(wanted.Left - now.Left, wanted.Top - now.Top);
}

int32_t keepInside(int32_t centre, int32_t low, int32_t high)
{
    if (centre < low + 10)
        return low - centre + 10;
    if (centre > high - 10)
        return high - centre - 10;
    return 0;
}

}  // namespace

void KeepCentresInside(const TDOList& list, const TRect& rect)
{
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const TIntfRef<IDOEncloseBounds> enclose = Supports<IDOEncloseBounds>(&list[i]);
        if (!enclose)
            continue;
        const TPoint centre = RectCenter(enclose->GetLogicalBounds());
        const int32_t dx = keepInside(centre.x, rect.Left, rect.Right);
        const int32_t dy = keepInside(centre.y, rect.Top, rect.Bottom);
        if (dx != 0 || dy != 0)
            enclose->MoveBy(dx, dy);
    }
}

void RemapObjects(const TDOList& list, const TRect& from, const TRect& to)
{
    if (from == to || RectWidth(from) == 0 || RectHeight(from) == 0)
        return;
    const auto mapX = [&](int32_t x) {
        return from.Left + MulDiv(x - from.Left, RectWidth(to), RectWidth(from)) + (to.Left - from.Left);
    };
    const auto mapY = [&](int32_t y) {
        return from.Top + MulDiv(y - from.Top, RectHeight(to), RectHeight(from)) + (to.Top - from.Top);
    };
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const TIntfRef<IDOEncloseBounds> enclose = Supports<IDOEncloseBounds>(&list[i]);
        if (!enclose)
            continue;
        const TRect now = enclose->GetLogicalBounds();
        moveAndResize(*enclose, now, {mapX(now.Left), mapY(now.Top), mapX(now.Right), mapY(now.Bottom)});
    }
}

TSize GraphicLogicalSize(TSize pixels)
{
    return {std::max(MulDiv(pixels.cx, 254, 180), 30), std::max(MulDiv(pixels.cy, 254, 180), 30)};
}

void PlaceNewObject(TDrawObject& object, TDrawSite& site)
{
    const TIntfRef<IDOEncloseBounds> enclose = Supports<IDOEncloseBounds>(&object);
    if (!enclose)
        return;
    const TIntfRef<IDOPosition> position = Supports<IDOPosition>(&object);
    const TRect siteRect{0, 0, site.LogWidth(), site.LogHeight()};
    TRect bounds = enclose->GetLogicalBounds();
    const bool tooLarge = RectWidth(bounds) > site.LogWidth() || RectHeight(bounds) > site.LogHeight();
    if (position && position->KeepsAspect() && tooLarge) {
        moveAndResize(*enclose, bounds, FitRect(bounds, siteRect));
    } else {
        const TRect limited{0, 0, std::min(RectWidth(bounds), site.LogWidth()),
                            std::min(RectHeight(bounds), site.LogHeight())};
        moveAndResize(*enclose, bounds, CenterRectAt(limited, RectCenter(siteRect)));
    }
    const TRect visible = site.Host.VisibleRect ? site.Host.VisibleRect() : TRect{0, 0, site.Width(), site.Height()};
    const TPoint target = site.DeviceToLogical(RectCenter(visible));
    bounds = enclose->GetLogicalBounds();
    const TPoint centre = RectCenter(bounds);
    if (target != centre)
        enclose->MoveBy(target.x - centre.x, target.y - centre.y);
}

int32_t MinimumLineWidth(const TDrawObject& object, int32_t width)
{
    const TDrawSite* site = object.Parent();
    if (!site)
        return width;
    return std::max(site->DeviceToLogical({2, 0}).x, width);
}

QImage RenderFaceImage(const TFaceImageSource& face, const TDOList& objects, TSize imageSize, int32_t targetDpi)
{
    const int32_t faceWidth = RectWidth(face.Bounds);
    if (faceWidth <= 0 || RectHeight(face.Bounds) <= 0 || imageSize.cx <= 0 || imageSize.cy <= 0)
        return {};
    int32_t zoom = 100;
    if (targetDpi > 0) {
        TCanvas screen;
        zoom = std::clamp(MulDiv(imageSize.cx, targetDpi * 254, faceWidth * CanvasPixelsPerInch(screen)), 1, 100);
    }
    return FitFaceImage(*RenderFaceBitmap(face, objects, zoom), imageSize);
}

std::unique_ptr<TBitmap> RenderFaceBitmap(const TFaceImageSource& face, const TDOList& objects, int32_t zoom)
{
    const int32_t faceWidth = std::max(RectWidth(face.Bounds), 1);
    const int32_t faceHeight = std::max(RectHeight(face.Bounds), 1);
    const auto protect = ProtectBitmapCanvases();
    TDrawSite site;
    site.SetBorder(false);
    site.Scaler().SetUnitDPI(254);
    site.Scaler().SetScale(zoom);
    site.SetLogWidth(faceWidth);
    site.SetLogHeight(faceHeight);
    auto bitmap = std::make_unique<TBitmap>(std::max(site.Width(), 1), std::max(site.Height(), 1), TPixelFormat::pf24bit);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, bitmap->Width(), bitmap->Height()});

    struct Unparent {
        TDrawSite& site;
        ~Unparent()
        {
            while (site.ObjectCount() > 0)
                site.RemoveObject(site.Objects(site.ObjectCount() - 1));
        }
    } unparent{site};
    for (std::size_t i = 0; i < objects.Count(); ++i)
        site.AddObject(objects[i]);
    site.DrawTo(canvas, {0, 0}, site.Scaler().Scale());

    if (face.Shape) {
        const double scale = double(bitmap->Width()) / faceWidth;
        const QPainterPath shape = QTransform::fromScale(scale, scale).map(*face.Shape);
        const QRegion inside(shape.toFillPolygon().toPolygon());
        const auto clip = SaveClip(canvas);
        canvas.SelectClipRgn(QRegion(0, 0, bitmap->Width(), bitmap->Height()).subtracted(inside));
        canvas.FillRect({0, 0, bitmap->Width(), bitmap->Height()});
    }
    return bitmap;
}

QImage FitFaceImage(const TBitmap& bitmap, TSize imageSize)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || imageSize.cx <= 0 || imageSize.cy <= 0)
        return {};
    // The program's own resampler (an area average when shrinking): the
    // same pixels on every machine and from any thread.
    const TRect fitted = FitSize({0, 0, bitmap.Width(), bitmap.Height()}, imageSize.cx, imageSize.cy);
    TBitmap image(std::max(RectWidth(fitted), 1), std::max(RectHeight(fitted), 1), TPixelFormat::pf24bit);
    ResampleWhole(image, bitmap, TResampleQuality::Linear);
    return image.AsImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace orvella
