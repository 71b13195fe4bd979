// Text on the canvas: the selected font realised by the font engine, laid out
// in logical units, mapped to device pixels and filled anti-aliased.

#include "graphics/canvas.h"

#include "graphics/canvas_paint.h"
#include "graphics/rect_utils.h"
#include "platform/fonts/font_engine.h"
#include "platform/utf8.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace orvella {

namespace {

TLogFont logFontOf(const TFont& font)
{
    TLogFont logFont;
    logFont.FaceName = font.Name;
    logFont.Height = font.Height;
    logFont.Escapement = font.Orientation;
    logFont.Weight = font.Bold ? FW_BOLD : FW_NORMAL;
    logFont.Italic = font.Italic;
    logFont.Underline = font.Underline;
    logFont.StrikeOut = font.StrikeOut;
    logFont.CharSet = uint8_t(font.Charset);
    return logFont;
}

// Logical to device coordinates as an affine map; the canvas's own integer
// mapping of the reference point is kept exact by the caller.
QTransform logicalScale(const TCoordMap& mapping)
{
    return QTransform::fromScale(double(mapping.ViewportExt.cx) / mapping.WindowExt.cx,
                                 double(mapping.ViewportExt.cy) / mapping.WindowExt.cy);
}

uint8_t blendChannel(uint8_t dest, uint8_t source, uint32_t coverage)
{
    return uint8_t((dest * (255 - coverage) + source * coverage + 127) / 255);
}

}  // namespace

std::shared_ptr<const IFont> TCanvas::RealizedFont() const
{
    return FontEngine().CreateFont(logFontOf(state_.Font));
}

TTextMetric TCanvas::GetTextMetrics() const { return RealizedFont()->TextMetric(); }

TSize TCanvas::TextExtent(std::string_view text) const
{
    const std::shared_ptr<const IFont> font = RealizedFont();
    return {font->TextWidth(text), font->TextMetric().Height};
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view text)
{
    const std::shared_ptr<const IFont> font = RealizedFont();
    const std::shared_ptr<const TGlyphRun> run = font->Layout(text);
    const TTextMetric metric = font->TextMetric();
    const uint32_t align = state_.TextAlign;
    const TPoint reference = (align & TA_UPDATECP) ? state_.PenPos : TPoint{x, y};

    if (align & TA_UPDATECP) {
        // The pen moves to the far end of the text, or back to its start when
        // the text ends at the pen.
        const double moved = (align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_RIGHT) ? -run->Advance : run->Advance;
        const QPointF end = RunTransform(state_.Font.Orientation, reference.x, reference.y).map(QPointF(moved, 0));
        state_.PenPos = {int32_t(std::lround(end.x())), int32_t(std::lround(end.y()))};
    }

    // Underline and strike-out are bars along the whole run.
    QPainterPath bars;
    if (state_.Font.Underline || state_.Font.StrikeOut) {
        const TOutlineMetrics outline = font->OutlineMetrics();
        // Positions are the tops of the bars above the baseline.
        const auto bar = [&](int32_t position, int32_t size) {
            bars.addRect(QRectF(0, -position, run->Advance, std::max(1, size)));
        };
        if (state_.Font.Underline)
            bar(outline.UnderscorePosition, outline.UnderscoreSize);
        if (state_.Font.StrikeOut)
            bar(outline.StrikeoutPosition, outline.StrikeoutSize);
    }
    std::vector<const QPainterPath*> glyphs;
    glyphs.reserve(run->Glyphs.size());
    for (const TPlacedGlyph& glyph : run->Glyphs)
        glyphs.push_back(&glyph.Path);
    paintRun(reference, glyphs, run->Advance, metric, bars);
}

