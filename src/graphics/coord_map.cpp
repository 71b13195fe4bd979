#include "graphics/coord_map.h"

#include "graphics/canvas.h"
#include "graphics/rect_utils.h"

#include <cstdlib>

namespace orvella {

namespace {

int32_t mapAxis(int32_t value, int32_t fromOrigin, int32_t fromExtent, int32_t toExtent, int32_t toOrigin)
{
    if (fromExtent == 0)
        return toOrigin;
    return CheckedInt32(MulDiv64(int64_t(value) - fromOrigin, toExtent, fromExtent) + toOrigin);
}

}  // namespace

TPoint TCoordMap::LogicalToDevice(TPoint p) const
{
    if (MapMode == MM_TEXT)
        return {CheckedInt32(int64_t(p.x) - WindowOrg.x + ViewportOrg.x),
                CheckedInt32(int64_t(p.y) - WindowOrg.y + ViewportOrg.y)};
    return {mapAxis(p.x, WindowOrg.x, WindowExt.cx, ViewportExt.cx, ViewportOrg.x),
            mapAxis(p.y, WindowOrg.y, WindowExt.cy, ViewportExt.cy, ViewportOrg.y)};
}

TPoint TCoordMap::DeviceToLogical(TPoint p) const
{
    if (MapMode == MM_TEXT)
        return {CheckedInt32(int64_t(p.x) - ViewportOrg.x + WindowOrg.x),
                CheckedInt32(int64_t(p.y) - ViewportOrg.y + WindowOrg.y)};
    return {mapAxis(p.x, ViewportOrg.x, ViewportExt.cx, WindowExt.cx, WindowOrg.x),
            mapAxis(p.y, ViewportOrg.y, ViewportExt.cy, WindowExt.cy, WindowOrg.y)};
}

int32_t TCoordMap::LengthToDevice(int32_t length) const
{
    if (MapMode == MM_TEXT || WindowExt.cx == 0)
        return std::abs(length);
    return CheckedInt32(std::abs(MulDiv64(length, ViewportExt.cx, WindowExt.cx)));
}

void TCoordMap::ResetMapping(TCanvas& canvas)
{
    canvas.SetMapMode(MM_TEXT);
    canvas.SetWindowOrg({0, 0});
    canvas.SetViewportOrg({0, 0});
}

void TCoordMap::Capture(const TCanvas& canvas) { *this = canvas.Mapping(); }

void TCoordMap::ApplyTo(TCanvas& canvas) const
{
    canvas.SetMapMode(MapMode);
    canvas.SetWindowExt(WindowExt);
    canvas.SetViewportExt(ViewportExt);
    canvas.SetWindowOrg({0, 0});
    canvas.SetViewportOrg({0, 0});
    const TPoint origin = canvas.LPtoDP(WindowOrg);
    canvas.SetViewportOrg({ViewportOrg.x - origin.x, ViewportOrg.y - origin.y});
}

}  // namespace orvella
