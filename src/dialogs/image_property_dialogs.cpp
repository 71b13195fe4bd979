#include "dialogs/image_property_dialogs.h"

#include "dialogs/color_panel.h"
#include "dialogs/image_quality_dialog.h"
#include "dialogs/position_panel.h"
#include "drawing/designer.h"
#include "graphics/color_fill.h"
#include "graphics/image_data.h"
#include "graphics/picture_clipboard.h"
#include "graphics/picture_ex.h"
#include "objects/lo_alpha_mask.h"
#include "objects/lo_image.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvella {

namespace {

constexpr int kThumbnailSide = 160;
constexpr int kMaxPicturePixels = 1 << 20;

QPixmap thumbnail(const TPictureEx& picture)
{
    if (picture.Empty())
        return {};
    TBitmap pixels;
    picture.Graphic()->RenderTo24(pixels);
    return QPixmap::fromImage(pixels.AsImage().scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio,
                                                      Qt::SmoothTransformation));
}

QString pictureFileFilter() { return QStringLiteral("画像ファイル (*.bmp *.png *.jpg *.jpeg *.gif *.cbm)"); }

}  // namespace

// --- pictures ---

TfrmIllustProperty::TfrmIllustProperty(QWidget* parent)
    : TfrmPropertyDialog(QStringLiteral("illust"), parent),
      working_(std::make_unique<TImageData>()),
      frame_(std::make_unique<TPictureEx>())
{
    auto* picturePage = new QWidget;
    picturePreview_ = new QLabel;
    picturePreview_->setMinimumSize(kThumbnailSide, kThumbnailSide);
    picturePreview_->setAlignment(Qt::AlignCenter);
    auto* load = new QPushButton(QStringLiteral("ファイルから読み込む(&F)..."));
    connect(load, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("イラストを開く"), {}, pictureFileFilter());
        if (!file.isEmpty())
            LoadPictureFile(file);
    });
    paste_ = new QPushButton(QStringLiteral("貼り付け(&V)"));
    connect(paste_, &QPushButton::clicked, this, [this] { PastePicture(); });
    framePreview_ = new QLabel;
    framePreview_->setMinimumSize(kThumbnailSide / 2, kThumbnailSide / 2);
    framePreview_->setAlignment(Qt::AlignCenter);
    auto* frameLoad = new QPushButton(QStringLiteral("フレームを読み込む(&R)..."));
    connect(frameLoad, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("フレームを開く"), {}, pictureFileFilter());
        if (!file.isEmpty())
            LoadFramePicture(file);
    });
    auto* frameClear = new QPushButton(QStringLiteral("フレームをはずす(&N)"));
    connect(frameClear, &QPushButton::clicked, this, [this] { ClearFramePicture(); });
    alphaFrame_ = new QCheckBox(QStringLiteral("フレームでぼかす(&A)"));
    connect(alphaFrame_, &QCheckBox::toggled, this, [this] { InputChanged(); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(load);
    buttons->addWidget(paste_);
    buttons->addSpacing(12);
    buttons->addWidget(frameLoad);
    buttons->addWidget(frameClear);
    buttons->addWidget(alphaFrame_);
    buttons->addStretch(1);
    auto* pictures = new QVBoxLayout;
    pictures->addWidget(picturePreview_, 1);
    pictures->addWidget(framePreview_);
    auto* pictureLayout = new QHBoxLayout(picturePage);
    pictureLayout->addLayout(pictures, 1);
    pictureLayout->addLayout(buttons);
    AddPage(picturePage, QStringLiteral("イラスト"));

    auto* clipPage = new QWidget;
    auto* clipForm = new QFormLayout;
    const char* clipCaptions[4] = {"左(&L)", "上(&T)", "幅(&W)", "高さ(&H)"};
    for (int i = 0; i < 4; ++i) {
        clip_[i] = new QSpinBox;
        clip_[i]->setRange(i < 2 ? 0 : 1, kMaxPicturePixels);
        clip_[i]->setSuffix(QStringLiteral(" ピクセル"));
        connect(clip_[i], &QSpinBox::valueChanged, this, [this] { clipEdited(); });
        clipForm->addRow(QString::fromUtf8(clipCaptions[i]), clip_[i]);
    }
    auto* whole = new QPushButton(QStringLiteral("全体を使う(&A)"));
    connect(whole, &QPushButton::clicked, this, [this] {
        working_->ResetClip(0, 0);
        imageChanged_ = true;
        pictureChosen();
    });
    auto* clipLayout = new QVBoxLayout(clipPage);
    clipLayout->addLayout(clipForm);
    clipLayout->addWidget(whole);
    clipLayout->addStretch(1);
    AddPage(clipPage, QStringLiteral("切り抜き"));

    auto* qualityPage = new QWidget;
    qualitySummary_ = new QLabel;
    qualitySummary_->setWordWrap(true);
    auto* quality = new QPushButton(QStringLiteral("画質を調整する(&Q)..."));
    connect(quality, &QPushButton::clicked, this, [this] { editQuality(); });
    auto* qualityLayout = new QVBoxLayout(qualityPage);
    qualityLayout->addWidget(qualitySummary_);
    qualityLayout->addWidget(quality);
    qualityLayout->addStretch(1);
    AddPage(qualityPage, QStringLiteral("画質調整"));
    AddPositionPage();
}

TfrmIllustProperty::~TfrmIllustProperty() = default;

void TfrmIllustProperty::LoadInputs(TDrawObject& object)
{
    const auto& image = dynamic_cast<const TLOImage&>(object);
    // A picture object made by its creation command is already on the site
    // but has no size yet: the picture chosen here gives it one.
    adding_ = object.Parent() == nullptr || image.GetWidth() == 0 || image.GetHeight() == 0;
    working_->Assign(image.ImageData());
    frame_->Assign(image.FramePicture());
    alphaFrame_->setChecked(image.AlphaFrame());
    imageChanged_ = false;
    frameChanged_ = false;
    showPictures();
}

void TfrmIllustProperty::CommitInputs(TDrawObject& object)
{
    auto& image = dynamic_cast<TLOImage&>(object);
    if (imageChanged_)
        image.SetImageData(*working_);
    if (frameChanged_)
        image.SetFramePicture(*frame_);
    image.SetAlphaFrame(alphaFrame_->isChecked());
}

QString TfrmIllustProperty::Caption(const TDrawObject&, bool) const { return QStringLiteral("イラストの設定"); }

void TfrmIllustProperty::showPictures()
{
    picturePreview_->setPixmap(thumbnail(working_->Picture()));
    framePreview_->setPixmap(thumbnail(*frame_));
    const TRect clip = working_->ClipFilter().ClipRect();
    const int values[4] = {clip.Left, clip.Top, clip.Right - clip.Left, clip.Bottom - clip.Top};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker block(clip_[i]);
        clip_[i]->setValue(values[i]);
        clip_[i]->setEnabled(!working_->Picture().Empty());
    }
    qualitySummary_->setText(working_->Picture().Empty()
                                 ? QStringLiteral("イラストが選ばれていません。")
                                 : QStringLiteral("%1 × %2 ピクセル")
                                       .arg(working_->Picture().Width())
                                       .arg(working_->Picture().Height()));
}

