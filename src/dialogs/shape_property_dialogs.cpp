#include "dialogs/shape_property_dialogs.h"

#include "dialogs/color_panel.h"
#include "dialogs/position_panel.h"
#include "drawing/designer.h"
#include "frame/message_box.h"
#include "graphics/picture_ex.h"
#include "objects/lo_deco_line.h"
#include "objects/lo_line.h"
#include "objects/lo_rect.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

#include <exception>

namespace orvella {

namespace {

constexpr int32_t kCoordinateLimit = 10000;
constexpr int32_t kLineWidthLimit = 1000;

TMillimetreEdit* lengthEdit(int32_t minimum, int32_t maximum, const std::function<void()>& changed)
{
    auto* edit = new TMillimetreEdit(minimum, maximum, 10);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [changed] { changed(); });
    return edit;
}

}  // namespace

// --- the line page ---

TLinePositionPage::TLinePositionPage(QWidget* parent) : QWidget(parent)
{
    const auto changed = [this] {
        if (OnChange)
            OnChange();
    };
    lineWidth_ = lengthEdit(1, kLineWidthLimit, changed);
    startX_ = lengthEdit(-kCoordinateLimit, kCoordinateLimit, changed);
    startY_ = lengthEdit(-kCoordinateLimit, kCoordinateLimit, changed);
    endX_ = lengthEdit(-kCoordinateLimit, kCoordinateLimit, changed);
    endY_ = lengthEdit(-kCoordinateLimit, kCoordinateLimit, changed);
    blend_ = new QSpinBox;
    blend_->setRange(0, 100);
    blend_->setSuffix(QStringLiteral(" %"));
    connect(blend_, &QSpinBox::valueChanged, this, changed);
    lock_ = new QCheckBox(QStringLiteral("ロックする(&K)"));
    connect(lock_, &QCheckBox::toggled, this, changed);
    dontPrint_ = new QCheckBox(QStringLiteral("印刷しない(&P)"));
    connect(dontPrint_, &QCheckBox::toggled, this, changed);

    // Labels with their inputs as buddies, so that the mnemonics work.
    const auto label = [](const QString& text, QWidget* buddy) {
        auto* caption = new QLabel(text);
        caption->setBuddy(buddy);
        return caption;
    };
    auto* points = new QGridLayout;
    points->addWidget(label(QStringLiteral("始点 X(&S)"), startX_), 0, 0);
    points->addWidget(startX_, 0, 1);
    points->addWidget(label(QStringLiteral("Y"), startY_), 0, 2);
    points->addWidget(startY_, 0, 3);
    points->addWidget(label(QStringLiteral("終点 X(&E)"), endX_), 1, 0);
    points->addWidget(endX_, 1, 1);
    points->addWidget(label(QStringLiteral("Y"), endY_), 1, 2);
    points->addWidget(endY_, 1, 3);
    points->addWidget(new QLabel(QStringLiteral("mm")), 0, 4);
    points->addWidget(new QLabel(QStringLiteral("mm")), 1, 4);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("線の太さ(&W)"), lineWidth_);
    form->addRow(QStringLiteral("透過率(&E)"), blend_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(points);
    layout->addWidget(lock_);
    layout->addWidget(dontPrint_);
    layout->addStretch(1);
}

namespace {

void loadLinePage(TLinePositionPage& page, const TLOLine& line)
{
    page.LineWidthEdit()->SetUnits(line.LineWidth());
    page.StartXEdit()->SetUnits(line.StartX());
    page.StartYEdit()->SetUnits(line.StartY());
    page.EndXEdit()->SetUnits(line.EndX());
    page.EndYEdit()->SetUnits(line.EndY());
    page.BlendEdit()->setValue(line.BlendRatio());
    page.LockBox()->setChecked(!line.Movable());
    page.DontPrintBox()->setChecked(line.DontPrint());
}

void commitLinePage(const TLinePositionPage& page, TLOLine& line)
{
    line.SetLineWidth(page.LineWidthEdit()->Units());
    line.SetStartPoint(page.StartXEdit()->Units(), page.StartYEdit()->Units());
    line.SetEndPoint(page.EndXEdit()->Units(), page.EndYEdit()->Units());
    line.SetBlendRatio(page.BlendEdit()->value());
    line.SetMovable(!page.LockBox()->isChecked());
    line.SetDontPrint(page.DontPrintBox()->isChecked());
}

}  // namespace

