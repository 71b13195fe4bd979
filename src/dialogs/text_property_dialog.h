#pragma once
// The property dialogs of text objects: "文字の編集・設定" for every text
// class and "日付オブジェクトの設定" for dates. Pages: the text (or date)
// with its font and layout, the fill colour, the distortion, the shadow, the
// outline and the position.

#include "dialogs/property_dialog.h"

#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QDoubleSpinBox;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace orvella {

class TDODesigner;
class TLOText;
class TfrmShadowSample;
class TfrmTransformProperty;

class TfrmTextProperty : public TfrmPropertyDialog {
public:
    explicit TfrmTextProperty(QWidget* parent = nullptr);
    ~TfrmTextProperty() override;

    // For the tests: the pages and inputs a user works with.
    QWidget* TextPage() const { return textPage_; }
    QPlainTextEdit* TextBox() const { return textBox_; }
    QComboBox* FaceBox() const { return faceBox_; }
    QSpinBox* SizeBox() const { return sizeBox_; }
    QComboBox* AlignBox() const { return alignBox_; }
    QCheckBox* VerticalBox() const { return vertical_; }
    TfrmTransformProperty* TransformPage() const { return transform_; }
    QRadioButton* ShadowOn() const { return shadowOn_; }
    QRadioButton* ShadowOff() const { return shadowOff_; }
    QRadioButton* ShadowSoft() const { return shadowSoft_; }
    TfrmShadowSample* ShadowSample() const { return shadowSample_; }
    QCheckBox* OutlineBox() const { return outline_; }

protected:
    // For the date dialog: a page in place of the text page.
    TfrmTextProperty(QString kind, bool withTextPage, QWidget* parent);
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    bool CheckInputs() override;
    QString Caption(const TDrawObject& object, bool adding) const override;
    // The font, alignment and layout inputs, shared with the date page.
    QWidget* makeFontControls();

private:
    void buildPages(bool withTextPage);
    // Replaces the text by the lines of an album the user picks.
    void fillFromAlbum();
    void updateEnabled();

    QWidget* textPage_ = nullptr;
    QPlainTextEdit* textBox_ = nullptr;
    QComboBox* faceBox_ = nullptr;
    QSpinBox* sizeBox_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QCheckBox* strikeOut_ = nullptr;
    QComboBox* alignBox_ = nullptr;
    QCheckBox* vertical_ = nullptr;
    QDoubleSpinBox* charSpacing_ = nullptr;
    QDoubleSpinBox* lineSpacing_ = nullptr;
    QSpinBox* feedAngle_ = nullptr;
    QDoubleSpinBox* bulge_ = nullptr;
    QCheckBox* hanToZen_ = nullptr;
    QCheckBox* numToKnj_ = nullptr;
    QCheckBox* minusExc_ = nullptr;
    QComboBox* fieldType_ = nullptr;
    QSpinBox* fieldNo_ = nullptr;
    TfrmColorSpec* textColor_ = nullptr;
    TfrmTransformProperty* transform_ = nullptr;
    QRadioButton* shadowOn_ = nullptr;
    QRadioButton* shadowOff_ = nullptr;
    QRadioButton* shadowSoft_ = nullptr;
    QCheckBox* shadowBold_ = nullptr;
    TfrmShadowSample* shadowSample_ = nullptr;
    TfrmColorSpec* shadowColor_ = nullptr;
    QCheckBox* outline_ = nullptr;
    QDoubleSpinBox* outlineWidth_ = nullptr;
    TfrmColorSpec* outlineColor_ = nullptr;
};

class TfrmDateProperty : public TfrmTextProperty {
public:
    explicit TfrmDateProperty(QWidget* parent = nullptr);

    QComboBox* FormatBox() const { return formatBox_; }
    QDateTimeEdit* DateBox() const { return dateBox_; }
    QComboBox* UpdateBox() const { return updateBox_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    bool CheckInputs() override { return true; }
    QString Caption(const TDrawObject& object, bool adding) const override;

private:
    QComboBox* formatBox_ = nullptr;
    QDateTimeEdit* dateBox_ = nullptr;
    QComboBox* updateBox_ = nullptr;
};

// The designers of the text and date dialogs (the date one answers first).
std::shared_ptr<TDODesigner> MakeTextDialogDesigner();
std::shared_ptr<TDODesigner> MakeDateDialogDesigner();

}  // namespace orvella
