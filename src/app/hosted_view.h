#pragma once
// THostedView: what the main window asks of the view it shows in its client
// panel (the sheet view with the whole paper, or the layout view that
// edits one face). The defaults suit a view that edits nothing.

#include <QString>
#include <QWidget>

namespace orvella {

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
};

}  // namespace orvella
