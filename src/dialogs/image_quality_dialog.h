#pragma once
// "イメージの画質調整": the clip, blur, monotone and brightness/contrast
// filters of a picture, with a live preview. It edits a copy; Apply writes
// the filters back into the picture's image data.

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QSlider;
class QSpinBox;
class QToolButton;

namespace orvella {

class TImageData;

class TfrmImageQuality : public QDialog {
public:
    explicit TfrmImageQuality(const TImageData& image, QWidget* parent = nullptr);
    ~TfrmImageQuality() override;

    // The edited filters into target (its picture stays).
    void Apply(TImageData& target) const;
    TImageData& Working() const { return *working_; }
    QSpinBox* BlurEdit() const { return blur_; }
    QSlider* BrightnessEdit() const { return brightness_; }
    QSlider* ContrastEdit() const { return contrast_; }
    QCheckBox* MonotoneBox() const { return monotone_; }

private:
    void changed();
    void showPreview();

    std::unique_ptr<TImageData> working_;
    bool loading_ = false;
    QLabel* preview_;
    QSpinBox* clip_[4];
    QSpinBox* blur_;
    QCheckBox* monotone_;
    QToolButton* monotoneColor_;
    QSlider* brightness_;
    QSlider* contrast_;
};

}  // namespace orvella
