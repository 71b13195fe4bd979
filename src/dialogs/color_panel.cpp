#include "dialogs/color_panel.h"

#include "dialogs/color_grid_window.h"
#include "dialogs/color_swatch.h"
#include "dialogs/gradient_presets.h"
#include "dialogs/image_quality_dialog.h"
#include "frame/app_frame.h"
#include "frame/message_box.h"
#include "graphics/color_fill.h"
#include "graphics/color_fill_history.h"
#include "graphics/picture_ex.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace orvella {

namespace {

constexpr int kKindPicture = 44;
constexpr int kSwatch = 28;
constexpr int kPicturePreview = 150;
constexpr int kHistoryIcon = TColorSpecHistory::kPreviewSize;
constexpr TGradKind kShownKinds[] = {TGradKind::rgkSimple, TGradKind::rgkBoxToRim, TGradKind::rgkCircleToRim,
                                     TGradKind::rgkConeClockwise};
constexpr std::array<TColor, TfrmColorSpec::kStopCount> kInitialStops = {
    0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF};

// The chosen colour, its caption in the colour XOR AAAAAA so that it reads
// on any colour.
class TColorPreview : public QWidget {
public:
    explicit TColorPreview(std::function<TColor()> color, QWidget* parent)
        : QWidget(parent), color_(std::move(color))
    {
        setMinimumSize(120, 40);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const TColor color = color_();
        painter.fillRect(rect(), ToQColor(color));
        painter.setPen(ToQColor(color ^ 0xAAAAAA));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("選択中の色"));
        painter.setPen(Qt::gray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    std::function<TColor()> color_;
};

// The twins of the centre-ward and counter-clockwise kinds.
bool shownAsTwin(TGradKind kind, TGradKind& twin)
{
    switch (kind) {
    case TGradKind::rgkBoxToCenter: twin = TGradKind::rgkBoxToRim; return true;
    case TGradKind::rgkCircleToCenter: twin = TGradKind::rgkCircleToRim; return true;
    case TGradKind::rgkConeCounterClockwise: twin = TGradKind::rgkConeClockwise; return true;
    default: return false;
    }
}

}  // namespace

TfrmColorSpec::TfrmColorSpec(QWidget* parent)
    : QWidget(parent), working_(std::make_unique<TColorSpec>()), history_(std::make_unique<TColorSpecHistory>()),
      stops_(kInitialStops)
{
    setObjectName(QStringLiteral("frmColorSpec"));
    setWindowTitle(QStringLiteral("色の選択"));
    // Without the program's macro table there is no history file to use.
    const std::string historyFile = ExpandMacros("$(ColorSpecHistory)");
    if (historyFile.find("$(") == std::string::npos)
        history_->SetFilename(historyFile);
    working_->OnChange = [this] { changed(); };

    auto* controls = new QWidget;
    kindRow_ = new QWidget(controls);
    kinds_ = new QButtonGroup(this);
    auto* kindLayout = new QHBoxLayout(kindRow_);
    kindLayout->setContentsMargins(0, 0, 0, 0);
    const QString kindCaptions[] = {QStringLiteral("色指定(&C)"), QStringLiteral("イメージ(&I)"),
                                    QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(&G)")};
    for (int kind = 0; kind < 3; ++kind) {
        auto* button = new QRadioButton(kindCaptions[kind], kindRow_);
        kinds_->addButton(button, kind);
        kindLayout->addWidget(button);
    }
    kindLayout->addStretch(1);
    kindLayout->addWidget(new QLabel(QStringLiteral("履歴から"), kindRow_));
    historyButton_ = new QToolButton(kindRow_);
    historyButton_->setText(QStringLiteral("▼"));
    kindLayout->addWidget(historyButton_);
    connect(historyButton_, &QToolButton::clicked, this, [this] { showHistoryMenu(); });
    connect(kinds_, &QButtonGroup::idClicked, this, [this](int kind) { setKind(kind); });

    pages_ = new QStackedWidget(controls);
    auto* colorPage = new QWidget;
    auto* picturePage = new QWidget;
    auto* gradientPage = new QWidget;
    buildColorPage(colorPage);
    buildPicturePage(picturePage);
    buildGradientPage(gradientPage);
    pages_->addWidget(colorPage);
    pages_->addWidget(picturePage);
    pages_->addWidget(gradientPage);

    auto* controlsLayout = new QVBoxLayout(controls);
    controlsLayout->setContentsMargins(0, 0, 0, 0);
    controlsLayout->addWidget(kindRow_);
    controlsLayout->addWidget(pages_, 1);

    cover_ = new QStackedWidget(this);
    cover_->addWidget(controls);
    cover_->addWidget(new QWidget);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cover_);
    showControls();
}

TfrmColorSpec::~TfrmColorSpec() { working_->OnChange = nullptr; }

void TfrmColorSpec::buildColorPage(QWidget* page)
{
    grid_ = new TColorGridWindow(page);
    grid_->setFrameShape(QFrame::NoFrame);
    grid_->OnPick = [this](TColor color) { ChooseColor(color); };
    colorPreview_ = new TColorPreview([this] { return working_->Color(); }, page);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(grid_);
    layout->addWidget(colorPreview_, 1);
}

void TfrmColorSpec::buildPicturePage(QWidget* page)
{
    auto* choose = new QPushButton(QStringLiteral("イメージ選択..."), page);
    picturePreview_ = new QLabel(page);
    picturePreview_->setFixedSize(kPicturePreview, kPicturePreview);
    picturePreview_->setAlignment(Qt::AlignCenter);
    picturePreview_->setFrameShape(QFrame::StyledPanel);
    quality_ = new QPushButton(QStringLiteral("画質調整..."), page);
    tile_ = new QCheckBox(QStringLiteral("並べて表示(&T)"), page);
    tileShift_ = new QCheckBox(QStringLiteral("交互に並べる(&E)"), page);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(
            this, QStringLiteral("イメージ選択"), QString(),
            QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp *.jpg *.pcd);;すべてのﾌｧｲﾙ(*.*) (*)"));
        if (!file.isEmpty())
            LoadPictureFile(file);
    });
    connect(quality_, &QPushButton::clicked, this, [this] {
        TfrmImageQuality dialog(working_->ImageData(), this);
        if (dialog.exec() == QDialog::Accepted)
            dialog.Apply(working_->ImageData());
    });
    connect(tile_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            working_->SetTile(on);
    });
    connect(tileShift_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            working_->SetTileShift(on);
    });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(choose);
    buttons->addWidget(quality_);
    buttons->addWidget(tile_);
    buttons->addWidget(tileShift_);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(picturePreview_);
    layout->addLayout(buttons, 1);
}

