#pragma once
// Shows a draw site as a picture, without selection or input: the live
// preview of the property dialogs.

#include <QWidget>

namespace orvella {

class TDrawSite;

class TPreviewSiteWidget : public QWidget {
public:
    explicit TPreviewSiteWidget(QWidget* parent = nullptr);
    void SetSite(TDrawSite* site) { site_ = site; }
    // Takes the site's device size and repaints.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TDrawSite* site_ = nullptr;
};

}  // namespace orvella
