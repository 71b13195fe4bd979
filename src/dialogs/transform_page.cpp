#include "dialogs/transform_page.h"

#include "frame/app_frame.h"
#include "frame/message_box.h"
#include "frame/program_macros.h"
#include "objects/cdd_file.h"
#include "objects/coons_distortion.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <exception>

namespace orvella {

namespace {

// Storage errors carry file names that must not be read as macros.
void showError(const char* text)
{
    const TButtonKind ok[] = {bkOK};
    ShowExpandedMessage(text, ok, 0, 0);
}

}  // namespace

TPatternThumbnails::TPatternThumbnails(const QString& file) : picture_(file) {}

QImage TPatternThumbnails::Cell(int index) const
{
    const QRect cell((index % kColumns) * kCellWidth, (index / kColumns) * kCellHeight, kCellWidth, kCellHeight);
    if (index < 0 || !picture_.rect().contains(cell))
        return {};
    return picture_.copy(cell);
}

TfrmPatternSelect::TfrmPatternSelect(const TPatternThumbnails& thumbnails, int count, int current, QWidget* parent)
    : QDialog(parent), list_(new QListWidget)
{
    setWindowTitle(QStringLiteral("変形パターンの選択"));
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(TPatternThumbnails::kCellWidth, TPatternThumbnails::kCellHeight));
    list_->setGridSize(QSize(TPatternThumbnails::kCellWidth + 8, TPatternThumbnails::kCellHeight + 8));
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
    list_->setUniformItemSizes(true);
    // Four columns, six rows in view, a scroll bar for the rest.
    const int frame = 2 * list_->frameWidth() + 24;
    list_->setFixedSize(4 * (TPatternThumbnails::kCellWidth + 8) + frame,
                        6 * (TPatternThumbnails::kCellHeight + 8) + 2 * list_->frameWidth() + 4);
    for (int i = 0; i < count; ++i) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(thumbnails.Cell(i))), QString(), list_);
        item->setToolTip(QStringLiteral("パターン %1").arg(i + 1));
    }
    if (current >= 0 && current < count)
        list_->setCurrentRow(current);
    else if (count > 0)
        list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

int TfrmPatternSelect::Selected() const { return list_->currentRow(); }

TfrmTransformProperty::TfrmTransformProperty(QWidget* parent)
    : QWidget(parent), pattern_(std::make_unique<TCoonsDistortion>()),
      none_(new QRadioButton(QStringLiteral("変形しない(&N)"))),
      distort_(new QRadioButton(QStringLiteral("変形する(&T)"))),
      choose_(new QPushButton(QStringLiteral("パターンの選択(&P)..."))), sample_(new QLabel),
      ratio_(new QSlider(Qt::Horizontal)), ratioText_(new QLabel)
{
    sample_->setFixedSize(TPatternThumbnails::kCellWidth * 2, TPatternThumbnails::kCellHeight * 2);
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setAlignment(Qt::AlignCenter);
    ratio_->setRange(0, 100);
    ratio_->setTickInterval(10);
    ratio_->setTickPosition(QSlider::TicksBelow);
    auto* ratioLabel = new QLabel(QStringLiteral("変形量(&D)"));
    ratioLabel->setBuddy(ratio_);

    auto* layout = new QGridLayout(this);
    layout->addWidget(none_, 0, 0, 1, 2);
    layout->addWidget(distort_, 1, 0, 1, 2);
    layout->addWidget(sample_, 2, 0, 1, 1);
    layout->addWidget(choose_, 2, 1, Qt::AlignTop);
    layout->addWidget(ratioLabel, 3, 0);
    auto* ratioRow = new QHBoxLayout;
    ratioRow->addWidget(ratio_, 1);
    ratioRow->addWidget(ratioText_);
    layout->addLayout(ratioRow, 3, 1);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(1, 1);

    connect(none_, &QRadioButton::toggled, this, [this] { changed(); });
    connect(ratio_, &QSlider::valueChanged, this, [this](int value) {
        ratioText_->setText(QStringLiteral("%1%").arg(value));
        changed();
    });
    connect(choose_, &QPushButton::clicked, this, [this] {
        openFile();
        if (!file_)
            return;
        TfrmPatternSelect dialog(*thumbnails_, file_->PatternCount(), index_, this);
        if (dialog.exec() == QDialog::Accepted && dialog.Selected() >= 0)
            ChoosePattern(dialog.Selected());
    });
    none_->setChecked(true);
}

TfrmTransformProperty::~TfrmTransformProperty() = default;

void TfrmTransformProperty::openFile()
{
    if (file_)
        return;
    try {
        auto file = std::make_unique<TCDDFile>();
        file->Open(ExpandMacros("$(CoonsDistortionData)"));
        file_ = std::move(file);
        thumbnails_ = std::make_unique<TPatternThumbnails>(
            QString::fromStdString(ProgramPlaces().ExeDir) + QStringLiteral("TransformPattern.png"));
        if (pattern_ && !pattern_->IsEmpty())
            index_ = file_->IndexOfPattern(*pattern_);
    } catch (const std::exception& error) {
        showError(error.what());
    }
}

void TfrmTransformProperty::Load(const TCoonsDistortion& pattern, int ratio)
{
    loading_ = true;
    pattern_->Assign(pattern);
    index_ = -1;
    if (!pattern.IsEmpty()) {
        openFile();
        if (file_)
            index_ = file_->IndexOfPattern(pattern);
    }
    (pattern.IsEmpty() ? none_ : distort_)->setChecked(true);
    ratio_->setValue(ratio);
    ratioText_->setText(QStringLiteral("%1%").arg(ratio));
    showPattern();
    loading_ = false;
}

bool TfrmTransformProperty::WantsDistortion() const { return distort_->isChecked(); }

bool TfrmTransformProperty::HasPattern() const { return !pattern_->IsEmpty(); }

int TfrmTransformProperty::Ratio() const { return ratio_->value(); }

void TfrmTransformProperty::ChoosePattern(int index)
{
    openFile();
    if (!file_)
        return;
    try {
        file_->LoadPattern(*pattern_, index);
        index_ = index;
    } catch (const std::exception& error) {
        showError(error.what());
        return;
    }
    distort_->setChecked(true);
    showPattern();
    changed();
}

void TfrmTransformProperty::showPattern()
{
    const bool on = distort_->isChecked();
    // Choosing a pattern also switches the distortion on.
    ratio_->setEnabled(on);
    QImage cell = thumbnails_ && index_ >= 0 ? thumbnails_->Cell(index_) : QImage();
    if (on && !cell.isNull())
        sample_->setPixmap(QPixmap::fromImage(cell.scaledToHeight(sample_->height() - 4, Qt::SmoothTransformation)));
    else
        sample_->setText(on && HasPattern() ? QStringLiteral("(文書のパターン)") : QString());
}

void TfrmTransformProperty::changed()
{
    showPattern();
    if (!loading_ && OnChange)
        OnChange();
}

}  // namespace orvella
