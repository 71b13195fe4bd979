#pragma once
// The view the main window shows until the sheet and layout windows take
// the panel: the current sheet's paper with its faces and their objects,
// fitted into the window, read-only.

#include "app/hosted_view.h"
#include "graphics/bitmap.h"

namespace orvella {

class TPlainSheetView : public THostedView {
public:
    explicit TPlainSheetView(QWidget* parent = nullptr);

    void ShowDocument(TLabelData& data) override;
    // The scale (percent) at which the sheet fits the window; 0 without a document.
    int32_t FitScale() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TLabelData* data_ = nullptr;
    TBitmap sheet_;
    int32_t renderedScale_ = 0;
};

}  // namespace orvella
