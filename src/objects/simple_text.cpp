#include "objects/simple_text.h"

#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"
#include "graphics/stroke.h"
#include "objects/text_conversions.h"
#include "objects/transformer.h"
#include "platform/fonts/font_engine.h"
#include "platform/win_math.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace orvella {

namespace {

constexpr double kPi = std::numbers::pi;

double radians(double degrees) { return degrees * kPi / 180.0; }

// Keeps the canvas's font, brush and text alignment across a drawing.
class TTextStateGuard {
public:
    explicit TTextStateGuard(TCanvas& canvas)
        : canvas_(canvas), font_(canvas.Font()), brush_(canvas.Brush()), pen_(canvas.Pen()),
          align_(canvas.TextAlign())
    {
    }
    ~TTextStateGuard()
    {
        canvas_.Font() = font_;
        canvas_.Brush() = brush_;
        canvas_.Pen() = pen_;
        canvas_.SetTextAlign(align_);
    }

private:
    TCanvas& canvas_;
    TFont font_;
    TBrush brush_;
    TPen pen_;
    uint32_t align_;
};

// The layout of a measured line re-measured with the target's font and
// spread to the measured ink width, so that device metrics never change it.
TCharLayout spreadOnTarget(const TCharLayout& line, const IFont& font)
{
    TCharLayout target;
    target.Text = line.Text;
    target.Widths = CharacterWidths(font, line.Text);
    PlaceCharacters(target.Widths, line.InkWidth(), 0, 3, target);
    target.CellHeight = line.CellHeight;
    return target;
}

std::string characterText(char32_t c) { return FromCodePoints(std::u32string_view(&c, 1)); }

// The characters a line outputs (tabs only move the pen) with their positions.
void shownCharacters(const TCharLayout& line, std::u32string& shown, std::vector<int32_t>& positions)
{
    shown.reserve(line.Text.size());
    positions.reserve(line.Text.size());
    for (std::size_t i = 0; i < line.Text.size(); ++i) {
        if (line.Text[i] == U'\t')
            continue;
        shown.push_back(line.Text[i]);
        positions.push_back(line.Positions[i]);
    }
}

}  // namespace

TSimpleText::TSimpleText()
{
    font_.OnChange = [this] { changed(true); };
}

void TSimpleText::SetText(std::vector<std::string> lines)
{
    if (lines == text_)
        return;
    text_ = std::move(lines);
    changed(true, true);
}

void TSimpleText::SetAlign(int32_t align)
{
    if (align == align_)
        return;
    align_ = align;
    changed(false);
}

void TSimpleText::SetVertical(bool vertical)
{
    if (vertical == vertical_)
        return;
    vertical_ = vertical;
    changed(true);
}

void TSimpleText::SetCharSpacing(int32_t spacing)
{
    if (spacing == charSpacing_)
        return;
    charSpacing_ = spacing;
    changed(true);
}

void TSimpleText::SetLineSpacing(int32_t spacing)
{
    if (spacing == lineSpacing_)
        return;
    lineSpacing_ = spacing;
    changed(false);
}

void TSimpleText::SetBulge(int32_t bulge)
{
    if (bulge == bulge_)
        return;
    bulge_ = bulge;
    changed(false);
}

void TSimpleText::SetAngle(int32_t degrees)
{
    if (degrees == angle_)
        return;
    angle_ = degrees;
    changed(false);
}

void TSimpleText::SetHanToZen(bool value)
{
    if (value == hanToZen_)
        return;
    hanToZen_ = value;
    changed(true, true);
}

void TSimpleText::SetNumToKnj(bool value)
{
    if (value == numToKnj_)
        return;
    numToKnj_ = value;
    changed(true, true);
}

void TSimpleText::SetMinusExc(bool value)
{
    if (value == minusExc_)
        return;
    minusExc_ = value;
    changed(true, true);
}

void TSimpleText::SetFeedAngle(int32_t degrees)
{
    if (degrees == feedAngle_)
        return;
    feedAngle_ = degrees;
    changed(false);
}

void TSimpleText::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && pending_) {
        pending_ = false;
        if (OnChange)
            OnChange();
    }
}

