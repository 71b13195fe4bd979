#pragma once
// The window that shows a draw site: it forwards mouse and key input in
// device pixels, paints the site through an off-screen frame and shows the
// cursor the site asks for. The site stays the caller's.

#include "graphics/bitmap.h"

#include <QCursor>
#include <QRegion>
#include <QWidget>

#include <memory>

namespace orvella {

class TDrawSite;

class TDrawSiteWidget : public QWidget {
public:
    explicit TDrawSiteWidget(QWidget* parent = nullptr);
    ~TDrawSiteWidget() override;

    TDrawSite* Site() const { return site_; }
    // Connects the site to this window (and a previous one off it).
    void SetSite(TDrawSite* site);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void detach();
    TRect visibleRect() const;

    TDrawSite* site_ = nullptr;
    // The site as last painted, whole; drag outlines are drawn straight
    // onto it.
    TBitmap frame_;
    // Parts of the frame painted since the site last changed there.
    QRegion valid_;
    // Parts of those that only need showing again.
    QRegion showOnly_;
    // What the site asked to repaint and Qt has not painted yet.
    QRegion pending_;
};

// Qt's cursor shape for a site cursor id.
Qt::CursorShape CursorShapeFor(int cursor);
// The cursor for a site's cursor id, the program's own ones included.
QCursor CursorFor(int cursor);

}  // namespace orvella
