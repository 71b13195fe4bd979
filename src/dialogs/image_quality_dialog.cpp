#include "dialogs/image_quality_dialog.h"

#include "dialogs/color_grid_window.h"
#include "dialogs/color_swatch.h"
#include "graphics/bitmap.h"
#include "graphics/image_data.h"
#include "graphics/picture_ex.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvella {

namespace {

constexpr int kPreviewSide = 240;
constexpr TColor kDefaultTint = 0x4080C0;

QSlider* percentSlider(QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(-100, 100);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(25);
    return slider;
}

}  // namespace

TfrmImageQuality::TfrmImageQuality(const TImageData& image, QWidget* parent)
    : QDialog(parent), working_(std::make_unique<TImageData>())
{
    setWindowTitle(QStringLiteral("イメージの画質調整"));
    working_->Assign(image);
    loading_ = true;

    preview_ = new QLabel(this);
    preview_->setFixedSize(kPreviewSide, kPreviewSide);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::StyledPanel);

    const TPictureEx& picture = working_->Picture();
    TRect clip = working_->ClipFilter().ClipRect();
    if (clip.IsEmpty())
        clip = {0, 0, picture.Width(), picture.Height()};
    auto* clipBox = new QGroupBox(QStringLiteral("切り抜き"), this);
    auto* clipForm = new QFormLayout(clipBox);
    const QString clipCaptions[4] = {QStringLiteral("左(&L)"), QStringLiteral("上(&T)"), QStringLiteral("右(&R)"),
                                     QStringLiteral("下(&B)")};
    const int clipValues[4] = {clip.Left, clip.Top, clip.Right, clip.Bottom};
    for (int i = 0; i < 4; ++i) {
        clip_[i] = new QSpinBox(clipBox);
        clip_[i]->setRange(0, std::max(picture.Width(), picture.Height()));
        clip_[i]->setValue(clipValues[i]);
        clip_[i]->setSuffix(QStringLiteral(" px"));
        clipForm->addRow(clipCaptions[i], clip_[i]);
        connect(clip_[i], &QSpinBox::valueChanged, this, [this] { changed(); });
    }

    blur_ = new QSpinBox(this);
    blur_->setRange(-10, 10);
    blur_->setValue(working_->BlurFilter().BlurCount());
    blur_->setToolTip(QStringLiteral("正の値でぼかし、負の値でシャープ"));
    monotone_ = new QCheckBox(QStringLiteral("単色化(&M)"), this);
    monotoneColor_ = new QToolButton(this);
    const TColor tint = working_->MonotoneFilter().RefColor();
    monotone_->setChecked(tint != clNone);
    monotoneColor_->setProperty("tint", uint(tint == clNone ? kDefaultTint : tint));
    monotoneColor_->setIcon(SwatchPicture(tint == clNone ? kDefaultTint : tint, 24, 16));
    brightness_ = percentSlider(this);
    brightness_->setValue(working_->LightFilter().Brightness());
    contrast_ = percentSlider(this);
    contrast_->setValue(working_->LightFilter().Contrast());

    auto* effects = new QFormLayout;
    effects->addRow(QStringLiteral("ぼかし(&F)"), blur_);
    auto* tintRow = new QHBoxLayout;
    tintRow->addWidget(monotone_);
    tintRow->addWidget(monotoneColor_);
    tintRow->addStretch(1);
    effects->addRow(tintRow);
    effects->addRow(QStringLiteral("明るさ(&I)"), brightness_);
    effects->addRow(QStringLiteral("コントラスト(&C)"), contrast_);

    connect(blur_, &QSpinBox::valueChanged, this, [this] { changed(); });
    connect(monotone_, &QCheckBox::toggled, this, [this] { changed(); });
    connect(brightness_, &QSlider::valueChanged, this, [this] { changed(); });
    connect(contrast_, &QSlider::valueChanged, this, [this] { changed(); });
    connect(monotoneColor_, &QToolButton::clicked, this, [this] {
        TColorGridWindow::ShowBelow(monotoneColor_, TColor(monotoneColor_->property("tint").toUInt()),
                                    [this](TColor color) {
                                        monotoneColor_->setProperty("tint", uint(color));
                                        monotoneColor_->setIcon(SwatchPicture(color, 24, 16));
                                        monotone_->setChecked(true);
                                        changed();
                                    });
    });

    auto* reset = new QPushButton(QStringLiteral("元に戻す(&U)"), this);
    connect(reset, &QPushButton::clicked, this, [this, clip] {
        loading_ = true;
        const int values[4] = {clip.Left, clip.Top, clip.Right, clip.Bottom};
        for (int i = 0; i < 4; ++i)
            clip_[i]->setValue(values[i]);
        blur_->setValue(0);
        monotone_->setChecked(false);
        brightness_->setValue(0);
        contrast_->setValue(0);
        loading_ = false;
        changed();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->addButton(reset, QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* controls = new QVBoxLayout;
    controls->addWidget(clipBox);
    controls->addLayout(effects);
    controls->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(preview_);
    body->addLayout(controls, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    loading_ = false;
    showPreview();
}

TfrmImageQuality::~TfrmImageQuality() = default;

void TfrmImageQuality::changed()
{
    if (loading_)
        return;
    TImageData& image = *working_;
    image.ClipFilter().SetClipRect({clip_[0]->value(), clip_[1]->value(), clip_[2]->value(), clip_[3]->value()});
    image.BlurFilter().SetBlurCount(blur_->value());
    image.MonotoneFilter().SetRefColor(monotone_->isChecked() ? TColor(monotoneColor_->property("tint").toUInt())
                                                              : clNone);
    image.LightFilter().SetBrightness(brightness_->value());
    image.LightFilter().SetContrast(contrast_->value());
    showPreview();
}

void TfrmImageQuality::showPreview()
{
    TPictureEx& filtered = working_->GetFilteredPicture();
    if (filtered.Empty() || !filtered.Graphic()) {
        preview_->setPixmap({});
        return;
    }
    TBitmap pixels;
    filtered.Graphic()->RenderTo24(pixels);
    const QImage image = pixels.AsImage().scaled(kPreviewSide - 4, kPreviewSide - 4, Qt::KeepAspectRatio,
                                                 Qt::SmoothTransformation);
    preview_->setPixmap(QPixmap::fromImage(image));
}

void TfrmImageQuality::Apply(TImageData& target) const
{
    target.ClipFilter().Assign(working_->ClipFilter());
    target.BlurFilter().Assign(working_->BlurFilter());
    target.MonotoneFilter().Assign(working_->MonotoneFilter());
    target.LightFilter().Assign(working_->LightFilter());
}

}  // namespace orvella
