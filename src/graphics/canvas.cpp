#include "graphics/canvas.h"

#include "graphics/canvas_paint.h"
#include "graphics/rect_utils.h"

#include <QPainterPath>

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvella {

namespace {

#if defined(__SSE2__)
// A fill this large would push everything else out of the caches and read
// every line of the page before writing it; it goes straight to memory
// instead, as memset does for large blocks.
constexpr int64_t kStreamingFillBytes = int64_t(8) << 20;

// Fills bytes at out with pattern[i % period] (period 16 or 48; pattern
// holds period + 16 bytes), the aligned middle with non-temporal stores.
void StreamPattern(uint8_t* out, std::size_t bytes, const uint8_t* pattern, std::size_t period)
{
    const std::size_t head = std::min(bytes, (16 - (reinterpret_cast<std::uintptr_t>(out) & 15)) & 15);
    std::size_t i = 0;
    for (; i < head; ++i)
        out[i] = pattern[i % period];
    const std::size_t vectors = period / 16;
    __m128i lane[3];
    for (std::size_t k = 0; k < vectors; ++k)
        lane[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern + (head + 16 * k) % period));
    for (; i + period <= bytes; i += period)
        for (std::size_t k = 0; k < vectors; ++k)
            _mm_stream_si128(reinterpret_cast<__m128i*>(out + i + 16 * k), lane[k]);
    for (std::size_t k = 0; i + 16 <= bytes; i += 16, ++k)
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + i), lane[k]);
    for (; i < bytes; ++i)
        out[i] = pattern[i % period];
}

// A large solid copy fill of 24- or 32-bit rows; false when it is not one.
bool StreamFillRect(TPixelSurface& surface, const TRect& r, const TSpanPaint& paint)
{
    const TPixelFormat format = surface.PixelFormat();
    if (paint.kind != TSpanPaint::Kind::Solid || paint.mix != R2_COPYPEN || format == TPixelFormat::pf8bit)
        return false;
    const std::size_t pixelBytes = format == TPixelFormat::pf32bit ? 4 : 3;
    const std::size_t rowBytes = std::size_t(RectWidth(r)) * pixelBytes;
    if (int64_t(rowBytes) * RectHeight(r) < kStreamingFillBytes)
        return false;
    const std::size_t period = pixelBytes == 4 ? 16 : 48;
    uint8_t pattern[66];  // whole pixels covering period + 16 bytes
    for (std::size_t x = 0; x < sizeof pattern / pixelBytes; ++x)
        WritePixel(pattern, int32_t(x), format, paint.fore);
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        StreamPattern(surface.Row(y) + std::size_t(r.Left) * pixelBytes, rowBytes, pattern, period);
    _mm_sfence();
    return true;
}
#else
bool StreamFillRect(TPixelSurface&, const TRect&, const TSpanPaint&) { return false; }
#endif

}  // namespace

void PaintRow(uint8_t* row, TPixelFormat format, int32_t y, int32_t x0, int32_t x1, const TSpanPaint& paint)
{
    if (x0 >= x1)
        return;
    if (paint.kind == TSpanPaint::Kind::Solid && paint.mix == R2_COPYPEN) {
        const uint32_t value = paint.fore;
        switch (format) {
        case TPixelFormat::pf8bit:
            std::memset(row + x0, int(value & 0xFF), std::size_t(x1 - x0));
            return;
        case TPixelFormat::pf32bit:
        case TPixelFormat::pf24bit: {
            // Whole blocks of 16 pixels at a time: fixed-size copies the
            // compiler turns into a few wide stores.
            const std::size_t pixelBytes = format == TPixelFormat::pf32bit ? 4 : 3;
            uint8_t block[64];
            for (int32_t x = 0; x < 16; ++x)
                WritePixel(block, x, format, value);
            const std::size_t blockBytes = 16 * pixelBytes;
            uint8_t* out = row + std::size_t(x0) * pixelBytes;
            std::size_t bytes = std::size_t(x1 - x0) * pixelBytes;
            if (blockBytes == 64)
                for (; bytes >= 64; bytes -= 64, out += 64)
                    std::memcpy(out, block, 64);
            else
                for (; bytes >= 48; bytes -= 48, out += 48)
                    std::memcpy(out, block, 48);
            std::memcpy(out, block, bytes);
            return;
        }
        }
    }
    const uint32_t mask = PixelMask(format);
    for (int32_t x = x0; x < x1; ++x) {
        uint32_t colour = paint.fore;
        if (paint.kind == TSpanPaint::Kind::Hatch && !HatchBit(paint.hatch, x, y)) {
            if (!paint.opaqueBack)
                continue;
            colour = paint.back;
        }
        if (paint.mix == R2_COPYPEN) {
            WritePixel(row, x, format, colour);
            continue;
        }
        const uint32_t dest = ReadPixel(row, x, format);
        WritePixel(row, x, format, MixPen(paint.mix, colour, dest) & mask);
    }
}

