// The layout editor's guides: added from the rulers, dragged on the site
// with a hint of their distances to the face's edges, removed by dropping
// them outside the face.

#include "app/layout_window.h"

#include "app/draw_site_widget.h"
#include "app/layout_ruler.h"
#include "document/face_snap.h"
#include "document/guide.h"
#include "document/label_data.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_list.h"
#include "frame/message_box.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>

namespace orvella {

bool TfrmLayout::AddGuide(bool vertical)
{
    if (!data_)
        return false;
    TGuide& guide = data_->Guide();
    const int slot = guide.FirstFreeSlot();
    if (slot < 0) {
        ShowAppMessage(QStringLiteral("ガイドは%1本までです").arg(TGuide::kSlotCount).toStdString(), {bkOK}, 0, 0);
        return false;
    }
    // The new guide starts outside the face and follows the mouse at once.
    if (vertical)
        guide.SetGuide(slot, -1, 0);
    else
        guide.SetGuide(slot, 0, -1);
    guideSlot_ = slot;
    guideVertical_ = vertical;
    guidePosition_ = -1;
    siteWidget_->grabMouse(vertical ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    siteWidget_->setFocus(Qt::MouseFocusReason);
    return true;
}

int TfrmLayout::guideAt(TPoint device, bool& vertical) const
{
    if (!data_)
        return -1;
    const TGuide& guide = data_->Guide();
    const int32_t tolerance = site_->DeviceToLogical({2, 0}).x - site_->DeviceToLogical({0, 0}).x;
    const int slot = guide.HitTest(site_->DeviceToLogical(device), std::max(tolerance, 1));
    if (slot >= 0)
        vertical = guide.Guide(slot).x != 0;
    return slot;
}

bool TfrmLayout::guideMouseDown(const TSiteMouseEvent& event)
{
    if (GhostList().Active() || !GhostList().Empty())
        return false;
    bool vertical = false;
    const int slot = guideAt(event.Pos, vertical);
    if (slot < 0)
        return false;
    guideSlot_ = slot;
    guideVertical_ = vertical;
    const TPoint at = data_->Guide().Guide(slot);
    guidePosition_ = vertical ? at.x : at.y;
    siteWidget_->grabMouse(vertical ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    return true;
}

void TfrmLayout::moveGuide(TPoint device, bool exact)
{
    const TPoint logical = site_->DeviceToLogical(device);
    const int32_t value = guideVertical_ ? logical.x : logical.y;
    const int32_t old = guidePosition_;
    guidePosition_ = RoundGuidePosition(value, exact);
    if (old != guidePosition_)
        site_->Invalidate();
}

QString TfrmLayout::GuideHint() const
{
    const int32_t extent = guideVertical_ ? site_->LogWidth() : site_->LogHeight();
    if (guidePosition_ < 0 || guidePosition_ > extent)
        return QStringLiteral("ｶﾞｲﾄﾞ削除");
    const QString before = QString::fromStdString(FormatTenthsMm(guidePosition_));
    const QString after = QString::fromStdString(FormatTenthsMm(extent - guidePosition_));
    return (guideVertical_ ? QStringLiteral("左から%1 右から%2") : QStringLiteral("上から%1 下から%2")).arg(before, after);
}

void TfrmLayout::showGuideHint(QPoint globalPos)
{
    guideHint_->setText(GuideHint());
    guideHint_->adjustSize();
    guideHint_->move(globalPos.x() - guideHint_->width() / 2, globalPos.y() - guideHint_->height() - 12);
    guideHint_->show();
}

void TfrmLayout::endGuideDrag(bool store)
{
    if (guideSlot_ < 0)
        return;
    const int slot = guideSlot_;
    guideSlot_ = -1;
    siteWidget_->releaseMouse();
    guideHint_->hide();
    if (data_) {
        TGuide& guide = data_->Guide();
        if (store) {
            // Outside the face the guide is thereby gone.
            if (guideVertical_)
                guide.SetGuide(slot, guidePosition_ == 0 ? -1 : guidePosition_, 0);
            else
                guide.SetGuide(slot, 0, guidePosition_ == 0 ? -1 : guidePosition_);
            guide.SetEnabled(true);
        }
        guide.ClipTo({0, 0, site_->LogWidth(), site_->LogHeight()});
        guide.SetVisible(guide.Enabled());
    }
    site_->Invalidate();
    updateCommands();
}

bool TfrmLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == siteWidget_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                break;
            const QPoint pos = mouse->position().toPoint();
            if (guideSlot_ >= 0)
                return true;
            TSiteMouseEvent press;
            press.Pos = {pos.x(), pos.y()};
            if (guideMouseDown(press)) {
                moveGuide(press.Pos, mouse->modifiers() & Qt::ShiftModifier);
                showGuideHint(mouse->globalPosition().toPoint());
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint pos = mouse->position().toPoint();
            if (guideSlot_ < 0) {
                mouseInside_ = true;
                break;
            }
            moveGuide({pos.x(), pos.y()}, mouse->modifiers() & Qt::ShiftModifier);
            showGuideHint(mouse->globalPosition().toPoint());
            mouse_ = site_->DeviceToLogical({pos.x(), pos.y()});
            updateStatus();
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (guideSlot_ >= 0) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                const QPoint pos = mouse->position().toPoint();
                moveGuide({pos.x(), pos.y()}, mouse->modifiers() & Qt::ShiftModifier);
                endGuideDrag(true);
                return true;
            }
            break;
        case QEvent::FocusOut:
            // The dragged position is not stored.
            endGuideDrag(false);
            break;
        case QEvent::Leave:
            mouseInside_ = false;
            hRuler_->SetMarker(-1);
            vRuler_->SetMarker(-1);
            updateStatus();
            break;
        case QEvent::ContextMenu:
            showContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        default: break;
        }
    } else if (watched == scrollBox_->viewport() && event->type() == QEvent::Resize && autoZoom_) {
        applyZoom();
    }
    return THostedView::eventFilter(watched, event);
}

}  // namespace orvella
