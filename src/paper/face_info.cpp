#include "paper/face_info.h"

#include "graphics/rect_utils.h"
#include "paper/face_outline.h"
#include "paper/paper_info.h"
#include "platform/win_math.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>
#include <limits>
#include <utility>

namespace orvella {

namespace {

TRect grow(const TRect& r, int64_t by)
{
    return {SaturateInt32(r.Left - by), SaturateInt32(r.Top - by), SaturateInt32(r.Right + by), SaturateInt32(r.Bottom + by)};
}

TRect shift(const TRect& r, TPoint by)
{
    return {SaturateInt32(int64_t(r.Left) + by.x), SaturateInt32(int64_t(r.Top) + by.y), SaturateInt32(int64_t(r.Right) + by.x),
            SaturateInt32(int64_t(r.Bottom) + by.y)};
}

}  // namespace

void TFaceInfo::LoadFromPaper(const TPaperInfo& paper, int32_t index)
{
    FaceMargin = paper.GetFaceMargin(index);
    FaceRect = paper.GetFaceRect(index);
    FaceShape = paper.GetFaceShape(index);
    FacePurpose = paper.GetFacePurpose(index);
    CenterShape = paper.GetCenterShape(index);
    RoundSize = paper.GetRoundSize(index);
    const TSize hole = paper.GetCutCenterSize(index);
    CutCenterWidth = hole.cx;
    CutCenterHeight = hole.cy;
    if (paper.Landscape) {
        FaceRect = paper.RotateRect(FaceRect);
        std::swap(CutCenterWidth, CutCenterHeight);
    }
}

void TFaceInfo::SetFaceType(int32_t code)
{
    if (const auto legacy = LegacyFaceType(code)) {
        FaceShape = legacy->Shape;
        FacePurpose = legacy->Purpose;
    }
}

TRect TFaceInfo::GetOuterRect() const { return grow(FaceRect, FaceMargin); }

void TFaceInfo::SetOuterRect(const TRect& outer) { FaceRect = grow(outer, -int64_t(FaceMargin)); }

TRect TFaceInfo::GetCenterRect() const
{
    // Integer division truncates toward zero, as the hole's placement always did.
    const int64_t left = FaceRect.Left + (int64_t(FaceRect.Right) - FaceRect.Left - CutCenterWidth) / 2;
    const int64_t top = FaceRect.Top + (int64_t(FaceRect.Bottom) - FaceRect.Top - CutCenterHeight) / 2;
    return {SaturateInt32(left), SaturateInt32(top), SaturateInt32(left + CutCenterWidth), SaturateInt32(top + CutCenterHeight)};
}

TRect TFaceInfo::GetHoleRect() const { return grow(GetCenterRect(), -int64_t(FaceMargin)); }

QRegion TFaceInfo::CreateFaceRegion(const TCanvas* canvas, bool cutHole) const
{
    TRect outer = GetOuterRect();
    TRect hole = GetHoleRect();
    int32_t cornerWidth = RoundSize;
    int32_t cornerHeight = RoundSize;
    if (canvas) {
        outer = canvas->LPtoDP(outer);
        hole = canvas->LPtoDP(hole);
        // The corner ellipse in device pixels, each way on its own: the drawn
        // outline (RoundRect) maps its width and height apart, and the
        // region must cover what it encloses.
        const TPoint origin = canvas->LPtoDP(TPoint{0, 0});
        const TPoint cornerPoint = canvas->LPtoDP(TPoint{RoundSize, RoundSize});
        cornerWidth = SaturateInt32(std::llabs((long long)cornerPoint.x - origin.x));
        cornerHeight = SaturateInt32(std::llabs((long long)cornerPoint.y - origin.y));
    }
    QRegion region = FaceShapeRegion(FaceShape, outer, cornerWidth, cornerHeight);
    if (cutHole && HasCenterHole())
        region = region.subtracted(CenterShapeRegion(CenterShape, hole));
    return region;
}

TPoint TFaceInfo::originShift(bool atOrigin) const
{
    if (!atOrigin)
        return {0, 0};
    const TRect outer = GetOuterRect();
    return {-outer.Left, -outer.Top};
}

void TFaceInfo::DrawPrintArea(TCanvas& canvas, bool atOrigin, bool withCross) const
{
    const TPoint by = originShift(atOrigin);
    TRect last = shift(GetOuterRect(), by);
    DrawFaceShape(canvas, FaceShape, last, RoundSize);
    if (HasCenterHole()) {
        last = shift(GetHoleRect(), by);
        DrawCenterShape(canvas, CenterShape, last);
    }
    if (withCross) {
        const TPoint centre = RectCenter(last);
        canvas.MoveTo(centre.x - 50, centre.y);
        canvas.LineTo(centre.x + 50, centre.y);
        canvas.MoveTo(centre.x, centre.y - 50);
        canvas.LineTo(centre.x, centre.y + 50);
    }
}

void TFaceInfo::DrawTrimLine(TCanvas& canvas, bool atOrigin) const
{
    if (FaceMargin == 0)
        return;
    const TPoint by = originShift(atOrigin);
    DrawFaceShape(canvas, FaceShape, shift(FaceRect, by), RoundSize);
    if (HasCenterHole())
        DrawCenterShape(canvas, CenterShape, shift(GetCenterRect(), by));
}

void TFaceInfo::DrawHole(TCanvas& canvas, bool atOrigin) const
{
    if (HasCenterHole())
        DrawCenterShape(canvas, CenterShape, shift(GetHoleRect(), originShift(atOrigin)));
}

int32_t FindFaceOutsidePaper(const TPaperInfo& paper)
{
    const TRect sheet{0, 0, paper.Width(), paper.Height()};
    for (int32_t i = 0; i < paper.GetFaceCount(); ++i) {
        const TRect bounds = paper.GetFaceBounds(i);
        const TRect common = IntersectRect(bounds, sheet);
        if (common.IsEmpty() || common != bounds)
            return i;
    }
    return -1;
}

int32_t FindOverlappingFace(const TPaperInfo& paper)
{
    // Meeting the union of the earlier faces is meeting one of them. Regions
    // are costly to build, so they are made only for faces whose outer
    // rectangles meet, which on a real sheet is almost never.
    struct Seen {
        TRect outer;
        TFaceInfo face;
        std::optional<QRegion> region;
    };
    const auto regionOf = [](Seen& seen) -> const QRegion& {
        if (!seen.region)
            seen.region = seen.face.CreateFaceRegion(nullptr, false);
        return *seen.region;
    };
    std::vector<Seen> faces;
    for (int32_t i = 0; i < paper.GetFaceCount(); ++i) {
        Seen current;
        current.face.LoadFromPaper(paper, i);
        current.outer = current.face.GetOuterRect();
        for (Seen& earlier : faces)
            if (!IntersectRect(current.outer, earlier.outer).IsEmpty() && regionOf(current).intersects(regionOf(earlier)))
                return i;
        faces.push_back(std::move(current));
    }
    return -1;
}

}  // namespace orvella
