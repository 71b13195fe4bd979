#pragma once
// The property dialogs of lines and shapes: "直線の設定" / "円弧の設定" for
// lines and arcs, "四角図形の設定" / "円図形の設定" for rectangles and
// ellipses, "飾り罫線の選択" for decorative lines. Each edits a preview copy
// and writes into the object on OK, as one undo step.

#include "dialogs/property_dialog.h"

#include <filesystem>
#include <memory>
#include <vector>

class QCheckBox;
class QListWidget;
class QSpinBox;

namespace orvella {

class TMillimetreEdit;
class TPictureEx;

// The line's "位置" page: its width, both end points, blend, lock and do
// not print.
class TLinePositionPage : public QWidget {
public:
    explicit TLinePositionPage(QWidget* parent = nullptr);

    // Any input changed by the user.
    std::function<void()> OnChange;

    TMillimetreEdit* LineWidthEdit() const { return lineWidth_; }
    TMillimetreEdit* StartXEdit() const { return startX_; }
    TMillimetreEdit* StartYEdit() const { return startY_; }
    TMillimetreEdit* EndXEdit() const { return endX_; }
    TMillimetreEdit* EndYEdit() const { return endY_; }
    QSpinBox* BlendEdit() const { return blend_; }
    QCheckBox* LockBox() const { return lock_; }
    QCheckBox* DontPrintBox() const { return dontPrint_; }

private:
    TMillimetreEdit* lineWidth_;
    TMillimetreEdit* startX_;
    TMillimetreEdit* startY_;
    TMillimetreEdit* endX_;
    TMillimetreEdit* endY_;
    QSpinBox* blend_;
    QCheckBox* lock_;
    QCheckBox* dontPrint_;
};

class TfrmLineProperty : public TfrmPropertyDialog {
public:
    // A curve's dialog remembers its page apart from a line's.
    explicit TfrmLineProperty(bool curve, QWidget* parent = nullptr);

    TfrmColorSpec* ColorPage() const { return color_; }
    TLinePositionPage* LinePage() const { return line_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    QString Caption(const TDrawObject& object, bool adding) const override;

    TfrmColorSpec* color_;
    TLinePositionPage* line_;
    bool colorChanged_ = false;
};

class TfrmRectProperty : public TfrmPropertyDialog {
public:
    explicit TfrmRectProperty(QWidget* parent = nullptr);

    TfrmColorSpec* FramePanel() const { return frame_; }
    TMillimetreEdit* FrameWidthEdit() const { return frameWidth_; }
    QCheckBox* RoundBox() const { return round_; }
    TfrmColorSpec* FillPanel() const { return fill_; }
    QCheckBox* FillInsideBox() const { return fillInside_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    QString Caption(const TDrawObject& object, bool adding) const override;

private:
    TfrmColorSpec* frame_;
    TMillimetreEdit* frameWidth_;
    QCheckBox* round_;
    TfrmColorSpec* fill_;
    QCheckBox* fillInside_;
    bool frameChanged_ = false;
    bool fillChanged_ = false;
};

class TfrmDecoLineProperty : public TfrmPropertyDialog {
public:
    // patterns: the picture files offered; by default those of the content
    // folder.
    explicit TfrmDecoLineProperty(QWidget* parent = nullptr);
    TfrmDecoLineProperty(std::vector<std::filesystem::path> patterns, QWidget* parent);

    QListWidget* PatternList() const { return list_; }
    TLinePositionPage* LinePage() const { return line_; }

protected:
    void LoadInputs(TDrawObject& object) override;
    void CommitInputs(TDrawObject& object) override;
    QString Caption(const TDrawObject& object, bool adding) const override;

private:
    void patternChosen();

    std::vector<std::filesystem::path> patterns_;
    QListWidget* list_;
    QWidget* patternPage_;
    TLinePositionPage* line_;
    // The pattern picked in this run of the dialog (empty until one is).
    std::unique_ptr<TPictureEx> chosen_;
    bool adding_ = false;
};

// Joins the three dialogs to the designer registry (the line dialog serves
// lines and curves, the rectangle dialog rectangles and ellipses).
void RegisterShapeDialogs();

}  // namespace orvella
