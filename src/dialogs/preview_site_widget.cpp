#include "dialogs/preview_site_widget.h"

#include "drawing/draw_site.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"

#include <QPainter>

namespace orvella {

TPreviewSiteWidget::TPreviewSiteWidget(QWidget* parent) : QWidget(parent) {}

void TPreviewSiteWidget::Refresh()
{
    if (site_)
        setFixedSize(std::max(1, site_->Width()), std::max(1, site_->Height()));
    update();
}

void TPreviewSiteWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!site_ || site_->Width() <= 0 || site_->Height() <= 0)
        return;
    TBitmap frame(site_->Width(), site_->Height(), TPixelFormat::pf24bit);
    TCanvas& canvas = frame.Canvas();
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, frame.Width(), frame.Height()});
    site_->DrawTo(canvas, {0, 0}, site_->Scaler().Scale());
    painter.drawImage(0, 0, frame.AsImage());
}

}  // namespace orvella
