#pragma once
// The property dialogs of pictures ("イラストの設定": the picture and its
// frame, the clip, the image quality, the position) and of alpha masks
// ("シェード図形の設定": the fill seen through the mask, the position).

#include "dialogs/property_dialog.h"

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace orvella {

class TImageData;
class TPictureEx;

class TfrmIllustProperty : public TfrmPropertyDialog {
public:
    explicit TfrmIllustProperty(QWidget* parent = nullptr);
    ~TfrmIllustProperty() override;

    // The picture from a file or the clipboard; false (with the picture
    // left as it was) when there is none there. Bad picture bytes raise.
    void LoadPictureFile(const QString& fileName);
    bool PastePicture();
    void LoadFramePicture(const QString& fileName);
    void ClearFramePicture();

    const TImageData& WorkingImage() const { return *working_; }
    QCheckBox* AlphaFrameBox() const { return alphaFrame_; }
    QSpinBox* ClipEdit(int index) const { return clip_[index]; }
    QPushButton* PasteButton() const { return paste_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    QString Caption(const TDrawObject& object, bool adding) const override;

private:
    void pictureChosen();
    void clipEdited();
    void showPictures();
    void editQuality();

    std::unique_ptr<TImageData> working_;
    std::unique_ptr<TPictureEx> frame_;
    bool imageChanged_ = false;
    bool frameChanged_ = false;
    bool adding_ = false;
    QLabel* picturePreview_;
    QLabel* framePreview_;
    QPushButton* paste_;
    QCheckBox* alphaFrame_;
    QSpinBox* clip_[4];
    QLabel* qualitySummary_;
};

class TfrmColorSpec;

class TfrmAlphaMaskProperty : public TfrmPropertyDialog {
public:
    explicit TfrmAlphaMaskProperty(QWidget* parent = nullptr);

    TfrmColorSpec* FillPanel() const { return fill_; }
    QSpinBox* ShadeEdit() const { return shade_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    QString Caption(const TDrawObject& object, bool adding) const override;

private:
    TfrmColorSpec* fill_;
    QSpinBox* shade_;
    bool fillChanged_ = false;
};

std::shared_ptr<TDODesigner> MakeImageDialogDesigner();
std::shared_ptr<TDODesigner> MakeAlphaMaskDialogDesigner();

}  // namespace orvella
