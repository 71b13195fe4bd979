#pragma once
// TfrmJANCodeProperty: the property dialog of the JAN barcode object. The
// code is typed with or without its check digit; OK refuses anything that
// is not 7, 8, 12 or 13 digits with a correct check digit.

#include "dialogs/property_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace orvella {

// Digits only, and 7 or 12 of them (the check digit is added) or 8 or 13
// with a correct check digit.
bool AcceptableJANInput(const QString& input);

class TfrmJANCodeProperty : public TfrmPropertyDialog {
public:
    explicit TfrmJANCodeProperty(QWidget* parent = nullptr);

    QLineEdit* CodeEdit() const { return codeEdit_; }
    QComboBox* FontNameBox() const { return fontName_; }
    QComboBox* FontSizeBox() const { return fontSize_; }
    QCheckBox* ShowNumberBox() const { return showNumber_; }
    QCheckBox* ShowFrameBox() const { return showFrame_; }
    TfrmColorSpec* ColorPage() const { return color_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    bool CheckInputs() override;
    QString Caption(const TDrawObject& object, bool adding) const override;

private:
    QWidget* codePage_;
    QLineEdit* codeEdit_;
    QComboBox* fontName_;
    QComboBox* fontSize_;
    QCheckBox* showNumber_;
    QCheckBox* showFrame_;
    TfrmColorSpec* color_;
};

// The designer that opens the dialog for JAN objects.
std::shared_ptr<TDODesigner> MakeJANCodeDesigner();

}  // namespace orvella
