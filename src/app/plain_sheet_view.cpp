#include "app/plain_sheet_view.h"

#include "document/label_data.h"
#include "document/sheet_painter.h"
#include "paper/paper_info.h"
#include "platform/win_math.h"

#include <QPainter>

#include <algorithm>

namespace orvella {

namespace {

// Room left around the sheet, in pixels.
constexpr int kMargin = 8;

}  // namespace

TPlainSheetView::TPlainSheetView(QWidget* parent) : THostedView(parent)
{
    setObjectName(QStringLiteral("PlainSheetView"));
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TPlainSheetView::ShowDocument(TLabelData& data)
{
    data_ = &data;
    renderedScale_ = 0;
    update();
}

int32_t TPlainSheetView::FitScale() const
{
    const std::shared_ptr<const TPaperInfo> paper = data_ ? data_->EffectivePaper() : nullptr;
    if (!paper || paper->Width() <= 0 || paper->Height() <= 0)
        return 0;
    const int32_t room = std::max(width() - 2 * kMargin, 1);
    const int32_t roomHeight = std::max(height() - 2 * kMargin, 1);
    // Percent of the screen size (96 pixels per inch over 254 units per inch).
    const int32_t byWidth = MulDiv(room, 254 * 100, paper->Width() * 96);
    const int32_t byHeight = MulDiv(roomHeight, 254 * 100, paper->Height() * 96);
    return std::clamp(std::min(byWidth, byHeight), 1, 400);
}

void TPlainSheetView::resizeEvent(QResizeEvent* event)
{
    renderedScale_ = 0;
    THostedView::resizeEvent(event);
}

void TPlainSheetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int32_t scale = FitScale();
    if (scale <= 0)
        return;
    if (scale != renderedScale_) {
        try {
            RenderSheet(*data_, scale, sheet_);
            renderedScale_ = scale;
        } catch (const std::exception&) {
            // A sheet that cannot be drawn leaves the view empty; painting
            // must not throw into the event loop.
            return;
        }
    }
    const QImage image = sheet_.AsImage();
    painter.drawImage(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2), image);
}

}  // namespace orvella