void TSimpleText::changed(bool layout, bool conversion)
{
    if (layout)
        layouts_.clear();
    if (conversion)
        displayValid_ = false;
    if (updateCount_ > 0) {
        pending_ = true;
        return;
    }
    if (OnChange)
        OnChange();
}

void TSimpleText::Assign(const TSimpleText& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    SetText(source.text_);
    font_.Assign(source.font_);
    SetAlign(source.align_);
    SetVertical(source.vertical_);
    SetCharSpacing(source.charSpacing_);
    SetLineSpacing(source.lineSpacing_);
    SetBulge(source.bulge_);
    SetAngle(source.angle_);
    SetHanToZen(source.hanToZen_);
    SetNumToKnj(source.numToKnj_);
    SetMinusExc(source.minusExc_);
    SetFeedAngle(source.feedAngle_);
    drawingColor_ = source.drawingColor_;
    displayLines_ = source.DisplayLines();
    displayValid_ = true;
    EndUpdate();
}

int32_t TSimpleText::LineHeight() const
{
    TCanvas& measuring = MeasuringCanvas();
    measuring.Font() = PrepareTextFont(font_, vertical_, drawingColor_);
    return measuring.GetTextMetrics().Height;
}

const std::vector<std::string>& TSimpleText::DisplayLines() const
{
    if (displayValid_)
        return displayLines_;
    displayLines_ = text_.empty() ? std::vector<std::string>{kPlaceholder} : text_;
    if (hanToZen_ || numToKnj_) {
        for (std::string& line : displayLines_) {
            QString shown = QString::fromStdString(line);
            if (hanToZen_)
                shown = HanToZenConvert(shown, minusExc_ ? QChar(u'-') : QChar());
            if (numToKnj_)
                shown = NumToKnjConvert(shown);
            line = shown.toStdString();
        }
    }
    displayValid_ = true;
    return displayLines_;
}

const TCharLayout& TSimpleText::layoutOf(std::size_t line) const
{
    const std::vector<std::string>& lines = DisplayLines();
    if (layouts_.size() != lines.size()) {
        layouts_.assign(lines.size(), {});
        TCanvas& measuring = MeasuringCanvas();
        measuring.Font() = PrepareTextFont(font_, vertical_, drawingColor_);
        const std::shared_ptr<const IFont> font = measuring.RealizedFont();
        const int32_t cell = font->TextMetric().Height;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            TCharLayout& layout = layouts_[i];
            layout.Text = ToCodePoints(lines[i]);
            layout.Widths = CharacterWidths(*font, layout.Text);
            layout.CellHeight = cell;
        }
    }
    return layouts_[line];
}

std::vector<int32_t> TSimpleText::placeLines(int32_t width, int32_t align) const
{
    const std::size_t n = DisplayLines().size();
    for (std::size_t j = 0; j < n; ++j) {
        TCharLayout& layout = const_cast<TCharLayout&>(layoutOf(j));
        PlaceCharacters(layout.Widths, width, charSpacing_, align, layout);
    }
    std::vector<int32_t> shifts(n, 0);
    if (feedAngle_ != 0 && (align == 0 || align == 2) && n > 0) {
        const double step = std::sin(radians(-feedAngle_)) * (LineHeight() + lineSpacing_);
        double first = 0;
        if ((align == 0 && step < 0) || (align == 2 && step >= 0))
            first = -(step * double(n - 1));
        for (std::size_t j = 0; j < n; ++j)
            shifts[j] = RoundHalfAway(first + double(j) * step);
    }
    shifts_ = shifts;
    return shifts;
}