void TfrmColorSpec::buildGradientPage(QWidget* page)
{
    stopCount_ = new QSpinBox(page);
    stopCount_->setRange(2, kStopCount);
    repeatCount_ = new QSpinBox(page);
    repeatCount_->setRange(1, 10);
    connect(stopCount_, &QSpinBox::valueChanged, this, [this](int count) {
        if (!loading_)
            setStopCount(count);
    });
    connect(repeatCount_, &QSpinBox::valueChanged, this, [this](int count) {
        if (!loading_)
            working_->GradColors().SetRepeatCount(count);
    });
    auto* counts = new QHBoxLayout;
    counts->addWidget(new QLabel(QStringLiteral("色数"), page));
    counts->addWidget(stopCount_);
    counts->addSpacing(12);
    counts->addWidget(new QLabel(QStringLiteral("色の繰返し"), page));
    counts->addWidget(repeatCount_);
    counts->addStretch(1);

    auto* swatches = new QHBoxLayout;
    for (int i = 0; i < kStopCount; ++i) {
        auto* button = new QToolButton(page);
        button->setFixedSize(kSwatch, kSwatch);
        button->setIconSize({kSwatch * 4 / 5, kSwatch * 4 / 5});
        connect(button, &QToolButton::clicked, this, [this, i, button] {
            button->setDown(true);
            TColorGridWindow::ShowBelow(button, stops_[std::size_t(i)], [this, i](TColor color) {
                stops_[std::size_t(i)] = color;
                working_->SetGradColor(i, color);
            });
            button->setDown(false);
        });
        stopButtons_[std::size_t(i)] = button;
        swatches->addWidget(button);
    }
    swatches->addStretch(1);

    gradKinds_ = new QButtonGroup(this);
    auto* kindsRow = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(page);
        button->setCheckable(true);
        button->setIconSize({kKindPicture, kKindPicture});
        gradKinds_->addButton(button, i);
        kindsRow->addWidget(button);
    }
    kindsRow->addStretch(1);
    connect(gradKinds_, &QButtonGroup::idClicked, this,
            [this](int i) { working_->SetGradKind(kShownKinds[i]); });

    direction_ = new QSlider(Qt::Horizontal, page);
    direction_->setRange(0, 359);
    directionNumber_ = new QSpinBox(page);
    directionNumber_->setRange(0, 359);
    directionNumber_->setSuffix(QStringLiteral("°"));
    connect(direction_, &QSlider::valueChanged, this, [this](int angle) {
        directionNumber_->setValue(angle);
        if (!loading_)
            working_->SetGradAngle(angle);
    });
    connect(directionNumber_, &QSpinBox::valueChanged, direction_, &QSlider::setValue);
    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(new QLabel(QStringLiteral("方向"), page));
    directionRow->addWidget(direction_, 1);
    directionRow->addWidget(directionNumber_);

    auto* samples = new QPushButton(QStringLiteral("色サンプル..."), page);
    auto* reverse = new QPushButton(QStringLiteral("色を反転"), page);
    connect(samples, &QPushButton::clicked, this, [this] {
        TGradientPresetsDialog dialog(*working_, GradientPresets(), this);
        if (dialog.exec() == QDialog::Accepted && dialog.Chosen() >= 0)
            ApplyPreset(GradientPresets()[std::size_t(dialog.Chosen())]);
    });
    connect(reverse, &QPushButton::clicked, this, [this] { working_->GradColors().ReverseColors(); });
    auto* actions = new QHBoxLayout;
    actions->addWidget(samples);
    actions->addWidget(reverse);
    actions->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(counts);
    layout->addLayout(swatches);
    layout->addLayout(kindsRow);
    layout->addLayout(directionRow);
    layout->addLayout(actions);
    layout->addStretch(1);
}

