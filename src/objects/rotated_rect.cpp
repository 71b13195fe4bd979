#include "objects/rotated_rect.h"

#include "graphics/canvas.h"
#include "objects/transformer.h"
#include "platform/win_math.h"

#include <QPolygon>

#include <algorithm>

namespace orvella {

std::array<TPoint, 4> RotatedCorners(const TRect& rect, const TRotator& rotator)
{
    return {rotator.Transformed({rect.Left, rect.Top}), rotator.Transformed({rect.Right - 1, rect.Top}),
            rotator.Transformed({rect.Right - 1, rect.Bottom - 1}), rotator.Transformed({rect.Left, rect.Bottom - 1})};
}

TRect RotatedBounds(const TRect& rect, const TRotator& rotator)
{
    if (rotator.Angle() % 360 == 0)
        return rect;
    const auto corners = RotatedCorners(rect, rotator);
    TRect bounds{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const TPoint& p : corners) {
        bounds.Left = std::min(bounds.Left, p.x);
        bounds.Top = std::min(bounds.Top, p.y);
        bounds.Right = std::max(bounds.Right, p.x);
        bounds.Bottom = std::max(bounds.Bottom, p.y);
    }
    ++bounds.Right;
    ++bounds.Bottom;
    return bounds;
}

bool HitsRotatedRect(const TRect& rect, const TRotator& rotator, TPoint point)
{
    const auto corners = RotatedCorners(rect, rotator);
    QPolygon polygon;
    for (const TPoint& p : corners)
        polygon << QPoint(p.x, p.y);
    return polygon.containsPoint(QPoint(point.x, point.y), Qt::WindingFill);
}

void FillRotatedRect(TCanvas& canvas, const TRect& rect, const TRotator& rotator)
{
    const auto corners = RotatedCorners(rect, rotator);
    canvas.Polygon({corners.begin(), corners.end()});
}

void OutlineRotatedRect(TCanvas& canvas, const TRect& rect, const TRotator& rotator)
{
    const auto corners = RotatedCorners(rect, rotator);
    canvas.Polyline({corners[0], corners[1], corners[2], corners[3], corners[0]});
}

TSize ExtentForBounds(const TRect& rect, const TRotator& rotator, int32_t width, int32_t height)
{
    if (rotator.Angle() == 0)
        return {width, height};
    const TRect bounds = RotatedBounds(rect, rotator);
    const int32_t boundsWidth = bounds.Right - bounds.Left;
    const int32_t boundsHeight = bounds.Bottom - bounds.Top;
    return {boundsWidth > 0 ? MulDiv(rect.Right - rect.Left, width, boundsWidth) : width,
            boundsHeight > 0 ? MulDiv(rect.Bottom - rect.Top, height, boundsHeight) : height};
}

}  // namespace orvella