TRect TSimpleText::TextBounds(const TRect& rect, bool ignoreJustify) const
{
    int32_t align = align_;
    if (ignoreJustify && align == 3)
        align = 0;
    const int32_t h = LineHeight();
    const std::vector<std::string>& lines = DisplayLines();
    const int32_t n = int32_t(lines.size());
    if (n == 0) {
        return vertical_ ? TRect{rect.Right - h, rect.Top, rect.Right, rect.Top}
                         : TRect{rect.Left, rect.Top, rect.Left, rect.Top + h};
    }
    const int32_t extent = SaturateInt32(int64_t(n) * (int64_t(h) + lineSpacing_) - lineSpacing_);
    const int32_t width = vertical_ ? RectHeight(rect) : RectWidth(rect);
    const int32_t origin = vertical_ ? rect.Top : rect.Left;
    const std::vector<int32_t> shifts = placeLines(width, align);

    int64_t from = std::numeric_limits<int64_t>::max();
    int64_t to = std::numeric_limits<int64_t>::min();
    for (int32_t j = 0; j < n; ++j) {
        const TCharLayout& layout = layouts_[std::size_t(j)];
        if (layout.Text.empty())
            continue;
        from = std::min<int64_t>(from, int64_t(origin) + layout.InkLeft + shifts[std::size_t(j)]);
        to = std::max<int64_t>(to, int64_t(origin) + layout.InkRight + shifts[std::size_t(j)]);
    }
    const bool set = from <= to;
    if (!vertical_) {
        return {set ? SaturateInt32(from) : rect.Left, rect.Top, set ? SaturateInt32(to) : rect.Right,
                SaturateInt32(int64_t(rect.Top) + extent)};
    }
    return {SaturateInt32(int64_t(rect.Right) - extent), set ? SaturateInt32(from) : rect.Top, rect.Right,
            set ? SaturateInt32(to) : rect.Bottom};
}

void TSimpleText::DrawText(TCanvas& canvas, const TRect& rect) const { drawText(canvas, rect, true); }

void TSimpleText::drawText(TCanvas& canvas, const TRect& rect, bool withLines) const
{
    TextBounds(rect);
    TTextStateGuard guard(canvas);
    canvas.Font() = PrepareTextFont(font_, vertical_, drawingColor_);
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    if (bulge_ != 0)
        drawArc(canvas, rect);
    else if (angle_ != 0)
        drawRotated(canvas, rect, withLines);
    else
        drawPlain(canvas, rect, withLines);
}

void TSimpleText::drawPlain(TCanvas& canvas, const TRect& rect, bool withLines) const
{
    const std::shared_ptr<const IFont> font = canvas.RealizedFont();
    const std::size_t n = DisplayLines().size();
    int64_t across = vertical_ ? rect.Right : rect.Top;
    for (std::size_t j = 0; j < n; ++j) {
        const TCharLayout& line = layouts_[j];
        const int32_t start = (vertical_ ? rect.Top : rect.Left) + line.InkLeft + shifts_[j];
        if (!line.Text.empty() && line.InkWidth() > 0 && line.CellHeight > 0) {
            const TCharLayout target = spreadOnTarget(line, *font);
            std::u32string shown;
            std::vector<int32_t> positions;
            shownCharacters(target, shown, positions);
            if (vertical_)
                canvas.TextOutAt(int32_t(across), start, shown, positions);
            else
                canvas.TextOutAt(start, int32_t(across), shown, positions);
            if (withLines) {
                const TRect lineRect = vertical_
                    ? TRect{int32_t(across) - line.CellHeight, start, int32_t(across), start + line.InkWidth()}
                    : TRect{start, int32_t(across), start + line.InkWidth(), int32_t(across) + line.CellHeight};
                drawBars(canvas, lineRect, rect, 0);
            }
        }
        const int64_t advance = int64_t(line.CellHeight) + lineSpacing_;
        across += vertical_ ? -advance : advance;
    }
}

