// Painting a text object: its glyph outlines, distorted and turned, the
// colour layer (shadow, outline, fill) and the coverage mask the blended
// path draws it through.

#include "objects/lo_text.h"

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "graphics/gaussian_blur.h"
#include "graphics/rect_utils.h"
#include "platform/win_math.h"

#include <algorithm>
#include <cstring>

namespace orvella {

namespace {

bool antiAliasDistortion = true;

// A scratch bitmap of the mask's size drawing with the mask's mapping.
std::unique_ptr<TBitmap> scratchLike(TBitmap& mask, TPixelFormat format)
{
    auto scratch = std::make_unique<TBitmap>(mask.Width(), mask.Height(), format);
    if (format == TPixelFormat::pf8bit)
        scratch->SetPalette(mask.Palette());
    std::memset(scratch->Bits(), 0, scratch->ByteCount());
    TCanvas& from = mask.Canvas();
    TCanvas& to = scratch->Canvas();
    to.SetMapMode(from.MapMode());
    to.SetWindowExt(from.WindowExt());
    to.SetViewportExt(from.ViewportExt());
    to.SetWindowOrg(from.WindowOrg());
    to.SetViewportOrg(from.ViewportOrg());
    return scratch;
}

// Keeps the larger coverage of each pixel: mask byte against the first byte
// of the scratch pixel.
void mergeCoverage(TBitmap& mask, TBitmap& scratch)
{
    const int32_t step = scratch.PixelFormat() == TPixelFormat::pf8bit ? 1
                         : scratch.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
    for (int32_t y = 0; y < mask.Height(); ++y) {
        uint8_t* out = mask.Row(y);
        const uint8_t* in = scratch.Row(y);
        for (int32_t x = 0; x < mask.Width(); ++x)
            out[x] = std::max(out[x], in[std::size_t(x) * std::size_t(step)]);
    }
}

void fillStroke(TCanvas& canvas, const TStroke& stroke, TColor colour)
{
    canvas.SetPolyFillMode(WINDING);
    canvas.Pen().Style = TPenStyle::psClear;
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = colour;
    stroke.MakePath(canvas);
    canvas.FillPath();
}

TStroke offsetStroke(const TStroke& stroke, TPoint offset)
{
    TStroke moved = stroke;
    for (int32_t i = 0; i < moved.Count(); ++i) {
        moved.Points(i).x += offset.x;
        moved.Points(i).y += offset.y;
    }
    return moved;
}

}  // namespace

bool AntiAliasDistortionText() { return antiAliasDistortion; }

void SetAntiAliasDistortionText(bool on) { antiAliasDistortion = on; }

const TStroke& TLOText::GlyphOutline()
{
    if (!glyphOutline_) {
        glyphOutline_.emplace();
        engine_.TextPath(*glyphOutline_, Rect(), true);
    }
    return *glyphOutline_;
}

const TStroke& TLOText::DistortedOutline()
{
    if (distortion_->IsEmpty())
        return GlyphOutline();
    if (distortedOutline_)
        return *distortedOutline_;
    // Laid out unturned and at least 72 points, so that the warp bends
    // outlines fine enough to stay smooth, then mapped onto the rectangle.
    TSimpleText copy;
    copy.Assign(engine_);
    copy.SetAngle(0);
    const int32_t h = std::max(1, copy.LineHeight());
    if (copy.Font().Size() < 72)
        copy.Font().SetSize(72);
    const int32_t h72 = copy.LineHeight();
    const TRect& r = Rect();
    const TRect layout{0, 0, MulDiv(RectWidth(r), h72, h), MulDiv(RectHeight(r), h72, h)};
    TStroke stroke;
    copy.TextPath(stroke, layout, true);
    stroke.Flatten();
    if (!IsBulged()) {
        TCoonsDistortion warp;
        warp.Assign(*distortion_);
        warp.ApplyRatio(distortionRatio_);
        warp.SetSourceRect(copy.TextBounds(layout));
        warp.SetTargetRect(r);
        warp.TransformStroke(stroke);
    }
    rotator_.TransformStroke(stroke);
    distortedOutline_ = std::move(stroke);
    return *distortedOutline_;
}

void TLOText::PaintText(TCanvas& canvas, TColorSpec& fill, TColorSpec* outline)
{
    const int saved = canvas.SaveDC();
    canvas.SetPolyFillMode(WINDING);
    const TRect bounds = GetLogicalBounds();
    const bool distorted = IsDistorted();
    if (outline) {
        const TStroke& path = DistortedOutline();
        // The stroke is twice the width: its inner half lies under the fill.
        canvas.Pen().Style = TPenStyle::psSolid;
        canvas.Pen().Width = 2 * outLineWidth_;
        canvas.Pen().Color = outline->Color();
        canvas.Brush().Style = TBrushStyle::bsClear;
        path.MakePath(canvas);
        canvas.StrokePath();
        canvas.RestoreDC(saved);
        const int inner = canvas.SaveDC();
        canvas.SetPolyFillMode(WINDING);
        path.MakePath(canvas);
        canvas.SelectClipPath(RGN_AND);
        fill.Fill(canvas, bounds);
        canvas.RestoreDC(inner);
        return;
    }
    if (!distorted && fill.IsPureColor(canvas)) {
        engine_.SetDrawingColor(fill.Color());
        engine_.DrawText(canvas, Rect());
    } else if (distorted && renderingLayer_ && (&fill == shadowColor_.get() || PlainShadowOffset() == TPoint{0, 0})) {
        // The colour layer of the blended path: the mask gives the shape
        // with anti-aliased edges. Over a shadow the text keeps to its
        // glyphs, so that the shadow's colour stays beside them.
        fill.Fill(canvas, bounds);
    } else {
        (distorted ? DistortedOutline() : GlyphOutline()).MakePath(canvas);
        canvas.SelectClipPath(RGN_AND);
        fill.Fill(canvas, bounds);
    }
    canvas.RestoreDC(saved);
}

void TLOText::paintShadowAndText(TCanvas& canvas)
{
    const TPoint o = PlainShadowOffset();
    if (o != TPoint{0, 0}) {
        if (softShadow()) {
            // The blurred mask decides where this shows.
            TColorSpec solid;
            solid.SetColor(shadowColor_->Color());
            solid.Fill(canvas, GetLogicalBounds());
        }
        const int saved = canvas.SaveDC();
        const TPoint origin = canvas.WindowOrg();
        canvas.SetWindowOrg({origin.x - o.x, origin.y - o.y});
        PaintText(canvas, *shadowColor_, nullptr);
        canvas.RestoreDC(saved);
    }
    PaintText(canvas, *textColor_, outline_ ? outlineColor_.get() : nullptr);
}

// The outlines are kept between paints: every change that moves a glyph
// drops them, and rebuilding them on each repaint cost more than the rest
// of the face.
void TLOText::Paint(TCanvas& canvas) { paintShadowAndText(canvas); }

bool TLOText::NeedsBlend()
{
    if (BlendRatio() != 100 || softShadow())
        return true;
    return AntiAliasDistortionText() && IsDistorted();
}

std::unique_ptr<TBitmap> TLOText::RenderToBitmap(TCanvas& canvas)
{
    renderingLayer_ = AntiAliasDistortionText();
    try {
        auto bitmap = TLORectBase::RenderToBitmap(canvas);
        renderingLayer_ = false;
        return bitmap;
    } catch (...) {
        renderingLayer_ = false;
        throw;
    }
}

void TLOText::maskGlyphs(TBitmap& mask, TPoint offset, bool direct)
{
    if (direct) {
        auto scratch = scratchLike(mask, TPixelFormat::pf24bit);
        TCanvas& canvas = scratch->Canvas();
        const TPoint origin = canvas.WindowOrg();
        canvas.SetWindowOrg({origin.x - offset.x, origin.y - offset.y});
        engine_.SetDrawingColor(clWhite);
        engine_.DrawText(canvas, Rect());
        mergeCoverage(mask, *scratch);
        return;
    }
    const TStroke path = offsetStroke(IsDistorted() || (outline_ && outLineWidth_ != 0) ? DistortedOutline()
                                                                                         : GlyphOutline(),
                                      offset);
    auto scratch = scratchLike(mask, TPixelFormat::pf8bit);
    fillStroke(scratch->Canvas(), path, clWhite);
    if (AntiAliasDistortionText())
        path.RenderAntiAliased(*scratch);
    mergeCoverage(mask, *scratch);
}

void TLOText::maskOutline(TBitmap& mask)
{
    if (!outline_ || outLineWidth_ == 0)
        return;
    auto scratch = scratchLike(mask, TPixelFormat::pf24bit);
    TCanvas& canvas = scratch->Canvas();
    canvas.Pen().Style = TPenStyle::psSolid;
    canvas.Pen().Width = 2 * outLineWidth_;
    canvas.Pen().Color = clWhite;
    canvas.Brush().Style = TBrushStyle::bsClear;
    DistortedOutline().MakePath(canvas);
    canvas.StrokePath();
    mergeCoverage(mask, *scratch);
}

void TLOText::PaintMask(TBitmap& mask)
{
    for (int32_t y = 0; y < mask.Height(); ++y)
        std::memset(mask.Row(y), 0, std::size_t(mask.Width()));
    auto probe = scratchLike(mask, TPixelFormat::pf24bit);
    const bool direct = !IsDistorted() && !outline_ && textColor_->IsPureColor(probe->Canvas());
    const TPoint o = PlainShadowOffset();
    if (o != TPoint{0, 0}) {
        if (softShadow()) {
            // The shadow is drawn alone, thickened and blurred, then merged.
            auto shadow = scratchLike(mask, TPixelFormat::pf8bit);
            maskGlyphs(*shadow, o, direct);
            if (boldShadow()) {
                for (TPoint step : {TPoint{-10, 0}, TPoint{10, 0}, TPoint{0, -10}, TPoint{0, 10}})
                    maskGlyphs(*shadow, {o.x + step.x, o.y + step.y}, direct);
            }
            const TPoint a = shadow->Canvas().LPtoDP(TPoint{0, 0});
            const TPoint b = shadow->Canvas().LPtoDP(TPoint{LineHeight() / 10, 0});
            const double radius = std::abs(b.x - a.x);
            GaussianBlur(*shadow, {0, 0, shadow->Width(), shadow->Height()}, radius, radius);
            mergeCoverage(mask, *shadow);
        } else {
            maskGlyphs(mask, o, direct);
        }
    }
    maskGlyphs(mask, {0, 0}, direct);
    maskOutline(mask);
}

}  // namespace orvella