// --- lines and arcs ---

TfrmLineProperty::TfrmLineProperty(bool curve, QWidget* parent)
    : TfrmPropertyDialog(curve ? QStringLiteral("curve") : QStringLiteral("line"), parent)
{
    color_ = AddColorPage(QStringLiteral("線色"));
    color_->OnChange = [this](TColorSpec&) {
        colorChanged_ = true;
        InputChanged();
    };
    line_ = new TLinePositionPage;
    line_->OnChange = [this] { InputChanged(); };
    AddPage(line_, QStringLiteral("位置"));
}

void TfrmLineProperty::LoadInputs(TDrawObject& object)
{
    const auto& line = dynamic_cast<const TLOLine&>(object);
    color_->Load(line.LineColor());
    colorChanged_ = false;
    loadLinePage(*line_, line);
}

void TfrmLineProperty::CommitInputs(TDrawObject& object)
{
    auto& line = dynamic_cast<TLOLine&>(object);
    // A colour fill copied over an equal one may still count as a change;
    // only a colour the user touched is written.
    if (colorChanged_)
        line.SetLineColor(Previewing() ? color_->Working() : color_->Result());
    commitLinePage(*line_, line);
}

QString TfrmLineProperty::Caption(const TDrawObject& object, bool) const
{
    return dynamic_cast<const TLOCurve*>(&object) ? QStringLiteral("円弧の設定") : QStringLiteral("直線の設定");
}

// --- rectangles and ellipses ---

TfrmRectProperty::TfrmRectProperty(QWidget* parent) : TfrmPropertyDialog(QStringLiteral("rect"), parent)
{
    auto* framePage = new QWidget;
    frameWidth_ = lengthEdit(0, kLineWidthLimit, [this] { InputChanged(); });
    round_ = new QCheckBox(QStringLiteral("角を丸くする(&R)"));
    connect(round_, &QCheckBox::toggled, this, [this] { InputChanged(); });
    frame_ = new TfrmColorSpec;
    frame_->OnChange = [this](TColorSpec&) {
        frameChanged_ = true;
        InputChanged();
    };
    auto* frameForm = new QFormLayout;
    frameForm->addRow(QStringLiteral("線の太さ(&W)"), frameWidth_);
    auto* frameLayout = new QVBoxLayout(framePage);
    frameLayout->addLayout(frameForm);
    frameLayout->addWidget(round_);
    frameLayout->addWidget(frame_, 1);
    AddPage(framePage, QStringLiteral("枠線"));

    auto* fillPage = new QWidget;
    fillInside_ = new QCheckBox(QStringLiteral("内側を塗りつぶす(&F)"));
    fill_ = new TfrmColorSpec;
    fill_->OnChange = [this](TColorSpec&) {
        fillChanged_ = true;
        InputChanged();
    };
    connect(fillInside_, &QCheckBox::toggled, this, [this](bool on) {
        fill_->SetEnabled(on);
        InputChanged();
    });
    auto* fillLayout = new QVBoxLayout(fillPage);
    fillLayout->addWidget(fillInside_);
    fillLayout->addWidget(fill_, 1);
    AddPage(fillPage, QStringLiteral("塗り色"));
    AddPositionPage();
}

void TfrmRectProperty::LoadInputs(TDrawObject& object)
{
    const auto& rect = dynamic_cast<const TLORect&>(object);
    frame_->Load(rect.FrameColor());
    frameWidth_->SetUnits(rect.FrameWidth());
    round_->setChecked(rect.RoundRect());
    // An ellipse has no corners to round.
    round_->setVisible(!dynamic_cast<const TLOCircle*>(&rect));
    fill_->Load(rect.FillColor());
    fillInside_->setChecked(rect.FillInside());
    fill_->SetEnabled(rect.FillInside());
    frameChanged_ = false;
    fillChanged_ = false;
}