void TfrmIllustProperty::pictureChosen()
{
    showPictures();
    // A picture object being added takes the picture's own size.
    if (adding_ && !working_->Picture().Empty() && PositionPage()) {
        TPositionRecord record;
        PositionPage()->WriteTo(record);
        const TRect place = FitRectToPicture({record.Left, record.Top, record.Left, record.Top},
                                             {working_->Picture().Width(), working_->Picture().Height()}, false);
        record.Width = place.Right - place.Left;
        record.Height = place.Bottom - place.Top;
        PositionPage()->ReadFrom(record);
    }
    InputChanged();
}

void TfrmIllustProperty::LoadPictureFile(const QString& fileName)
{
    TPictureEx picture;
    picture.LoadFromFile(fileName.toStdString());
    working_->SetPicture(picture);
    working_->ResetClip(0, 0);
    imageChanged_ = true;
    pictureChosen();
}

bool TfrmIllustProperty::PastePicture()
{
    TPictureEx picture;
    if (!AssignPictureFromClipboard(picture))
        return false;
    working_->SetPicture(picture);
    working_->ResetClip(0, 0);
    imageChanged_ = true;
    pictureChosen();
    return true;
}

void TfrmIllustProperty::LoadFramePicture(const QString& fileName)
{
    TPictureEx picture;
    picture.LoadFromFile(fileName.toStdString());
    frame_->Assign(picture);
    frameChanged_ = true;
    showPictures();
    InputChanged();
}