TCanvas::TCanvas(TPixelSurface* surface) : surface_(surface) {}

TCanvas::~TCanvas() = default;

TPixelSurface* TCanvas::SelectSurface(TPixelSurface* surface)
{
    TPixelSurface* previous = surface_;
    surface_ = surface;
    clipChanged();
    return previous;
}

// --- mapping ---

void TCanvas::SetMapMode(int mode)
{
    state_.Mapping.MapMode = mode == MM_ANISOTROPIC ? MM_ANISOTROPIC : MM_TEXT;
    if (state_.Mapping.MapMode == MM_TEXT) {
        state_.Mapping.WindowExt = {1, 1};
        state_.Mapping.ViewportExt = {1, 1};
    }
}

void TCanvas::SetWindowExt(TSize extent)
{
    if (state_.Mapping.MapMode == MM_TEXT || extent.cx == 0 || extent.cy == 0)
        return;
    state_.Mapping.WindowExt = extent;
}

void TCanvas::SetViewportExt(TSize extent)
{
    if (state_.Mapping.MapMode == MM_TEXT || extent.cx == 0 || extent.cy == 0)
        return;
    state_.Mapping.ViewportExt = extent;
}

TRect TCanvas::LPtoDP(const TRect& r) const
{
    const TPoint a = LPtoDP(r.TopLeft());
    const TPoint b = LPtoDP(r.BottomRight());
    return NormalizeRect({a.x, a.y, b.x, b.y});
}

// --- saved states ---

int TCanvas::SaveDC()
{
    savedStates_.push_back(state_);
    return int(savedStates_.size());
}

bool TCanvas::RestoreDC(int level)
{
    const int depth = int(savedStates_.size());
    const int target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth)
        return false;
    state_ = savedStates_[std::size_t(target - 1)];
    savedStates_.resize(std::size_t(target - 1));
    clipChanged();
    return true;
}

// --- clipping ---

TRect TCanvas::surfaceBounds()
{
    TPixelSurface* surface = Surface();
    if (!surface)
        return {};
    return {0, 0, surface->Width(), surface->Height()};
}

TRect TCanvas::drawableBounds()
{
    const TRect bounds = surfaceBounds();
    if (!state_.Clip)
        return bounds;
    const QRect clip = state_.Clip->boundingRect();
    return IntersectRect(bounds, {clip.left(), clip.top(), clip.left() + clip.width(), clip.top() + clip.height()});
}

void TCanvas::SelectClipRgn(const std::optional<QRegion>& region)
{
    state_.Clip = region;
    clipChanged();
}

void TCanvas::IntersectClipRect(const TRect& logical)
{
    const TRect r = LPtoDP(logical);
    const QRegion rect(r.Left, r.Top, RectWidth(r), RectHeight(r));
    if (state_.Clip)
        state_.Clip = state_.Clip->intersected(rect);
    else
        state_.Clip = rect;
    clipChanged();
}

void TCanvas::ExcludeClipRect(const TRect& logical)
{
    const TRect r = LPtoDP(logical);
    const QRegion rect(r.Left, r.Top, RectWidth(r), RectHeight(r));
    const TRect bounds = surfaceBounds();
    const QRegion whole(bounds.Left, bounds.Top, RectWidth(bounds), RectHeight(bounds));
    state_.Clip = (state_.Clip ? *state_.Clip : whole).subtracted(rect);
    clipChanged();
}

TRect TCanvas::GetClipBox() const
{
    TRect device;
    if (state_.Clip) {
        const QRect clip = state_.Clip->boundingRect();
        device = {clip.left(), clip.top(), clip.left() + clip.width(), clip.top() + clip.height()};
    } else if (surface_) {
        device = {0, 0, surface_->Width(), surface_->Height()};
    }
    const TPoint a = DPtoLP(device.TopLeft());
    const TPoint b = DPtoLP(device.BottomRight());
    return NormalizeRect({a.x, a.y, b.x, b.y});
}

