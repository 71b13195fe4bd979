#pragma once
// TfrmQRCodeProperty: the property dialog of the QR code objects users
// create. It edits the contents (phone book, web page or free text), the
// carrier format, the error correction level and the mask of a copy, which
// OK assigns back as one change step.

#include "dialogs/property_dialog.h"
#include "objects/qr_contents.h"

#include <array>
#include <span>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace orvella {

class TLOQRStd;

// The profile items a field can be linked to: caption and identifier, the
// hand-typed entry (-1) first.
struct TQRProfileItem {
    const char* Caption;
    int32_t ID;
};
std::span<const TQRProfileItem> QRProfileItems();

class TfrmQRCodeProperty : public TfrmPropertyDialog {
public:
    // The linked phone-book and web fields, in the order of the object's
    // identifiers: name, reading, two phones, two mails, title, address.
    enum TField { qfName, qfFurigana, qfTel1, qfTel2, qfEmail1, qfEmail2, qfUrlTitle, qfUrl, qfCount };

    explicit TfrmQRCodeProperty(QWidget* parent = nullptr);

    QRadioButton* KindButton(TStdQRKind kind) const { return kinds_[std::size_t(kind)]; }
    QComboBox* CarrierBox() const { return carrier_; }
    QComboBox* LevelBox() const { return level_; }
    QCheckBox* AutoMaskBox() const { return autoMask_; }
    QComboBox* MaskBox() const { return mask_; }
    QCheckBox* SplitNameBox() const { return splitName_; }
    QCheckBox* HankakuBox() const { return hankaku_; }
    QLineEdit* FieldEdit(TField field) const { return fields_[field]; }
    QComboBox* LinkBox(TField field) const { return links_[field]; }
    QPlainTextEdit* TextEdit() const { return text_; }
    // The carrier format the inputs stand for now.
    TStdQRType CurrentType() const { return type_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    // Refuses a text that CP932 cannot hold.
    bool CheckInputs() override;
    QString Caption(const TDrawObject& object, bool adding) const override;

private:
    TStdQRKind currentKind() const;
    void kindChosen();
    void fillLevels(char keep);
    void updateEnabled();

    QWidget* contents_;
    std::array<QRadioButton*, 3> kinds_{};
    QButtonGroup* kindGroup_;
    QComboBox* carrier_;
    QComboBox* level_;
    QCheckBox* autoMask_;
    QComboBox* mask_;
    QCheckBox* splitName_;
    QCheckBox* hankaku_;
    std::array<QLineEdit*, qfCount> fields_{};
    std::array<QComboBox*, qfCount> links_{};
    QPlainTextEdit* text_;
    // The format chosen for the phone book, brought back when it is chosen
    // again after the web page or free text.
    TStdQRType type_ = TStdQRType::sqtDoCoMo;
    TStdQRType phoneBookType_ = TStdQRType::sqtDoCoMo;
};

std::shared_ptr<TDODesigner> MakeQRCodeDesigner();

}  // namespace orvella
