#pragma once
// "背景柄の設定" as it stands until the background designer exists: the
// face's fill (a colour, a gradient, or a picture fitted to the face, tiled
// or not) and the frame band along the outline, its width and its fill.
// The whole edit is one change step "背景変更".

#include <QDialog>

#include <memory>

class QDialogButtonBox;

namespace orvella {

class TDODesigner;
class TfrmColorSpec;
class TLOBackImage;
class TMillimetreEdit;

class TfrmBackgroundColors : public QDialog {
public:
    explicit TfrmBackgroundColors(QWidget* parent = nullptr);

    void Load(const TLOBackImage& background);
    // Writes the inputs through the background's setters.
    void Commit(TLOBackImage& background);

    TfrmColorSpec* FillPanel() const { return fill_; }
    TfrmColorSpec* FramePanel() const { return frame_; }
    TMillimetreEdit* FrameWidthEdit() const { return frameWidth_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

private:
    TfrmColorSpec* fill_;
    TfrmColorSpec* frame_;
    TMillimetreEdit* frameWidth_;
    QDialogButtonBox* buttons_;
    bool fillChanged_ = false;
    bool frameChanged_ = false;
};

// Runs the dialog on the background; a change step "背景変更" is recorded
// when OK changed anything. True when the user pressed OK.
bool EditBackgroundInDialog(TLOBackImage& background, TfrmBackgroundColors& dialog);
bool EditBackgroundInDialog(TLOBackImage& background, QWidget* parent);

// The designer that answers EditObject for backgrounds with this dialog
// (owned by the active window), for "背景柄(&B)..." and for a background
// being created.
std::shared_ptr<TDODesigner> MakeBackgroundDialogDesigner();

}  // namespace orvella
