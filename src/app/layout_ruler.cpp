#include "app/layout_ruler.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orvella {

namespace {

constexpr int kThickness = 20;

}  // namespace

TRuler::TRuler(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), orientation_(orientation)
{
    setObjectName(orientation == Qt::Horizontal ? QStringLiteral("rlrHorizontal") : QStringLiteral("rlrVertical"));
    if (orientation == Qt::Horizontal)
        setFixedHeight(kThickness);
    else
        setFixedWidth(kThickness);
    setCursor(orientation == Qt::Horizontal ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    setToolTip(QStringLiteral("ドラッグしてガイドを追加"));
}

QSize TRuler::sizeHint() const { return {kThickness, kThickness}; }

void TRuler::SetLength(double millimetres)
{
    if (length_ == millimetres)
        return;
    length_ = millimetres;
    update();
}

void TRuler::SetMapping(double pixelsPerMm, int origin)
{
    if (pixelsPerMm_ == pixelsPerMm && origin_ == origin)
        return;
    pixelsPerMm_ = pixelsPerMm > 0 ? pixelsPerMm : 1;
    origin_ = origin;
    update();
}

void TRuler::SetMarker(int position)
{
    if (marker_ == position)
        return;
    const int old = marker_;
    marker_ = position;
    // Only the two marker lines change.
    for (int at : {old, position}) {
        if (at < 0)
            continue;
        if (orientation_ == Qt::Horizontal)
            update(at - 1, 0, 3, height());
        else
            update(0, at - 1, width(), 3);
    }
}

void TRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool horizontal = orientation_ == Qt::Horizontal;
    const int along = horizontal ? width() : height();
    const int across = horizontal ? height() : width();
    painter.fillRect(rect(), palette().window());
    // The face's extent is white, as paper.
    const int faceStart = origin_;
    const int faceEnd = origin_ + int(std::lround(length_ * pixelsPerMm_));
    const QRect face = horizontal ? QRect(faceStart, 2, faceEnd - faceStart, across - 2)
                                  : QRect(2, faceStart, across - 2, faceEnd - faceStart);
    painter.fillRect(face, palette().base());
    painter.setPen(palette().color(QPalette::Mid));
    if (horizontal)
        painter.drawLine(0, across - 1, along, across - 1);
    else
        painter.drawLine(across - 1, 0, across - 1, along);

    // Fewer ticks when they would crowd: every millimetre from 3 pixels
    // apart, else every 5 or 10.
    const int tickStep = pixelsPerMm_ >= 3 ? 1 : pixelsPerMm_ * 5 >= 3 ? 5 : 10;
    const int labelStep = pixelsPerMm_ * 10 >= 24 ? 10 : pixelsPerMm_ * 50 >= 24 ? 50 : 100;
    const int firstMm = int(std::floor(-origin_ / pixelsPerMm_ / tickStep)) * tickStep;
    const int lastMm = int(std::ceil((along - origin_) / pixelsPerMm_));
    QFont small = font();
    small.setPixelSize(9);
    painter.setFont(small);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int mm = std::max(firstMm, -1000); mm <= lastMm; mm += tickStep) {
        const int at = origin_ + int(std::lround(mm * pixelsPerMm_));
        const int size = mm % 10 == 0 ? across / 2 : mm % 5 == 0 ? across / 3 : across / 5;
        if (horizontal)
            painter.drawLine(at, across - 1 - size, at, across - 1);
        else
            painter.drawLine(across - 1 - size, at, across - 1, at);
        if (mm % labelStep != 0)
            continue;
        const QString text = QString::number(mm);
        if (horizontal) {
            painter.drawText(QRect(at + 2, 0, 40, across / 2 + 2), Qt::AlignLeft | Qt::AlignTop, text);
        } else {
            painter.save();
            painter.translate(0, at + 2);
            painter.rotate(90);
            painter.drawText(QRect(0, -across / 2 - 2, 40, across / 2 + 2), Qt::AlignLeft | Qt::AlignBottom, text);
            painter.restore();
        }
    }
    if (marker_ >= 0) {
        painter.setPen(QColor(255, 0, 0));
        if (horizontal)
            painter.drawLine(marker_, 0, marker_, across);
        else
            painter.drawLine(0, marker_, across, marker_);
    }
}

void TRuler::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !OnPress)
        return;
    const QPoint pos = event->position().toPoint();
    OnPress(orientation_ == Qt::Horizontal ? pos.x() : pos.y());
}

}  // namespace orvella