QAbstractButton* TfrmColorSpec::KindButton(int kind) const { return kinds_->button(kind); }

void TfrmColorSpec::Load(const TColorSpec& colorFill)
{
    loading_ = true;
    working_->Assign(colorFill);
    TGradKind twin;
    if (shownAsTwin(working_->GradKind(), twin)) {
        const bool cone = twin == TGradKind::rgkConeClockwise;
        working_->SetGradKind(twin);
        std::vector<TColor> colors = working_->GradColors().Colors();
        // A cone runs its stops round and back to the first: the same picture
        // the other way round keeps the first stop at the seam and reverses
        // the rest.
        std::reverse(colors.begin() + (cone && !colors.empty() ? 1 : 0), colors.end());
        working_->GradColors().SetColors(colors);
    }
    const std::vector<TColor>& colors = working_->GradColors().Colors();
    for (std::size_t i = 0; i < colors.size() && i < stops_.size(); ++i)
        stops_[i] = colors[i];
    shownKind_ = int(working_->Kind());
    loading_ = false;
    showControls();
}

void TfrmColorSpec::showControls()
{
    const bool wasLoading = loading_;
    loading_ = true;
    const TColorSpec& fill = *working_;
    // A picture fill still without its picture reads as a solid colour, but
    // the user is on the picture page choosing one.
    const int kind = shownKind_ == int(TColorSpecKind::cskBitmap) && fill.ImageData().Picture().Empty()
                         ? shownKind_
                         : int(fill.Kind());
    kinds_->button(kind)->setChecked(true);
    pages_->setCurrentIndex(kind);
    grid_->SetColor(fill.Color());
    colorPreview_->update();
    tile_->setChecked(fill.Tile());
    tileShift_->setChecked(fill.TileShift());
    tileShift_->setEnabled(fill.Tile());
    quality_->setEnabled(!fill.ImageData().Picture().Empty());
    if (fill.ImageData().Picture().Empty())
        picturePreview_->setPixmap({});
    else
        picturePreview_->setPixmap(ColorFillPicture(*working_, kPicturePreview - 4, kPicturePreview - 4));
    direction_->setValue(fill.GradAngle());
    directionNumber_->setValue(fill.GradAngle());
    const int count = fill.GradColors().Count();
    stopCount_->setValue(count);
    repeatCount_->setValue(fill.GradColors().RepeatCount());
    for (int i = 0; i < kStopCount; ++i) {
        QToolButton* button = stopButtons_[std::size_t(i)];
        button->setVisible(i < count);
        const int side = kSwatch * 4 / 5;
        button->setIcon(SwatchPicture(i < count ? fill.GradColor(i) : stops_[std::size_t(i)], side, side));
    }
    // Each kind picture shows the fill drawn in its own kind.
    TColorSpec sample;
    sample.Assign(fill);
    sample.SetKind(TColorSpecKind::cskGradation);
    for (int i = 0; i < 4; ++i) {
        sample.SetGradKind(kShownKinds[i]);
        QAbstractButton* button = gradKinds_->button(i);
        button->setIcon(ColorFillPicture(sample, kKindPicture, kKindPicture));
        button->setChecked(fill.GradKind() == kShownKinds[i]);
    }
    loading_ = wasLoading;
}

void TfrmColorSpec::changed()
{
    if (loading_)
        return;
    showControls();
    if (OnChange)
        OnChange(*working_);
}

void TfrmColorSpec::setKind(int kind)
{
    if (loading_)
        return;
    shownKind_ = kind;
    working_->SetKind(TColorSpecKind(kind));
    pages_->setCurrentIndex(kind);
}