const std::vector<std::vector<std::pair<int32_t, int32_t>>>& TCanvas::clipRows()
{
    if (clipRowsValid_)
        return clipRows_;
    clipRows_.clear();
    const TRect bounds = surfaceBounds();
    clipRowsTop_ = bounds.Top;
    clipRows_.resize(std::size_t(RectHeight(bounds)));
    if (state_.Clip) {
        for (const QRect& rect : *state_.Clip) {
            const int32_t top = std::max(rect.top(), bounds.Top);
            const int32_t bottom = std::min(rect.top() + rect.height(), bounds.Bottom);
            const int32_t left = std::max(rect.left(), bounds.Left);
            const int32_t right = std::min(rect.left() + rect.width(), bounds.Right);
            if (left >= right)
                continue;
            for (int32_t y = top; y < bottom; ++y)
                clipRows_[std::size_t(y - clipRowsTop_)].push_back({left, right});
        }
        for (auto& row : clipRows_)
            std::sort(row.begin(), row.end());
    }
    clipRowsValid_ = true;
    return clipRows_;
}

// --- painting spans ---

void TCanvas::paintSpans(const std::vector<TSpan>& spans, const TSpanPaint& paint)
{
    TPixelSurface* surface = Surface();
    if (!surface || spans.empty())
        return;
    const TRect bounds = surfaceBounds();
    const TPixelFormat format = surface->PixelFormat();
    const auto* rows = state_.Clip ? &clipRows() : nullptr;
    for (const TSpan& span : spans) {
        if (span.y < bounds.Top || span.y >= bounds.Bottom)
            continue;
        if (!rows) {
            const int32_t x0 = std::max(span.x0, bounds.Left);
            const int32_t x1 = std::min(span.x1, bounds.Right);
            if (x0 < x1)
                PaintRow(surface->Row(span.y), format, span.y, x0, x1, paint);
            continue;
        }
        for (const auto& [left, right] : (*rows)[std::size_t(span.y - clipRowsTop_)]) {
            const int32_t x0 = std::max(span.x0, left);
            const int32_t x1 = std::min(span.x1, right);
            if (x0 < x1)
                PaintRow(surface->Row(span.y), format, span.y, x0, x1, paint);
        }
    }
}

void TCanvas::paintRect(const TRect& deviceRect, const TSpanPaint& paint)
{
    TPixelSurface* surface = Surface();
    if (!surface)
        return;
    const TRect r = IntersectRect(deviceRect, drawableBounds());
    if (r.IsEmpty())
        return;
    if (!state_.Clip) {
        if (StreamFillRect(*surface, r, paint))
            return;
        const TPixelFormat format = surface->PixelFormat();
        for (int32_t y = r.Top; y < r.Bottom; ++y)
            PaintRow(surface->Row(y), format, y, r.Left, r.Right, paint);
        return;
    }
    std::vector<TSpan> spans;
    spans.reserve(std::size_t(RectHeight(r)));
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        spans.push_back({y, r.Left, r.Right});
    paintSpans(spans, paint);
}

TSpanPaint TCanvas::penPaint()
{
    TSpanPaint paint;
    TPixelSurface* surface = Surface();
    paint.fore = surface ? surface->ColorToPixel(state_.Pen.Color) : 0;
    paint.mix = state_.Pen.Mode;
    return paint;
}

TSpanPaint TCanvas::brushPaint()
{
    TSpanPaint paint;
    TPixelSurface* surface = Surface();
    paint.fore = surface ? surface->ColorToPixel(state_.Brush.Color) : 0;
    paint.back = surface ? surface->ColorToPixel(state_.BkColor) : 0;
    paint.mix = state_.Pen.Mode;
    if (state_.Brush.Style != TBrushStyle::bsSolid) {
        paint.kind = TSpanPaint::Kind::Hatch;
        paint.hatch = state_.Brush.Style;
        paint.opaqueBack = state_.BkMode == OPAQUE;
    }
    return paint;
}

// --- paths ---

void TCanvas::BeginPath()
{
    pathOpen_ = true;
    path_.clear();
    figureStart_ = -1;
}

void TCanvas::EndPath() { pathOpen_ = false; }

void TCanvas::AbortPath()
{
    pathOpen_ = false;
    path_.clear();
    figureStart_ = -1;
}