void TfrmRectProperty::CommitInputs(TDrawObject& object)
{
    auto& rect = dynamic_cast<TLORect&>(object);
    if (frameChanged_)
        rect.SetFrameColor(Previewing() ? frame_->Working() : frame_->Result());
    rect.SetFrameWidth(frameWidth_->Units());
    if (!dynamic_cast<TLOCircle*>(&rect))
        rect.SetRoundRect(round_->isChecked());
    if (fillChanged_)
        rect.SetFillColor(Previewing() ? fill_->Working() : fill_->Result());
    rect.SetFillInside(fillInside_->isChecked());
}

QString TfrmRectProperty::Caption(const TDrawObject& object, bool) const
{
    return dynamic_cast<const TLOCircle*>(&object) ? QStringLiteral("円図形の設定") : QStringLiteral("四角図形の設定");
}

// --- decorative lines ---

TfrmDecoLineProperty::TfrmDecoLineProperty(QWidget* parent) : TfrmDecoLineProperty(DecoLinePatternFiles(), parent) {}

TfrmDecoLineProperty::TfrmDecoLineProperty(std::vector<std::filesystem::path> patterns, QWidget* parent)
    : TfrmPropertyDialog(QStringLiteral("decoline"), parent), patterns_(std::move(patterns))
{
    patternPage_ = new QWidget;
    list_ = new QListWidget;
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(96, 48));
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    for (const std::filesystem::path& file : patterns_) {
        const QImage picture(QString::fromStdString(file.string()));
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)), QString());
        item->setToolTip(QString::fromStdString(file.stem().string()));
        list_->addItem(item);
    }
    connect(list_, &QListWidget::currentRowChanged, this, [this] { patternChosen(); });
    auto* layout = new QVBoxLayout(patternPage_);
    layout->addWidget(list_);
    AddPage(patternPage_, QStringLiteral("パターン"));
    line_ = new TLinePositionPage;
    line_->OnChange = [this] { InputChanged(); };
    AddPage(line_, QStringLiteral("位置"));
}

void TfrmDecoLineProperty::LoadInputs(TDrawObject& object)
{
    const auto& line = dynamic_cast<const TLODecoLine&>(object);
    adding_ = object.Parent() == nullptr;
    chosen_.reset();
    list_->setCurrentRow(-1);
    loadLinePage(*line_, line);
}

void TfrmDecoLineProperty::patternChosen()
{
    if (Loading())
        return;
    const int row = list_->currentRow();
    if (row < 0 || std::size_t(row) >= patterns_.size())
        return;
    // A new line takes the size the pattern gives it; a placed one keeps its own.
    TLODecoLine sized;
    try {
        sized.ChoosePattern(patterns_[std::size_t(row)]);
    } catch (const std::exception& error) {
        // A damaged or vanished pattern file is reported here, inside the
        // slot, and leaves the choice as it was.
        ShowInfo(error.what());
        return;
    }
    chosen_ = std::make_unique<TPictureEx>();
    chosen_->Assign(sized.Image());
    if (adding_)
        loadLinePage(*line_, sized);
    InputChanged();
}

void TfrmDecoLineProperty::CommitInputs(TDrawObject& object)
{
    auto& line = dynamic_cast<TLODecoLine&>(object);
    if (chosen_)
        line.SetImage(*chosen_);
    commitLinePage(*line_, line);
}

QString TfrmDecoLineProperty::Caption(const TDrawObject&, bool) const { return QStringLiteral("飾り罫線の選択"); }

// --- the designers ---

void RegisterShapeDialogs()
{
    // Registered later is asked first: the decorative line's own dialog
    // comes after the one it would otherwise share with lines.
    DesignerList().Register(std::make_shared<TDialogDesigner>(TLOLine::StaticClassInfo(), [](TDrawObject& object) {
        TfrmLineProperty dialog(dynamic_cast<TLOCurve*>(&object) != nullptr, QApplication::activeWindow());
        return EditObjectInDialog(object, dialog);
    }));
    DesignerList().Register(MakePropertyDialogDesigner(TLORect::StaticClassInfo(), [](QWidget* parent) {
        return std::make_unique<TfrmRectProperty>(parent);
    }));
    DesignerList().Register(MakePropertyDialogDesigner(TLODecoLine::StaticClassInfo(), [](QWidget* parent) {
        return std::make_unique<TfrmDecoLineProperty>(parent);
    }));
}

}  // namespace orvella
