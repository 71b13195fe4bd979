#pragma once
// The windows of printing onto discs: the printer check before a disc is
// printed on a printer that cannot, and the dialog that enlarges or
// shrinks the printed ring of a disc.

#include "document/size_adjust.h"
#include "print/direct_print.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;

namespace orvella {

class TLabelData;

class TfrmConfirmPrinter : public QDialog {
public:
    explicit TfrmConfirmPrinter(QWidget* parent = nullptr);
    TConfirmPrinterAnswer Answer() const { return answer_; }

private:
    TConfirmPrinterAnswer answer_ = TConfirmPrinterAnswer::Cancel;
};

// Every change is stored at once, so that the preview and the document show
// it; anything but OK stores the values of the opening again.
class TfrmAdjustDiscSize : public QDialog {
public:
    explicit TfrmAdjustDiscSize(TLabelData& document, QWidget* parent = nullptr);

    QDoubleSpinBox* OuterField() const { return outer_; }
    QDoubleSpinBox* InnerField() const { return inner_; }
    QLabel* Note() const { return note_; }

    void done(int result) override;

private:
    void outerChanged();
    void innerChanged();
    void store();
    void showSizes();
    static void enableByRange(QDoubleSpinBox* field);

    TLabelData& document_;
    TSizeAdjust opening_;
    int32_t inner0_ = 0;
    int32_t outer0_ = 0;
    QDoubleSpinBox* outer_;
    QDoubleSpinBox* inner_;
    QLabel* outerSize_;
    QLabel* innerSize_;
    QLabel* note_;
    QWidget* preview_;
    bool loading_ = true;
};

// Registers both windows for the windows that start them (disc_print_windows.h).
void RegisterDiscPrintWindows();

}  // namespace orvella
