#include "app/layout_glyphs.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <functional>
#include <map>
#include <string>

namespace orvella {

namespace {

constexpr int kSize = 20;

using TDraw = std::function<void(QPainter&, const QColor& ink)>;

QIcon drawn(const TDraw& draw)
{
    QIcon icon;
    for (int ratio : {1, 2}) {
        QPixmap glyph(kSize * ratio, kSize * ratio);
        glyph.setDevicePixelRatio(ratio);
        glyph.fill(Qt::transparent);
        QPainter painter(&glyph);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, QApplication::palette().color(QPalette::ButtonText));
        painter.end();
        icon.addPixmap(glyph);
    }
    return icon;
}

void text(QPainter& painter, const QColor& ink, const QString& glyph, int pixels, bool bold = true)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, glyph);
}

const std::map<std::string, TDraw, std::less<>>& glyphs()
{
    static const std::map<std::string, TDraw, std::less<>> table{
        {"actSelectTool",
         [](QPainter& p, const QColor& ink) {
             QPainterPath arrow;
             arrow.moveTo(5, 2);
             arrow.lineTo(5, 16);
             arrow.lineTo(8.5, 12.5);
             arrow.lineTo(11, 18);
             arrow.lineTo(13, 17);
             arrow.lineTo(10.5, 11.5);
             arrow.lineTo(15, 11.5);
             arrow.closeSubpath();
             p.setPen(QPen(ink, 1));
             p.setBrush(Qt::white);
             p.drawPath(arrow);
         }},
        {"actText", [](QPainter& p, const QColor& ink) { text(p, ink, QStringLiteral("A"), 16); }},
        {"actDate",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(3.5, 4.5, 13, 12));
             p.fillRect(QRectF(3.5, 4.5, 13, 3), QColor(200, 60, 60));
             for (int row = 0; row < 2; ++row)
                 for (int col = 0; col < 3; ++col)
                     p.fillRect(QRectF(5.5 + col * 3.5, 9.5 + row * 3, 2, 2), ink);
         }},
        {"actLine",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(3, 17), QPointF(17, 3));
         }},
        {"actArc",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
             p.drawArc(QRectF(3, 5, 14, 20), 20 * 16, 140 * 16);
         }},
        {"actRect",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1.4));
             p.setBrush(QColor(190, 210, 240));
             p.drawRect(QRectF(3.5, 5.5, 13, 9));
         }},
        {"actCircle",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1.4));
             p.setBrush(QColor(190, 210, 240));
             p.drawEllipse(QRectF(3.5, 4.5, 13, 11));
         }},
        {"actDecoLine",
         [](QPainter& p, const QColor& ink) {
             QPainterPath wave;
             wave.moveTo(2, 10);
             for (int x = 2; x < 18; x += 4)
                 wave.quadTo(x + 1, x % 8 == 2 ? 5 : 15, x + 4, 10);
             p.setPen(QPen(ink, 1.4));
             p.drawPath(wave);
         }},
        {"actDecoString", [](QPainter& p, const QColor& ink) { text(p, QColor(200, 80, 40), QStringLiteral("飾"), 14); (void)ink; }},
        {"actImageFile",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1));
             p.setBrush(QColor(220, 235, 250));
             p.drawRect(QRectF(2.5, 4.5, 15, 11));
             QPainterPath hill;
             hill.moveTo(3, 15);
             hill.lineTo(8, 9);
             hill.lineTo(11, 12);
             hill.lineTo(13, 10);
             hill.lineTo(17, 15);
             hill.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(70, 140, 70));
             p.drawPath(hill);
             p.setBrush(QColor(240, 190, 40));
             p.drawEllipse(QRectF(12, 6, 3, 3));
         }},
        {"actJANCode",
         [](QPainter& p, const QColor& ink) {
             const int bars[] = {1, 1, 2, 1, 1, 3, 1, 2, 1, 1};
             double x = 3;
             for (int i = 0; i < 10; ++i) {
                 if (i % 2 == 0)
                     p.fillRect(QRectF(x, 4, bars[i], 12), ink);
                 x += bars[i] + 0.5;
             }
         }},
        {"actQRStd",
         [](QPainter& p, const QColor& ink) {
             for (QPointF corner : {QPointF(3, 3), QPointF(12, 3), QPointF(3, 12)}) {
                 p.setPen(QPen(ink, 1.2));
                 p.setBrush(Qt::NoBrush);
                 p.drawRect(QRectF(corner.x() + 0.5, corner.y() + 0.5, 4, 4));
                 p.fillRect(QRectF(corner.x() + 1.8, corner.y() + 1.8, 1.6, 1.6), ink);
             }
             p.fillRect(QRectF(12, 12, 2, 2), ink);
             p.fillRect(QRectF(15, 14, 2, 3), ink);
             p.fillRect(QRectF(12, 15, 2, 2), ink);
         }},
        {"actBackground",
         [](QPainter& p, const QColor& ink) {
             QLinearGradient fill(0, 0, kSize, kSize);
             fill.setColorAt(0, QColor(120, 170, 230));
             fill.setColorAt(1, QColor(240, 200, 230));
             p.setPen(QPen(ink, 1));
             p.setBrush(fill);
             p.drawRect(QRectF(2.5, 3.5, 15, 13));
         }},
        {"actMagnify",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1.5));
             p.setBrush(Qt::white);
             p.drawEllipse(QRectF(3, 3, 10, 10));
             p.drawLine(QPointF(12, 12), QPointF(17, 17));
             p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
             p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
         }},
        {"actReduce",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1.5));
             p.setBrush(Qt::white);
             p.drawEllipse(QRectF(3, 3, 10, 10));
             p.drawLine(QPointF(12, 12), QPointF(17, 17));
             p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
         }},
        {"actAutoScale",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1.2));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(5.5, 5.5, 9, 9));
             for (QPointF corner : {QPointF(2, 2), QPointF(18, 2), QPointF(2, 18), QPointF(18, 18)}) {
                 const QPointF toward((corner.x() < 10 ? 3 : -3), (corner.y() < 10 ? 3 : -3));
                 p.drawLine(corner, corner + toward);
             }
         }},
        {"actGroup",
         [](QPainter& p, const QColor& ink) {
             p.setPen(QPen(ink, 1, Qt::DotLine));
             p.drawRect(QRectF(2.5, 2.5, 15, 15));
             p.setPen(QPen(ink, 1));
             p.setBrush(QColor(190, 210, 240));
             p.drawRect(QRectF(4.5, 4.5, 6, 6));
             p.drawEllipse(QRectF(9, 9, 7, 7));
         }},
    };
    return table;
}

}  // namespace

QIcon LayoutGlyph(std::string_view command)
{
    const auto& table = glyphs();
    const auto it = table.find(command);
    return it == table.end() ? QIcon() : drawn(it->second);
}

}  // namespace orvella