void TSimpleText::drawRotated(TCanvas& canvas, const TRect& rect, bool withLines) const
{
    canvas.Font().Orientation = vertical_ ? 2700 - angle_ * 10 : -angle_ * 10;
    const std::shared_ptr<const IFont> font = canvas.RealizedFont();
    const TRotator rotator(angle_, RectCenter(rect));
    const double a = radians(vertical_ ? angle_ + 90 : angle_);
    const double cosA = std::cos(a), sinA = std::sin(a);
    const std::size_t n = DisplayLines().size();
    int64_t across = vertical_ ? rect.Right : rect.Top;
    for (std::size_t j = 0; j < n; ++j) {
        const TCharLayout& line = layouts_[j];
        const int32_t start = (vertical_ ? rect.Top : rect.Left) + line.InkLeft + shifts_[j];
        const int32_t h = line.CellHeight;
        if (!line.Text.empty() && line.InkWidth() > 0 && h > 0) {
            const TRect lineRect = vertical_
                ? TRect{int32_t(across) - h, start, int32_t(across), start + line.InkWidth()}
                : TRect{start, int32_t(across), start + line.InkWidth(), int32_t(across) + h};
            const TPoint centre = rotator.Transformed(RectCenter(lineRect));
            const TCharLayout target = spreadOnTarget(line, *font);
            std::u32string shown;
            std::vector<int32_t> positions;
            shownCharacters(target, shown, positions);
            // The line starts half its ink width before the turned centre,
            // its top half a cell above it.
            const double m = -target.InkLeft - line.InkWidth() / 2.0;
            const double x = centre.x + cosA * m - sinA * (-h / 2.0);
            const double y = centre.y + sinA * m + cosA * (-h / 2.0);
            canvas.TextOutAt(int32_t(std::floor(x)), int32_t(std::floor(y)), shown, positions);
            if (withLines)
                drawBars(canvas, lineRect, rect, angle_);
        }
        const int64_t advance = int64_t(h) + lineSpacing_;
        across += vertical_ ? -advance : advance;
    }
}