void TCanvas::TextOutAt(int32_t x, int32_t y, std::u32string_view characters, const std::vector<int32_t>& positions)
{
    const std::shared_ptr<const IFont> font = RealizedFont();
    const TTextMetric metric = font->TextMetric();
    // Each character's run moved to its pen position; the runs stay alive
    // in the font's layout cache while they are drawn.
    std::vector<std::shared_ptr<const TGlyphRun>> runs;
    std::vector<QPainterPath> moved;
    runs.reserve(characters.size());
    double end = 0;
    std::string text;
    for (std::size_t i = 0; i < characters.size() && i < positions.size(); ++i) {
        text.clear();
        Utf8Append(text, characters[i]);
        runs.push_back(font->Layout(text));
        for (const TPlacedGlyph& glyph : runs.back()->Glyphs)
            if (!glyph.Path.isEmpty())
                moved.push_back(glyph.Path.translated(positions[i], 0));
        end = std::max(end, double(positions[i]) + runs.back()->Advance);
    }
    std::vector<const QPainterPath*> glyphs;
    glyphs.reserve(moved.size());
    for (const QPainterPath& path : moved)
        glyphs.push_back(&path);
    const uint32_t align = state_.TextAlign;
    state_.TextAlign = align & ~uint32_t(TA_UPDATECP | TA_CENTER);
    paintRun({x, y}, glyphs, end, metric, {});
    state_.TextAlign = align;
}

void TCanvas::paintRun(TPoint reference, const std::vector<const QPainterPath*>& runGlyphs, double advance,
                       const TTextMetric& metric, const QPainterPath& bars)
{
    const uint32_t align = state_.TextAlign;
    // Where the run starts relative to the reference point, in run coordinates.
    double along = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        along = -advance / 2.0;
    else if (align & TA_RIGHT)
        along = -advance;
    double across = metric.Ascent;
    if ((align & TA_BASELINE) == TA_BASELINE)
        across = 0;
    else if (align & TA_BOTTOM)
        across = -metric.Descent;
    const QTransform runOffset = QTransform::fromTranslate(along, across);
    const int32_t escapement = state_.Font.Orientation;

    if (pathOpen_) {
        const QTransform toLogical = runOffset * RunTransform(escapement, reference.x, reference.y);
        for (const QPainterPath* glyph : runGlyphs)
            addPathOutline(toLogical.map(*glyph));
        if (!bars.isEmpty())
            addPathOutline(toLogical.map(bars));
        return;
    }

    TPixelSurface* surface = Surface();
    if (!surface)
        return;
    const TPoint deviceReference = LPtoDP(reference);
    const QTransform toDevice = runOffset * RunTransform(escapement, 0, 0) * logicalScale(state_.Mapping) *
                                QTransform::fromTranslate(deviceReference.x, deviceReference.y);

    if (state_.Brush.Style != TBrushStyle::bsClear) {
        const QPolygonF cell = toDevice.map(QRectF(0, -metric.Ascent, advance, metric.Height));
        std::vector<TPolygonF> polygons{TPolygonF(cell.begin(), cell.end())};
        TSpanPaint background;
        background.fore = surface->ColorToPixel(state_.Brush.Color);
        paintSpans(PolygonSpans(polygons, WINDING, drawableBounds()), background);
    }

    std::vector<QPainterPath> glyphs;
    glyphs.reserve(runGlyphs.size() + 1);
    QRectF inkBounds;
    for (const QPainterPath* glyph : runGlyphs) {
        if (glyph->isEmpty())
            continue;
        glyphs.push_back(toDevice.map(*glyph));
        inkBounds |= glyphs.back().controlPointRect();
    }
    if (!bars.isEmpty()) {
        glyphs.push_back(toDevice.map(bars));
        inkBounds |= glyphs.back().controlPointRect();
    }
    if (glyphs.empty())
        return;

    const TRect box = IntersectRect(TRect{int32_t(std::floor(inkBounds.left())), int32_t(std::floor(inkBounds.top())),
                                          int32_t(std::ceil(inkBounds.right())) + 1,
                                          int32_t(std::ceil(inkBounds.bottom())) + 1},
                                    drawableBounds());
    if (box.IsEmpty())
        return;
    QImage coverage(RectWidth(box), RectHeight(box), QImage::Format_Alpha8);
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-box.Left, -box.Top);
        // One glyph at a time: filling cost grows with a path's bounding box.
        for (const QPainterPath& glyph : glyphs)
            painter.fillPath(glyph, Qt::black);
    }
    blendCoverage(coverage, {box.Left, box.Top}, state_.Font.Color);
}

