#include "app/draw_site_widget.h"

#include "drawing/draw_site.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <utility>

namespace orvella {

namespace {

TShiftState shiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

TSiteMouseEvent mouseEvent(const QMouseEvent& event)
{
    TSiteMouseEvent result;
    switch (event.button()) {
    case Qt::RightButton: result.Button = TMouseButton::mbRight; break;
    case Qt::MiddleButton: result.Button = TMouseButton::mbMiddle; break;
    default: result.Button = TMouseButton::mbLeft; break;
    }
    result.Shift = shiftState(event.modifiers(), event.buttons());
    const QPoint pos = event.position().toPoint();
    result.Pos = {pos.x(), pos.y()};
    return result;
}

}  // namespace

Qt::CursorShape CursorShapeFor(int cursor)
{
    switch (cursor) {
    case crCross: return Qt::CrossCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

QCursor CursorFor(int cursor)
{
    if (cursor != crRotate)
        return QCursor(CursorShapeFor(cursor));
    // The rotation handles' cursor: three quarters of a circle ending in an
    // arrow head, black on a white rim so that it shows on any label.
    static const QCursor rotate = [] {
        QPixmap picture(32, 32);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.arcMoveTo(6, 6, 20, 20, 90);
        path.arcTo(6, 6, 20, 20, 90, 270);
        const QPolygonF head({QPointF(26, 10), QPointF(26, 20), QPointF(19, 15)});
        for (const auto& [colour, width] : {std::pair{Qt::white, 5.0}, std::pair{Qt::black, 2.0}}) {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
            painter.setBrush(colour);
            painter.drawPolygon(head);
        }
        painter.end();
        return QCursor(picture, 16, 16);
    }();
    return rotate;
}

TDrawSiteWidget::TDrawSiteWidget(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The site paints every pixel itself; Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
}

TDrawSiteWidget::~TDrawSiteWidget()
{
    detach();
}

void TDrawSiteWidget::detach()
{
    if (site_)
        site_->Host = {};
    site_ = nullptr;
}

void TDrawSiteWidget::SetSite(TDrawSite* site)
{
    detach();
    site_ = site;
    if (!site_)
        return;
    site_->Host.Invalidate = [this](const TRect& r) {
        const QRect rect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        valid_ -= rect;
        showOnly_ -= rect;
        pending_ += rect;
        update(rect);
    };
    // Only what is pending: a whole repaint here would paint every object.
    site_->Host.Update = [this] {
        if (!pending_.isEmpty())
            repaint(pending_);
    };
    site_->Host.SetCursor = [this](TCursor cursor) { setCursor(CursorFor(cursor)); };
    site_->Host.SetFocus = [this] { setFocus(Qt::MouseFocusReason); };
    site_->Host.Resize = [this](TSize size) { resize(size.cx, size.cy); };
    site_->Host.VisibleRect = [this] { return visibleRect(); };
    // Drawing on parts of the frame that were never painted does no harm:
    // they are painted whole when they come into view.
    site_->Host.ScreenCanvas = [this]() -> TCanvas* {
        return frame_.Width() == width() && frame_.Height() == height() ? &frame_.Canvas() : nullptr;
    };
    site_->Host.ShowScreen = [this](const TRect& r) {
        const QRect rect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        showOnly_ += valid_.intersected(rect);
        update(rect);
    };
    valid_ = {};
    showOnly_ = {};
    pending_ = {};
    resize(site_->Width(), site_->Height());
    update();
}

TRect TDrawSiteWidget::visibleRect() const
{
    // A scrolling parent shows only part of the site; new objects belong
    // in that part.
    const QRect visible = visibleRegion().boundingRect();
    if (visible.isEmpty())
        return {0, 0, width(), height()};
    return {visible.left(), visible.top(), visible.right() + 1, visible.bottom() + 1};
}

void TDrawSiteWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!site_) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    if (frame_.Width() != width() || frame_.Height() != height()) {
        frame_.SetSize(std::max(width(), 1), std::max(height(), 1), TPixelFormat::pf24bit);
        valid_ = {};
        showOnly_ = {};
    }
    // Only what changed on the site is painted again; what the drag
    // outlines changed on the frame is just shown.
    const QRegion stale = event->region() - showOnly_;
    for (const QRect& rect : stale)
        site_->PaintWindow(frame_.Canvas(), {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
    valid_ += stale;
    for (const QRect& rect : event->region())
        painter.drawImage(rect.topLeft(), frame_.AsImage(), rect);
    showOnly_ -= event->region();
    pending_ -= event->region();
}

void TDrawSiteWidget::mousePressEvent(QMouseEvent* event)
{
    if (site_)
        site_->MouseDown(mouseEvent(*event));
}

void TDrawSiteWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (site_)
        site_->MouseMove(mouseEvent(*event));
}

void TDrawSiteWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (site_)
        site_->MouseUp(mouseEvent(*event));
}

void TDrawSiteWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!site_)
        return;
    TSiteMouseEvent press = mouseEvent(*event);
    press.Shift |= ssDouble;
    site_->MouseDown(press);
    site_->DblClick(press);
}

void TDrawSiteWidget::keyPressEvent(QKeyEvent* event)
{
    if (site_)
        site_->KeyDown({event->key(), shiftState(event->modifiers(), QGuiApplication::mouseButtons())});
}

void TDrawSiteWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (site_)
        site_->KeyUp({event->key(), shiftState(event->modifiers(), QGuiApplication::mouseButtons())});
}

void TDrawSiteWidget::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TDrawSiteWidget::dragMoveEvent(QDragMoveEvent* event)
{
    // The site takes drops over its objects too.
    auto* site = dynamic_cast<TDrawSiteEx*>(site_);
    const QPoint pos = event->position().toPoint();
    if (site && site->DragOver({pos.x(), pos.y()}))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TDrawSiteWidget::dropEvent(QDropEvent* event)
{
    auto* site = dynamic_cast<TDrawSiteEx*>(site_);
    if (!site) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    site->DragDrop({pos.x(), pos.y()});
    event->acceptProposedAction();
}

void TDrawSiteWidget::focusOutEvent(QFocusEvent* event)
{
    // Losing the window or a popup taking over ends a drag, as a cancel-mode
    // request does.
    if (site_ && (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason))
        site_->CancelMode();
    QWidget::focusOutEvent(event);
}

}  // namespace orvella