void TCanvas::CloseFigure()
{
    if (!pathOpen_ || path_.empty() || figureStart_ < 0)
        return;
    path_.back().type |= PT_CLOSEFIGURE;
    figureStart_ = -1;
}

void TCanvas::addPathPoint(TPoint logical, uint8_t type)
{
    if (type != PT_MOVETO && figureStart_ < 0) {
        // A figure starts at the current position.
        figureStart_ = int32_t(path_.size());
        path_.push_back({state_.PenPos, PT_MOVETO});
    }
    if (type == PT_MOVETO) {
        if (!path_.empty() && path_.back().type == PT_MOVETO)
            path_.pop_back();
        figureStart_ = int32_t(path_.size());
    }
    path_.push_back({logical, type});
}

void TCanvas::GetPath(std::vector<TPoint>& points, std::vector<uint8_t>& types) const
{
    points.clear();
    types.clear();
    for (const PathPoint& point : path_) {
        points.push_back(point.p);
        types.push_back(point.type);
    }
}

QPainterPath TCanvas::pathToDevice(double offset) const
{
    QPainterPath path;
    for (std::size_t i = 0; i < path_.size(); ++i) {
        const TPoint d = LPtoDP(path_[i].p);
        const QPointF p(d.x + offset, d.y + offset);
        const uint8_t kind = path_[i].type & ~PT_CLOSEFIGURE;
        if (kind == PT_MOVETO) {
            path.moveTo(p);
        } else if (kind == PT_BEZIERTO && i + 2 < path_.size()) {
            const TPoint d2 = LPtoDP(path_[i + 1].p);
            const TPoint d3 = LPtoDP(path_[i + 2].p);
            path.cubicTo(p, QPointF(d2.x + offset, d2.y + offset), QPointF(d3.x + offset, d3.y + offset));
            i += 2;
        } else {
            path.lineTo(p);
        }
        if (path_[i].type & PT_CLOSEFIGURE)
            path.closeSubpath();
    }
    return path;
}

std::vector<TSpan> TCanvas::pathSpans()
{
    const QPainterPath path = pathToDevice(0);
    std::vector<TPolygonF> polygons;
    for (const QPolygonF& polygon : path.toSubpathPolygons())
        polygons.emplace_back(polygon.begin(), polygon.end());
    return PolygonSpans(polygons, state_.PolyFillMode, drawableBounds());
}

void TCanvas::FillPath()
{
    if (pathOpen_)
        return;
    paintSpans(pathSpans(), brushPaint());
    AbortPath();
}

void TCanvas::StrokePath()
{
    if (pathOpen_)
        return;
    strokeDevicePath(pathToDevice(0));
    AbortPath();
}

void TCanvas::StrokeAndFillPath()
{
    if (pathOpen_)
        return;
    if (brushVisible())
        paintSpans(pathSpans(), brushPaint());
    strokeDevicePath(pathToDevice(0));
    AbortPath();
}

QRegion RegionFromSpans(const std::vector<TSpan>& spans)
{
    std::vector<QRect> rects;
    rects.reserve(spans.size());
    for (const TSpan& span : spans)
        rects.emplace_back(span.x0, span.y, span.x1 - span.x0, 1);
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}

void TCanvas::SelectClipPath(int mode)
{
    if (pathOpen_)
        return;
    const TRect bounds = surfaceBounds();
    std::vector<TSpan> spans;
    {
        // The path's own area, not limited by the clip it is combined with.
        const QPainterPath path = pathToDevice(0);
        std::vector<TPolygonF> polygons;
        for (const QPolygonF& polygon : path.toSubpathPolygons())
            polygons.emplace_back(polygon.begin(), polygon.end());
        spans = PolygonSpans(polygons, state_.PolyFillMode, bounds);
    }
    const QRegion area = RegionFromSpans(spans);
    const QRegion current = state_.Clip ? *state_.Clip : QRegion(bounds.Left, bounds.Top, RectWidth(bounds), RectHeight(bounds));
    switch (mode) {
    case RGN_AND: state_.Clip = current.intersected(area); break;
    case RGN_OR: state_.Clip = current.united(area); break;
    case RGN_XOR: state_.Clip = current.xored(area); break;
    case RGN_DIFF: state_.Clip = current.subtracted(area); break;
    default: state_.Clip = area; break;
    }
    clipChanged();
    AbortPath();
}

}  // namespace orvella
