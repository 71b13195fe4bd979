#include "print/soft_edge.h"

#include "graphics/canvas.h"
#include "graphics/gaussian_blur.h"
#include "graphics/rect_utils.h"
#include "paper/face_info.h"

#include <algorithm>
#include <cstring>

namespace orvella {

namespace {
constexpr int32_t kEdgeInset = 25;
constexpr int32_t kHoleGrowth = 50;
constexpr double kBlurRadius = 50;
}  // namespace

std::unique_ptr<TBitmap> MakeSoftEdgeMask(const TFaceInfo& face)
{
    TFaceInfo reduced = face;
    const TRect outer = face.GetOuterRect();
    const int32_t width = outer.Right - outer.Left;
    const int32_t height = outer.Bottom - outer.Top;
    reduced.FaceRect = {face.FaceRect.Left - outer.Left + kEdgeInset, face.FaceRect.Top - outer.Top + kEdgeInset,
                        face.FaceRect.Right - outer.Left - kEdgeInset, face.FaceRect.Bottom - outer.Top - kEdgeInset};
    reduced.FaceMargin = 0;
    reduced.CutCenterWidth = face.CutCenterWidth + kHoleGrowth;
    reduced.CutCenterHeight = face.CutCenterHeight + kHoleGrowth;

    auto mask = std::make_unique<TBitmap>();
    mask->SetSize(std::max(width, 1), std::max(height, 1), TPixelFormat::pf8bit);
    for (int32_t y = 0; y < mask->Height(); ++y)
        std::memset(mask->Row(y), 255, std::size_t(mask->Width()));
    if (reduced.FaceRect.Right > reduced.FaceRect.Left && reduced.FaceRect.Bottom > reduced.FaceRect.Top) {
        const QRegion inside = reduced.CreateFaceRegion(nullptr, true);
        for (const QRect& r : inside) {
            const int32_t left = std::clamp(r.left(), 0, mask->Width());
            const int32_t right = std::clamp(r.right() + 1, 0, mask->Width());
            for (int32_t y = std::max(r.top(), 0); y <= std::min(r.bottom(), mask->Height() - 1); ++y)
                if (right > left)
                    std::memset(mask->Row(y) + left, 0, std::size_t(right - left));
        }
    }
    GaussianBlur(*mask, {0, 0, mask->Width(), mask->Height()}, kBlurRadius, kBlurRadius);
    return mask;
}

void ApplySoftEdge(TCanvas& canvas, const TRect& area, const TBitmap& mask, TPoint outerTopLeft)
{
    TPixelSurface* surface = canvas.CurrentSurface();
    if (!surface)
        return;
    const int bytes = BytesPerPixel(surface->PixelFormat());
    if (bytes < 3)
        return;
    const TRect visit = IntersectRect(area, {0, 0, surface->Width(), surface->Height()});
    const TBitmap& source = mask;
    for (int32_t y = visit.Top; y < visit.Bottom; ++y) {
        uint8_t* row = surface->Row(y);
        for (int32_t x = visit.Left; x < visit.Right; ++x) {
            const TPoint logical = canvas.DPtoLP(TPoint{x, y});
            const int32_t mx = logical.x - outerTopLeft.x;
            const int32_t my = logical.y - outerTopLeft.y;
            const uint32_t alpha = (mx < 0 || my < 0 || mx >= source.Width() || my >= source.Height())
                                       ? 255u
                                       : source.Row(my)[mx];
            if (alpha == 0)
                continue;
            uint8_t* pixel = row + std::ptrdiff_t(x) * bytes;
            for (int c = 0; c < 3; ++c)
                pixel[c] = uint8_t((pixel[c] * (255u - alpha) + 255u * alpha + 127u) / 255u);
        }
    }
}

}  // namespace orvella
