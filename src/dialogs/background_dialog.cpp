#include "dialogs/background_dialog.h"

#include "dialogs/color_panel.h"
#include "dialogs/position_panel.h"
#include "drawing/designer.h"
#include "drawing/do_actions.h"
#include "graphics/color_fill.h"
#include "graphics/rect_utils.h"
#include "objects/lo_back_image.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace orvella {

namespace {

constexpr int32_t kMaxFrameBand = 1000;

class TBackgroundDialogDesigner : public TDODesigner {
public:
    bool EditObject(TDrawObject& object, bool& cancelled) override
    {
        auto* background = dynamic_cast<TLOBackImage*>(&object);
        if (!background)
            return false;
        cancelled = !EditBackgroundInDialog(*background, QApplication::activeWindow());
        return true;
    }
};

}  // namespace

TfrmBackgroundColors::TfrmBackgroundColors(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("背景柄の設定"));
    auto* fillBox = new QGroupBox(QStringLiteral("背景の塗り"));
    fill_ = new TfrmColorSpec;
    fill_->OnChange = [this](TColorSpec&) { fillChanged_ = true; };
    auto* fillLayout = new QVBoxLayout(fillBox);
    fillLayout->addWidget(fill_);

    auto* frameBox = new QGroupBox(QStringLiteral("縁取り"));
    frameWidth_ = new TMillimetreEdit(0, kMaxFrameBand, 10);
    frame_ = new TfrmColorSpec;
    frame_->OnChange = [this](TColorSpec&) { frameChanged_ = true; };
    auto* frameForm = new QFormLayout;
    frameForm->addRow(QStringLiteral("縁の幅(&W)"), frameWidth_);
    auto* frameLayout = new QVBoxLayout(frameBox);
    frameLayout->addLayout(frameForm);
    frameLayout->addWidget(frame_);

    auto* panels = new QHBoxLayout;
    panels->addWidget(fillBox, 1);
    panels->addWidget(frameBox, 1);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addWidget(buttons_);
}

void TfrmBackgroundColors::Load(const TLOBackImage& background)
{
    // Pictures chosen here are fitted to the face the background fills.
    const TRect outer = background.FaceInfo().GetOuterRect();
    const TRect face = outer.IsEmpty() ? background.Rect() : outer;
    fill_->SetFaceSize(RectWidth(face), RectHeight(face));
    fill_->Load(background.FillColor());
    frame_->Load(background.FrameColor());
    frameWidth_->SetUnits(background.FrameWidth());
    fillChanged_ = false;
    frameChanged_ = false;
}

void TfrmBackgroundColors::Commit(TLOBackImage& background)
{
    if (fillChanged_)
        background.SetFillColor(fill_->Result());
    if (frameChanged_)
        background.SetFrameColor(frame_->Result());
    background.SetFrameWidth(frameWidth_->Units());
}

bool EditBackgroundInDialog(TLOBackImage& background, TfrmBackgroundColors& dialog)
{
    auto step = std::make_unique<TDOChangeAction>(background, "背景変更");
    dialog.Load(background);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    if (confirmed)
        dialog.Commit(background);
    RecordChange(std::move(step));
    return confirmed;
}

bool EditBackgroundInDialog(TLOBackImage& background, QWidget* parent)
{
    TfrmBackgroundColors dialog(parent);
    return EditBackgroundInDialog(background, dialog);
}

std::shared_ptr<TDODesigner> MakeBackgroundDialogDesigner()
{
    return std::make_shared<TBackgroundDialogDesigner>();
}

}  // namespace orvella
