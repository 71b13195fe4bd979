#pragma once
// The window "ラベルシートの印刷": copies, the four print options, the
// offset, all or chosen faces on a preview of the paper, the printer; and
// the progress window shown while a job runs, with its cancel button.

#include "print/print_site.h"
#include "print/print_options.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QRadioButton;
class QSpinBox;

namespace orvella {

class IPrintDevice;
class TPaperInfo;
class TFacePicker;

class TfrmPrint : public QDialog {
public:
    TfrmPrint(const TPaperInfo& paper, bool directPrint, QWidget* parent = nullptr);

    // Valid after an accepted dialog.
    TPrintSpec Options() const;
    std::string PrinterName() const;

    // The question asking for the paper the printer should hold.
    static std::string MediaQuestion(const TPaperInfo& paper, const std::string& printer);

private:
    void startPrint();
    // The printer check of a disc paper (the user may change the printer).
    bool checkDiscPrinter();
    bool discMediaSelected();
    void remember();

    const TPaperInfo& paper_;
    bool directPrint_;
    QComboBox* printer_;
    QSpinBox* copies_;
    QCheckBox* frame_;
    QCheckBox* cutLine_;
    QCheckBox* paperImage_;
    QCheckBox* softEdge_;
    QCheckBox* offsetEnabled_;
    QDoubleSpinBox* top_;
    QDoubleSpinBox* left_;
    QRadioButton* all_;
    QRadioButton* selected_;
    TFacePicker* faces_;
};

class TfrmPrintProgress : public QDialog, public IPrintProgress {
public:
    TfrmPrintProgress(IPrintDevice& device, QWidget* parent = nullptr);
    void SetMax(int32_t steps) override;
    void Step() override;
    void ProcessMessages() override;

private:
    IPrintDevice& device_;
    QProgressBar* bar_;
};

}  // namespace orvella