void TfrmIllustProperty::ClearFramePicture()
{
    frame_->Clear();
    frameChanged_ = true;
    showPictures();
    InputChanged();
}

void TfrmIllustProperty::clipEdited()
{
    if (working_->Picture().Empty())
        return;
    const int left = clip_[0]->value(), top = clip_[1]->value();
    const int right = std::min(left + clip_[2]->value(), working_->Picture().Width());
    const int bottom = std::min(top + clip_[3]->value(), working_->Picture().Height());
    if (right <= left || bottom <= top)
        return;
    working_->ClipFilter().SetClipRect({left, top, right, bottom});
    imageChanged_ = true;
    InputChanged();
}

void TfrmIllustProperty::editQuality()
{
    if (working_->Picture().Empty())
        return;
    TfrmImageQuality quality(*working_, this);
    if (quality.exec() != QDialog::Accepted)
        return;
    quality.Apply(*working_);
    imageChanged_ = true;
    pictureChosen();
}

// --- alpha masks ---

TfrmAlphaMaskProperty::TfrmAlphaMaskProperty(QWidget* parent)
    : TfrmPropertyDialog(QStringLiteral("alphamask"), parent)
{
    auto* fillPage = new QWidget;
    fill_ = new TfrmColorSpec;
    fill_->OnChange = [this](TColorSpec&) {
        fillChanged_ = true;
        InputChanged();
    };
    shade_ = new QSpinBox;
    shade_->setRange(0, 100);
    connect(shade_, &QSpinBox::valueChanged, this, [this] { InputChanged(); });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ぼかし(&S)"), shade_);
    auto* layout = new QVBoxLayout(fillPage);
    layout->addWidget(fill_, 1);
    layout->addLayout(form);
    AddPage(fillPage, QStringLiteral("塗り色"));
    AddPositionPage();
}

void TfrmAlphaMaskProperty::LoadInputs(TDrawObject& object)
{
    const auto& mask = dynamic_cast<const TLOAlphaMask&>(object);
    fill_->Load(mask.FillColor());
    shade_->setValue(mask.ShadeSize());
    fillChanged_ = false;
}

void TfrmAlphaMaskProperty::CommitInputs(TDrawObject& object)
{
    auto& mask = dynamic_cast<TLOAlphaMask&>(object);
    if (fillChanged_)
        mask.SetFillColor(Previewing() ? fill_->Working() : fill_->Result());
    mask.SetShadeSize(shade_->value());
}

QString TfrmAlphaMaskProperty::Caption(const TDrawObject&, bool) const { return QStringLiteral("シェード図形の設定"); }

std::shared_ptr<TDODesigner> MakeImageDialogDesigner()
{
    return MakePropertyDialogDesigner(TLOImage::StaticClassInfo(), [](QWidget* parent) {
        return std::unique_ptr<TfrmPropertyDialog>(std::make_unique<TfrmIllustProperty>(parent));
    });
}

std::shared_ptr<TDODesigner> MakeAlphaMaskDialogDesigner()
{
    return MakePropertyDialogDesigner(TLOAlphaMask::StaticClassInfo(), [](QWidget* parent) {
        return std::unique_ptr<TfrmPropertyDialog>(std::make_unique<TfrmAlphaMaskProperty>(parent));
    });
}

}  // namespace orvella
