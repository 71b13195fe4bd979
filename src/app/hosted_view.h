#pragma once
// THostedView: what the main window asks of the view it shows in its client
// panel (the sheet view with the whole paper, or the layout view that
// edits one face). The defaults suit a view that edits nothing.

#include <QList>
#include <QString>
#include <QWidget>

class QMenu;

namespace orvella {

class TDrawSite;
class TLabelData;

class THostedView : public QWidget {
public:
    using QWidget::QWidget;

    // Shows the document (after it was replaced or changed as a whole).
    virtual void ShowDocument(TLabelData& data) = 0;
    // Asked before another view takes the panel; false keeps this one.
    virtual bool CloseQuery() { return true; }
    // Writes edits that live only on the view's site into the document.
    virtual void FlushFace() {}
    // Edits on the view's site not yet written into the document.
    virtual bool SiteModified() const { return false; }
    virtual void ClearSiteModified() {}
    // Forgets the face being edited and the remembered zoom (a new
    // document is coming).
    virtual void ResetView() {}
    // Adds a picture file to the current face; false when this view does
    // not edit faces.
    virtual bool AddImageFile(const QString&) { return false; }
    // The view's own menus, shown in the main window's menu bar while the
    // view is.
    virtual QList<QMenu*> Menus() const { return {}; }
    // The site the object commands act on while the focus is elsewhere in
    // the view (on a tool bar, a ruler); null for a view without one.
    virtual TDrawSite* CommandSite() const { return nullptr; }
};

}  // namespace orvella