void TfrmColorSpec::setStopCount(int count)
{
    std::vector<TColor> colors(stops_.begin(), stops_.begin() + std::clamp(count, 2, kStopCount));
    working_->GradColors().SetColors(colors);
}

void TfrmColorSpec::ChooseColor(TColor color) { working_->SetColor(color); }

void TfrmColorSpec::LoadPictureFile(const QString& fileName)
{
    try {
        TPictureEx picture;
        picture.LoadFromFile(fileName.toStdString());
        working_->ImageData().SetPicture(picture);
        if (faceWidth_ > 0 && faceHeight_ > 0)
            working_->ImageData().ResetClip(faceWidth_, faceHeight_);
        shownKind_ = int(TColorSpecKind::cskBitmap);
        working_->SetKind(TColorSpecKind::cskBitmap);
    } catch (const std::exception& error) {
        ShowInfo(error.what());
    }
}

void TfrmColorSpec::ApplyPreset(const std::vector<TColor>& stops)
{
    for (std::size_t i = 0; i < stops.size() && i < stops_.size(); ++i)
        stops_[i] = stops[i];
    working_->GradColors().SetColors(stops);
}

const TColorSpec& TfrmColorSpec::Result()
{
    const bool wasLoading = loading_;
    loading_ = true;
    if ((!enabled_ || working_->Kind() != TColorSpecKind::cskBitmap) && !working_->ImageData().Picture().Empty())
        working_->ImageData().Clear();
    loading_ = wasLoading;
    if (GetSettingBool("UseColorSpecHistory", true) && !history_->Filename().empty()) {
        // A history that cannot be written never costs the user the dialog.
        try {
            history_->Add(*working_);
        } catch (const std::exception&) {
        }
    }
    return *working_;
}

void TfrmColorSpec::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    cover_->setCurrentIndex(enabled ? 0 : 1);
}

void TfrmColorSpec::SetColorOnly(TColor color)
{
    kindRow_->hide();
    loading_ = true;
    working_->SetKind(TColorSpecKind::cskSolid);
    working_->SetColor(color);
    shownKind_ = 0;
    loading_ = false;
    showControls();
}

TColor TfrmColorSpec::SelectedColor() const { return grid_->Color(); }

void TfrmColorSpec::SetFaceSize(int32_t width, int32_t height)
{
    faceWidth_ = width;
    faceHeight_ = height;
}

void TfrmColorSpec::showHistoryMenu()
{
    QMenu menu(this);
    const bool useHistory = GetSettingBool("UseColorSpecHistory", true);
    if (useHistory && !history_->Filename().empty()) {
        const int count = history_->Count();
        for (int i = 0; i < count; ++i) {
            TPictureEx preview;
            history_->GetPreview(i, preview);
            QPixmap icon(kHistoryIcon, kHistoryIcon);
            icon.fill(Qt::white);
            if (!preview.Empty() && preview.Graphic()) {
                TBitmap pixels;
                preview.Graphic()->RenderTo24(pixels);
                QPainter painter(&icon);
                painter.drawImage(QRect(3, 3, kHistoryIcon - 6, kHistoryIcon - 6), pixels.AsImage());
            }
            QAction* entry = menu.addAction(QIcon(icon), QString());
            connect(entry, &QAction::triggered, this, [this, i] {
                TColorSpec loaded;
                history_->Load(i, loaded);
                Load(loaded);
                if (OnChange)
                    OnChange(*working_);
            });
        }
    }
    QMenu* settings = menu.addMenu(QStringLiteral("設定"));
    QAction* use = settings->addAction(QStringLiteral("履歴を使用する"));
    QAction* dontUse = settings->addAction(QStringLiteral("履歴を使用しない"));
    settings->addSeparator();
    QAction* clear = settings->addAction(QStringLiteral("履歴の消去"));
    use->setEnabled(!useHistory);
    dontUse->setEnabled(useHistory);
    clear->setEnabled(!history_->Filename().empty() && QFile::exists(QString::fromStdString(history_->Filename())));
    connect(use, &QAction::triggered, this, [] { SetSettingBool("UseColorSpecHistory", true); });
    connect(dontUse, &QAction::triggered, this, [] { SetSettingBool("UseColorSpecHistory", false); });
    connect(clear, &QAction::triggered, this, [this] { history_->Clear(); });
    menu.setStyleSheet(QStringLiteral("QMenu { icon-size: %1px; }").arg(kHistoryIcon));
    menu.exec(historyButton_->mapToGlobal(QPoint(0, historyButton_->height())));
}

}  // namespace orvella