void TSimpleText::drawBars(TCanvas& canvas, const TRect& lineRect, const TRect& rect, int32_t angle) const
{
    if (!font_.Underline() && !font_.StrikeOut())
        return;
    const std::shared_ptr<const IFont> font = canvas.RealizedFont();
    const TTextMetric metric = font->TextMetric();
    const TOutlineMetrics outline = font->OutlineMetrics();
    struct Bar {
        int32_t offset;
        int32_t thickness;
    };
    std::vector<Bar> bars;
    const bool haveOutline = outline.EmHeight > 0;
    if (font_.Underline()) {
        bars.push_back(haveOutline ? Bar{metric.Ascent - outline.UnderscorePosition, std::max(1, outline.UnderscoreSize)}
                                   : Bar{metric.ExternalLeading + metric.Ascent, 1});
    }
    if (font_.StrikeOut()) {
        bars.push_back(haveOutline ? Bar{metric.Ascent - outline.StrikeoutPosition, std::max(1, outline.StrikeoutSize)}
                                   : Bar{MulDiv(metric.Ascent, 3, 4) + metric.ExternalLeading, 1});
    }
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = drawingColor_;
    canvas.Pen().Style = TPenStyle::psClear;
    const TRotator rotator(angle, RectCenter(rect));
    for (const Bar& bar : bars) {
        const TRect r = vertical_ ? TRect{lineRect.Right - bar.offset - bar.thickness, lineRect.Top,
                                          lineRect.Right - bar.offset, lineRect.Bottom}
                                  : TRect{lineRect.Left, lineRect.Top + bar.offset, lineRect.Right,
                                          lineRect.Top + bar.offset + bar.thickness};
        std::vector<TPoint> corners{{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
        for (TPoint& p : corners)
            rotator.TransformPoint(p);
        canvas.Polygon(corners);
    }
    canvas.Brush().Style = TBrushStyle::bsClear;
}

TSimpleText::TArc TSimpleText::ArcOfChord(const TRect& rect) const
{
    TArc arc;
    const TPoint middle = RectCenter(rect);
    TPoint p1 = vertical_ ? TPoint{middle.x, rect.Top} : TPoint{rect.Left, middle.y};
    TPoint p2 = vertical_ ? TPoint{middle.x, rect.Bottom} : TPoint{rect.Right, middle.y};
    const TRotator rotator(angle_, middle);
    rotator.TransformPoint(p1);
    rotator.TransformPoint(p2);
    const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
    const double d = std::hypot(dx, dy);
    if (d <= 0)
        return arc;
    const double mx = (double(p1.x) + p2.x) / 2, my = (double(p1.y) + p2.y) / 2;
    const double e = std::abs(double(bulge_));
    double r = d / 2, cx = mx, cy = my;
    if (e >= 1 && d >= 0.9) {
        r = d * d / (8 * e) + e / 2;
        // The centre lies on the side away from the arc: below a left-to-right
        // chord that arcs upwards.
        const double side = bulge_ > 0 ? 1 : -1;
        cx = mx + side * (r - e) / d * -dy;
        cy = my + side * (r - e) / d * dx;
    }
    r = std::trunc(r);
    cx = std::trunc(cx);
    cy = std::trunc(cy);
    const auto angleOf = [&](TPoint p) {
        double t = std::atan2(p.y - cy, p.x - cx);
        if (t < 0)
            t += 2 * kPi;
        return t;
    };
    double t1 = angleOf(p1), t2 = angleOf(p2);
    if (bulge_ < 0)
        std::swap(t1, t2);
    double sweep = t2 - t1;
    if (sweep < 0)
        sweep += 2 * kPi;
    arc.CentreX = cx;
    arc.CentreY = cy;
    arc.Radius = r;
    arc.Start = bulge_ >= 0 ? t1 : t2;
    arc.Sweep = sweep;
    arc.OuterRadius = r + LineHeight() / 2;
    arc.Valid = true;
    return arc;
}

void TSimpleText::drawArc(TCanvas& canvas, const TRect& rect) const
{
    const TArc arc = ArcOfChord(rect);
    if (!arc.Valid)
        return;
    const double sign = bulge_ > 0 ? 1 : -1;
    const TFont baseFont = canvas.Font();
    double outer = arc.OuterRadius;
    const std::size_t n = DisplayLines().size();
    for (std::size_t j = 0; j < n; ++j) {
        TCharLayout& line = const_cast<TCharLayout&>(layoutOf(j));
        PlaceCharacters(line.Widths, 0, charSpacing_, 0, line);
        const int32_t h = line.CellHeight;
        const double inkWidth = line.InkWidth();
        const std::size_t k = line.Text.size();
        if (k > 0 && inkWidth > 0 && h > 0) {
            double span = outer == h ? inkWidth : inkWidth / (outer - h);
            double start = arc.Start;
            switch (align_) {
            case 1:
                start += sign * (arc.Sweep - span) / 2;
                break;
            case 2:
                start += sign * (arc.Sweep - span);
                break;
            case 3:
                span = arc.Sweep;
                break;
            default:
                break;
            }
            double inner = outer - h;
            if (inner == 0)
                inner = 1;
            const double middle = outer - h / 2.0;
            const double gap = k > 1 ? (span - inkWidth / inner) / double(k - 1) : 0;
            for (std::size_t i = 0; i < k; ++i) {
                if (line.Text[i] == U'\t')
                    continue;
                const TABC& w = line.Widths[i];
                const double c = w.A + line.Positions[i] - line.InkLeft + w.B / 2.0;
                const double alpha = start + sign * (double(i) * gap + c / inner);
                const double beta = alpha * 180 / kPi + sign * 90;
                TFont font = baseFont;
                font.Orientation = vertical_ ? 2700 - RoundHalfAway(beta * 10) : -RoundHalfAway(beta * 10);
                canvas.Font() = font;
                // The reference point that puts the ink's centre on the middle circle.
                const QPointF inkCentre =
                    RunTransform(font.Orientation, 0, 0).map(QPointF(w.A + w.B / 2.0, h / 2.0));
                const double x = arc.CentreX + std::cos(alpha) * middle - inkCentre.x();
                const double y = arc.CentreY + std::sin(alpha) * middle - inkCentre.y();
                canvas.TextOut(int32_t(std::lround(x)), int32_t(std::lround(y)), characterText(line.Text[i]));
            }
        }
        outer -= double(h) + lineSpacing_;
    }
    canvas.Font() = baseFont;
}

void TSimpleText::TextPath(TStroke& stroke, const TRect& rect, bool withLines) const
{
    TCanvas& measuring = MeasuringCanvas();
    measuring.BeginPath();
    drawText(measuring, rect, withLines);
    measuring.EndPath();
    stroke.Clear();
    stroke.AppendPath(measuring);
    measuring.AbortPath();
}

}  // namespace orvella