void TCanvas::blendCoverage(const QImage& coverage, TPoint origin, TColor colour)
{
    TPixelSurface* surface = Surface();
    if (!surface)
        return;
    const TPixelFormat format = surface->PixelFormat();
    const uint8_t red = uint8_t(colour), green = uint8_t(colour >> 8), blue = uint8_t(colour >> 16);
    const uint32_t index = surface->ColorToPixel(colour);
    const auto* rows = state_.Clip ? &clipRows() : nullptr;
    const TRect bounds = surfaceBounds();

    const auto blendRun = [&](uint8_t* row, const uchar* mask, int32_t x0, int32_t x1) {
        for (int32_t x = x0; x < x1; ++x) {
            const uint32_t a = mask[x - origin.x];
            if (a == 0)
                continue;
            if (format == TPixelFormat::pf8bit) {
                // A palette cannot mix colours: half covered or more is ink.
                if (a >= 128)
                    row[x] = uint8_t(index);
                continue;
            }
            uint8_t* pixel = row + std::size_t(x) * (format == TPixelFormat::pf32bit ? 4 : 3);
            pixel[0] = blendChannel(pixel[0], blue, a);
            pixel[1] = blendChannel(pixel[1], green, a);
            pixel[2] = blendChannel(pixel[2], red, a);
        }
    };

    for (int32_t line = 0; line < coverage.height(); ++line) {
        const int32_t y = origin.y + line;
        if (y < bounds.Top || y >= bounds.Bottom)
            continue;
        const uchar* mask = coverage.constScanLine(line);
        const int32_t left = std::max(origin.x, bounds.Left);
        const int32_t right = std::min(origin.x + coverage.width(), bounds.Right);
        uint8_t* row = surface->Row(y);
        if (!rows) {
            blendRun(row, mask, left, right);
            continue;
        }
        for (const auto& [clipLeft, clipRight] : (*rows)[std::size_t(y - clipRowsTop_)])
            blendRun(row, mask, std::max(left, clipLeft), std::min(right, clipRight));
    }
}

void TCanvas::addPathOutline(const QPainterPath& logical)
{
    const auto point = [](const QPointF& p) { return TPoint{int32_t(std::lround(p.x())), int32_t(std::lround(p.y()))}; };
    const auto closeFigure = [this] {
        if (figureStart_ < 0)
            return;
        // Closing draws the line back to the start; a point on the start is
        // not needed for it.
        const std::size_t start = std::size_t(figureStart_);
        if (path_.size() > start + 2 && path_.back().type == PT_LINETO && path_.back().p == path_[start].p)
            path_.pop_back();
        if (path_.size() > start + 1)
            path_.back().type |= PT_CLOSEFIGURE;
        figureStart_ = -1;
    };
    for (int i = 0; i < logical.elementCount(); ++i) {
        const QPainterPath::Element element = logical.elementAt(i);
        if (element.isMoveTo()) {
            closeFigure();
            addPathPoint(point(element), PT_MOVETO);
        } else if (element.isLineTo()) {
            addPathPoint(point(element), PT_LINETO);
        } else if (element.isCurveTo() && i + 2 < logical.elementCount()) {
            addPathPoint(point(element), PT_BEZIERTO);
            addPathPoint(point(logical.elementAt(i + 1)), PT_BEZIERTO);
            addPathPoint(point(logical.elementAt(i + 2)), PT_BEZIERTO);
            i += 2;
        }
    }
    closeFigure();
}

}  // namespace orvella
