#include "thumbnails.h"

#include "objects/coons_distortion.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

namespace orvella::cddc {

namespace {

// A blocky 5 x 7 lettering of the sample word, so that the thumbnails do
// not depend on the fonts of the build machine.
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr std::array<std::array<const char*, kGlyphHeight>, 3> kWord = {{
    {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"},
    {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "},
    {" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"},
}};
constexpr int kGap = 1;
constexpr int kMargin = 1;  // blank glyph cells around the word
constexpr int kUnit = 100;  // source units per glyph cell
constexpr int kSteps = 4;   // points per cell side, so that curves show

constexpr int kWordColumns = int(kWord.size()) * (kGlyphWidth + kGap) - kGap + 2 * kMargin;
constexpr int kWordRows = kGlyphHeight + 2 * kMargin;

// The outline of the source rectangle from (x0, y0) to (x1, y1), mapped.
QPolygonF mappedRect(const TCoonsDistortion& pattern, int x0, int y0, int x1, int y1, int steps)
{
    QPolygonF polygon;
    auto add = [&](int x, int y) {
        TPoint point{x, y};
        pattern.TransformPoint(point);
        polygon << QPointF(point.x, point.y);
    };
    for (int i = 0; i < steps; ++i)
        add(x0 + (x1 - x0) * i / steps, y0);
    for (int i = 0; i < steps; ++i)
        add(x1, y0 + (y1 - y0) * i / steps);
    for (int i = 0; i < steps; ++i)
        add(x1 - (x1 - x0) * i / steps, y1);
    for (int i = 0; i < steps; ++i)
        add(x0, y1 - (y1 - y0) * i / steps);
    return polygon;
}

void drawCell(QPainter& painter, const TCoonsDistortion& source, const QRect& cell)
{
    TCoonsDistortion pattern;
    pattern.Assign(source);
    const TRect area{0, 0, kWordColumns * kUnit, kWordRows * kUnit};
    pattern.SetSourceRect(area);
    pattern.SetTargetRect(area);

    const QPolygonF frame = mappedRect(pattern, area.Left, area.Top, area.Right, area.Bottom, 16 * kSteps);
    QPainterPath word;
    word.setFillRule(Qt::WindingFill);
    for (std::size_t letter = 0; letter < kWord.size(); ++letter)
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (kWord[letter][std::size_t(row)][column] != '#')
                    continue;
                const int x = (kMargin + int(letter) * (kGlyphWidth + kGap) + column) * kUnit;
                const int y = (kMargin + row) * kUnit;
                word.addPolygon(mappedRect(pattern, x, y, x + kUnit, y + kUnit, kSteps));
                word.closeSubpath();
            }

    // Fit the mapped frame into the cell, keeping its proportions.
    const QRectF bounds = frame.boundingRect();
    const QRectF room = QRectF(cell).adjusted(3, 3, -3, -3);
    const qreal scale = std::min(room.width() / std::max<qreal>(bounds.width(), 1),
                                 room.height() / std::max<qreal>(bounds.height(), 1));
    QTransform fit;
    fit.translate(room.center().x(), room.center().y());
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());

    painter.save();
    painter.setTransform(fit);
    painter.setPen(QPen(QColor(0x90, 0xA8, 0xC8), 1 / scale));
    painter.setBrush(QColor(0xE8, 0xF0, 0xFA));
    painter.drawPolygon(frame);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x30, 0x70));
    painter.drawPath(word);
    painter.restore();
}

}  // namespace

QImage RenderThumbnails(const std::vector<const TCoonsDistortion*>& patterns)
{
    QImage image(kColumns * kCellWidth, kRows * kCellHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < patterns.size() && i < std::size_t(kMaxPatterns); ++i) {
        const QRect cell(int(i % kColumns) * kCellWidth, int(i / kColumns) * kCellHeight, kCellWidth, kCellHeight);
        drawCell(painter, *patterns[i], cell);
    }
    return image;
}

}  // namespace orvella::cddc
