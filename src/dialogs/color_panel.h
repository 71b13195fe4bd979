#pragma once
// The colour panel "色の選択" the property dialogs place on their colour
// pages: it edits one colour fill as a solid colour, a picture or a
// gradient, offers the preset gradients and the history of used fills, and
// reports every change so that the dialog's preview follows.

#include "graphics/graphics_types.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace orvella {

class TColorGridWindow;
class TColorSpec;
class TColorSpecHistory;

class TfrmColorSpec : public QWidget {
public:
    static constexpr int kStopCount = 7;

    explicit TfrmColorSpec(QWidget* parent = nullptr);
    ~TfrmColorSpec() override;

    // Takes a copy of colorFill and sets every control from it; gradients
    // pointing to the centre (or counter-clockwise) show as their rim-ward
    // (clockwise) twin with the stops reversed, the same picture.
    void Load(const TColorSpec& colorFill);
    // The edited fill: without its picture when the panel is disabled or not
    // on the picture kind; recorded in the history while its use is on.
    const TColorSpec& Result();
    // The panel's own fill as edited, without the cleanup of Result.
    TColorSpec& Working() { return *working_; }
    // A disabled panel hides its controls behind a cover.
    void SetEnabled(bool enabled);
    bool IsPanelEnabled() const { return enabled_; }
    // Solid colours only: the kind selector hides.
    void SetColorOnly(TColor color);
    TColor SelectedColor() const;
    // Pictures chosen from now on are fitted to a face of this size (0.1 mm).
    void SetFaceSize(int32_t width, int32_t height);

    // Raised after every change the user makes.
    std::function<void(TColorSpec&)> OnChange;

    // For the tests and the dialogs that drive the panel.
    QAbstractButton* KindButton(int kind) const;
    QToolButton* StopButton(int index) const { return stopButtons_[std::size_t(index)]; }
    QSpinBox* StopCountEdit() const { return stopCount_; }
    QSlider* DirectionSlider() const { return direction_; }
    QSpinBox* DirectionEdit() const { return directionNumber_; }
    QToolButton* HistoryButton() const { return historyButton_; }
    TColorGridWindow* Grid() const { return grid_; }
    void ChooseColor(TColor color);
    void LoadPictureFile(const QString& fileName);
    void ApplyPreset(const std::vector<TColor>& stops);

private:
    void buildColorPage(QWidget* page);
    void buildPicturePage(QWidget* page);
    void buildGradientPage(QWidget* page);
    void showControls();
    void changed();
    void setKind(int kind);
    void setStopCount(int count);
    void showHistoryMenu();

    std::unique_ptr<TColorSpec> working_;
    std::unique_ptr<TColorSpecHistory> history_;
    std::array<TColor, kStopCount> stops_;
    bool loading_ = false;
    bool enabled_ = true;
    // The kind page the user is on.
    int shownKind_ = 0;
    int32_t faceWidth_ = 0;
    int32_t faceHeight_ = 0;

    QStackedWidget* cover_;
    QWidget* kindRow_;
    QButtonGroup* kinds_;
    QStackedWidget* pages_;
    QToolButton* historyButton_;
    TColorGridWindow* grid_;
    QWidget* colorPreview_;
    QLabel* picturePreview_;
    QAbstractButton* quality_;
    QCheckBox* tile_;
    QCheckBox* tileShift_;
    QSpinBox* stopCount_;
    QSpinBox* repeatCount_;
    std::array<QToolButton*, kStopCount> stopButtons_{};
    QButtonGroup* gradKinds_;
    QSlider* direction_;
    QSpinBox* directionNumber_;
};

}  // namespace orvella
