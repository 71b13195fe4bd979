#pragma once
// The distortion page of the text dialog: no distortion or a pattern chosen
// from the pattern file in the dialog "変形パターンの選択", and the strength
// "変形量(&D)". The pattern file stays open while the page lives.

#include <QDialog>
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;

namespace orvella {

class TCDDFile;
class TCoonsDistortion;

// The pattern thumbnails: the built-in picture of 4 columns of 94 x 37 cells.
class TPatternThumbnails {
public:
    static constexpr int kColumns = 4;
    static constexpr int kCellWidth = 94;
    static constexpr int kCellHeight = 37;

    explicit TPatternThumbnails(const QString& file);
    // An empty image for an index the picture has no cell for.
    QImage Cell(int index) const;

private:
    QImage picture_;
};

class TfrmPatternSelect : public QDialog {
public:
    TfrmPatternSelect(const TPatternThumbnails& thumbnails, int count, int current, QWidget* parent = nullptr);
    int Selected() const;
    QListWidget* List() const { return list_; }

private:
    QListWidget* list_;
};

class TfrmTransformProperty : public QWidget {
public:
    explicit TfrmTransformProperty(QWidget* parent = nullptr);
    ~TfrmTransformProperty() override;

    void Load(const TCoonsDistortion& pattern, int ratio);
    // "変形する(&T)" is chosen.
    bool WantsDistortion() const;
    bool HasPattern() const;
    // The chosen pattern; empty for no distortion.
    const TCoonsDistortion& Pattern() const { return *pattern_; }
    int Ratio() const;
    // Loads entry index of the pattern file (the selection dialog's choice).
    void ChoosePattern(int index);
    std::function<void()> OnChange;

    QRadioButton* NoneButton() const { return none_; }
    QRadioButton* DistortButton() const { return distort_; }
    QPushButton* ChooseButton() const { return choose_; }
    QSlider* RatioSlider() const { return ratio_; }

private:
    void openFile();
    void showPattern();
    void changed();

    std::unique_ptr<TCDDFile> file_;
    std::unique_ptr<TPatternThumbnails> thumbnails_;
    std::unique_ptr<TCoonsDistortion> pattern_;
    int index_ = -1;
    bool loading_ = false;
    QRadioButton* none_;
    QRadioButton* distort_;
    QPushButton* choose_;
    QLabel* sample_;
    QSlider* ratio_;
    QLabel* ratioText_;
};

}  // namespace orvella
