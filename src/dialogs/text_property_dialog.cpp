#include "dialogs/text_property_dialog.h"

#include "dialogs/album_data_dialog.h"
#include "dialogs/color_panel.h"
#include "dialogs/shadow_sample.h"
#include "dialogs/transform_page.h"
#include "objects/coons_distortion.h"
#include "objects/lo_date.h"
#include "objects/lo_shade_text.h"
#include "objects/text_fields.h"
#include "platform/fonts/font_engine.h"
#include "platform/fonts/font_substitution.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <set>

namespace orvella {

namespace {

// Lengths are edited in millimetres and stored in tenths.
QDoubleSpinBox* millimetreBox(double minimum, double maximum)
{
    auto* box = new QDoubleSpinBox;
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setRange(minimum, maximum);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

int32_t tenths(const QDoubleSpinBox* box) { return int32_t(std::lround(box->value() * 10)); }

QStringList faceNames()
{
    QStringList names;
    std::set<std::string> seen;
    const auto add = [&](const std::string& name) {
        if (!name.empty() && name.front() != '@' && seen.insert(name).second)
            names << QString::fromStdString(name);
    };
    for (const std::string& name : SubstitutedFaceNames())
        add(name);
    for (const TFontFamilyInfo& family : FontEngine().Families())
        add(family.Name);
    return names;
}

// The lines of the text box; a trailing line break adds no empty line.
std::vector<std::string> boxLines(const QPlainTextEdit* box)
{
    QString text = box->toPlainText();
    std::vector<std::string> lines;
    if (text.isEmpty())
        return lines;
    if (text.endsWith(u'\n'))
        text.chop(1);
    for (const QString& line : text.split(u'\n'))
        lines.push_back(line.toStdString());
    return lines;
}

// Enter goes into the text box as a line break instead of pressing OK.
class TTextBox : public QPlainTextEdit {
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QPlainTextEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            event->accept();
    }
};

}  // namespace

TfrmTextProperty::TfrmTextProperty(QWidget* parent) : TfrmTextProperty(QStringLiteral("text"), true, parent) {}

TfrmTextProperty::TfrmTextProperty(QString kind, bool withTextPage, QWidget* parent)
    : TfrmPropertyDialog(std::move(kind), parent)
{
    buildPages(withTextPage);
}

TfrmTextProperty::~TfrmTextProperty() = default;

QWidget* TfrmTextProperty::makeFontControls()
{
    auto* group = new QWidget;
    auto* form = new QFormLayout(group);
    faceBox_ = new QComboBox;
    faceBox_->setEditable(true);
    faceBox_->addItems(faceNames());
    sizeBox_ = new QSpinBox;
    sizeBox_->setRange(1, 999);
    sizeBox_->setSuffix(QStringLiteral(" pt"));
    bold_ = new QCheckBox(QStringLiteral("太字(&B)"));
    italic_ = new QCheckBox(QStringLiteral("斜体(&I)"));
    underline_ = new QCheckBox(QStringLiteral("下線(&U)"));
    strikeOut_ = new QCheckBox(QStringLiteral("取り消し線(&K)"));
    auto* styles = new QHBoxLayout;
    for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_})
        styles->addWidget(box);
    alignBox_ = new QComboBox;
    alignBox_->addItems({QStringLiteral("左寄せ"), QStringLiteral("ｾﾝﾀﾘﾝｸﾞ"), QStringLiteral("右寄せ"),
                         QStringLiteral("均等配置")});
    vertical_ = new QCheckBox(QStringLiteral("縦書き(&V)"));
    charSpacing_ = millimetreBox(-100, 100);
    lineSpacing_ = millimetreBox(-100, 100);
    feedAngle_ = new QSpinBox;
    feedAngle_->setRange(-89, 89);
    feedAngle_->setSuffix(QStringLiteral(" 度"));
    bulge_ = millimetreBox(-500, 500);
    form->addRow(QStringLiteral("フォント(&F)"), faceBox_);
    form->addRow(QStringLiteral("サイズ(&S)"), sizeBox_);
    form->addRow(QStringLiteral("スタイル"), styles);
    form->addRow(QStringLiteral("配置(&A)"), alignBox_);
    form->addRow(QString(), vertical_);
    form->addRow(QStringLiteral("文字間隔(&C)"), charSpacing_);
    form->addRow(QStringLiteral("行間隔(&G)"), lineSpacing_);
    form->addRow(QStringLiteral("行送りの角度(&D)"), feedAngle_);
    form->addRow(QStringLiteral("円弧の高さ(&R)"), bulge_);

    connect(faceBox_, &QComboBox::currentTextChanged, this, [this] { InputChanged(); });
    connect(sizeBox_, &QSpinBox::valueChanged, this, [this] { InputChanged(); });
    connect(alignBox_, &QComboBox::currentIndexChanged, this, [this] { InputChanged(); });
    connect(feedAngle_, &QSpinBox::valueChanged, this, [this] { InputChanged(); });
    for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_, vertical_})
        connect(box, &QCheckBox::toggled, this, [this] { InputChanged(); });
    for (QDoubleSpinBox* box : {charSpacing_, lineSpacing_, bulge_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { InputChanged(); });
    return group;
}

void TfrmTextProperty::fillFromAlbum()
{
    TfrmAlbumData albums(this);
    if (albums.exec() != QDialog::Accepted)
        return;
    QStringList lines;
    for (const std::string& line : albums.ResultLines())
        lines << QString::fromStdString(line);
    textBox_->setPlainText(lines.join(u'\n'));
}

void TfrmTextProperty::buildPages(bool withTextPage)
{
    if (withTextPage) {
        textPage_ = new QWidget;
        auto* layout = new QHBoxLayout(textPage_);
        auto* left = new QVBoxLayout;
        textBox_ = new TTextBox;
        textBox_->setTabChangesFocus(false);
        textBox_->setMinimumSize(260, 160);
        auto* textLabel = new QLabel(QStringLiteral("文字(&T)"));
        textLabel->setBuddy(textBox_);
        // A music disc's label lists an album's tracks: the album dialog's
        // lines replace the text.
        auto* album = new QPushButton(QStringLiteral("アルバム情報(&L)..."));
        album->setObjectName(QStringLiteral("btnAlbum"));
        connect(album, &QPushButton::clicked, this, [this] { fillFromAlbum(); });
        auto* textHeader = new QHBoxLayout;
        textHeader->addWidget(textLabel);
        textHeader->addStretch();
        textHeader->addWidget(album);
        left->addLayout(textHeader);
        left->addWidget(textBox_, 1);
        hanToZen_ = new QCheckBox(QStringLiteral("半角文字を全角で表示(&Z)"));
        numToKnj_ = new QCheckBox(QStringLiteral("数字を漢数字で表示(&N)"));
        minusExc_ = new QCheckBox(QStringLiteral("「-」は半角のまま(&M)"));
        for (QCheckBox* box : {hanToZen_, numToKnj_, minusExc_}) {
            left->addWidget(box);
            connect(box, &QCheckBox::toggled, this, [this] { InputChanged(); });
        }
        auto* field = new QHBoxLayout;
        fieldType_ = new QComboBox;
        for (const std::string& caption : FieldTypeCaptions())
            fieldType_->addItem(QString::fromStdString(caption));
        fieldNo_ = new QSpinBox;
        fieldNo_->setRange(0, 99);
        fieldNo_->setToolTip(QStringLiteral("0: 割り当てなし"));
        field->addWidget(new QLabel(QStringLiteral("項目の割り当て")));
        field->addWidget(fieldType_);
        field->addWidget(fieldNo_);
        left->addLayout(field);
        layout->addLayout(left, 1);
        layout->addWidget(makeFontControls());
        AddPage(textPage_, QStringLiteral("文字"));
        connect(textBox_, &QPlainTextEdit::textChanged, this, [this] { InputChanged(); });
    }

    textColor_ = AddColorPage(QStringLiteral("文字色"));

    transform_ = new TfrmTransformProperty;
    transform_->OnChange = [this] {
        updateEnabled();
        InputChanged();
    };
    AddPage(transform_, QStringLiteral("変形"));

    auto* shadowPage = new QWidget;
    auto* shadowLayout = new QHBoxLayout(shadowPage);
    auto* choices = new QVBoxLayout;
    shadowOn_ = new QRadioButton(QStringLiteral("影を付ける(&O)"));
    shadowOff_ = new QRadioButton(QStringLiteral("付けない(&F)"));
    shadowSoft_ = new QRadioButton(QStringLiteral("ぼかし影(&S)"));
    auto* group = new QButtonGroup(shadowPage);
    for (QRadioButton* button : {shadowOn_, shadowOff_, shadowSoft_}) {
        group->addButton(button);
        choices->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this] {
            updateEnabled();
            InputChanged();
        });
    }
    shadowBold_ = new QCheckBox(QStringLiteral("影を太くする(&B)"));
    connect(shadowBold_, &QCheckBox::toggled, this, [this] { InputChanged(); });
    choices->addWidget(shadowBold_);
    shadowSample_ = new TfrmShadowSample;
    shadowSample_->OnChoose = [this](int) {
        if (shadowOff_->isChecked())
            shadowOn_->setChecked(true);
        InputChanged();
    };
    choices->addWidget(shadowSample_);
    choices->addStretch();
    shadowLayout->addLayout(choices);
    shadowColor_ = new TfrmColorSpec;
    shadowColor_->OnChange = [this](TColorSpec&) { InputChanged(); };
    shadowLayout->addWidget(shadowColor_, 1);
    AddPage(shadowPage, QStringLiteral("影"));

    auto* outlinePage = new QWidget;
    auto* outlineLayout = new QVBoxLayout(outlinePage);
    auto* outlineRow = new QHBoxLayout;
    outline_ = new QCheckBox(QStringLiteral("縁取りする(&L)"));
    outlineWidth_ = millimetreBox(0, 10);
    outlineRow->addWidget(outline_);
    auto* widthLabel = new QLabel(QStringLiteral("太さ(&W)"));
    widthLabel->setBuddy(outlineWidth_);
    outlineRow->addWidget(widthLabel);
    outlineRow->addWidget(outlineWidth_);
    outlineRow->addStretch();
    outlineLayout->addLayout(outlineRow);
    outlineColor_ = new TfrmColorSpec;
    outlineColor_->OnChange = [this](TColorSpec&) { InputChanged(); };
    outlineLayout->addWidget(outlineColor_, 1);
    connect(outline_, &QCheckBox::toggled, this, [this] {
        updateEnabled();
        InputChanged();
    });
    connect(outlineWidth_, &QDoubleSpinBox::valueChanged, this, [this] { InputChanged(); });
    AddPage(outlinePage, QStringLiteral("縁取り"));

    AddPositionPage();
}

void TfrmTextProperty::updateEnabled()
{
    // A distorted text takes its shape from the pattern: size, lines and
    // alignment do not apply.
    const bool distorted = transform_->WantsDistortion();
    for (QWidget* input : std::initializer_list<QWidget*>{sizeBox_, underline_, strikeOut_, alignBox_})
        if (input)
            input->setEnabled(!distorted);
    const bool shadow = !shadowOff_->isChecked();
    shadowSample_->setEnabled(shadow);
    shadowColor_->SetEnabled(shadow);
    shadowBold_->setEnabled(shadowSoft_->isChecked());
    outlineWidth_->setEnabled(outline_->isChecked());
    outlineColor_->SetEnabled(outline_->isChecked());
}

void TfrmTextProperty::LoadInputs(TDrawObject& object)
{
    auto* text = dynamic_cast<TLOText*>(&object);
    if (!text)
        return;
    if (textBox_) {
        QStringList lines;
        for (const std::string& line : text->Text())
            lines << QString::fromStdString(line);
        textBox_->setPlainText(lines.join(u'\n'));
        hanToZen_->setChecked(text->HanToZen());
        numToKnj_->setChecked(text->NumToKnj());
        minusExc_->setChecked(text->MinusExc());
        fieldType_->setCurrentIndex(std::clamp(int(text->FieldType()), 0, 2));
        fieldNo_->setValue(text->FieldNo());
    }
    const TPointBasedFont& font = text->Font();
    faceBox_->setCurrentText(QString::fromStdString(font.Name()));
    sizeBox_->setValue(font.Size());
    bold_->setChecked(font.Bold());
    italic_->setChecked(font.Italic());
    underline_->setChecked(font.Underline());
    strikeOut_->setChecked(font.StrikeOut());
    alignBox_->setCurrentIndex(std::clamp(text->Align(), 0, 3));
    vertical_->setChecked(text->Vertical());
    charSpacing_->setValue(text->CharSpacing() / 10.0);
    lineSpacing_->setValue(text->LineSpacing() / 10.0);
    feedAngle_->setValue(text->FeedAngle());
    bulge_->setValue(text->Bulge() / 10.0);
    textColor_->Load(text->TextColor());
    transform_->Load(text->CoonsDistortion(), text->DistortionRatio());

    const auto* shaded = dynamic_cast<const TLOShadeText*>(text);
    shadowSoft_->setEnabled(shaded != nullptr);
    if (text->Shadow() == 0)
        shadowOff_->setChecked(true);
    else if (shaded && shaded->ShadeShadowEnable())
        shadowSoft_->setChecked(true);
    else
        shadowOn_->setChecked(true);
    shadowBold_->setChecked(shaded && shaded->ShadeShadowBold());
    shadowSample_->SetPreset(text->Shadow());
    shadowColor_->Load(text->ShadowColor());
    outline_->setChecked(text->Outline());
    outlineWidth_->setValue(text->OutLineWidth() / 10.0);
    outlineColor_->Load(text->OutlineColor());
    updateEnabled();
}

void TfrmTextProperty::CommitInputs(TDrawObject& object)
{
    auto* text = dynamic_cast<TLOText*>(&object);
    if (!text)
        return;
    const auto colour = [this](TfrmColorSpec* panel) -> const TColorSpec& {
        return Previewing() ? panel->Working() : panel->Result();
    };
    if (textBox_) {
        text->SetText(boxLines(textBox_));
        text->SetHanToZen(hanToZen_->isChecked());
        text->SetNumToKnj(numToKnj_->isChecked());
        text->SetMinusExc(minusExc_->isChecked());
        text->SetFieldType(TFieldType(fieldType_->currentIndex()));
        text->SetFieldNo(fieldNo_->value());
    }
    TPointBasedFont& font = text->Font();
    font.SetName(faceBox_->currentText().toStdString());
    font.SetSize(sizeBox_->value());
    font.SetStyle((bold_->isChecked() ? fsBold : 0) | (italic_->isChecked() ? fsItalic : 0) |
                  (underline_->isChecked() ? fsUnderline : 0) | (strikeOut_->isChecked() ? fsStrikeOut : 0));
    text->SetAlign(alignBox_->currentIndex());
    text->SetVertical(vertical_->isChecked());
    text->SetCharSpacing(tenths(charSpacing_));
    text->SetLineSpacing(tenths(lineSpacing_));
    text->SetFeedAngle(feedAngle_->value());
    text->SetBulge(tenths(bulge_));
    text->TextColor().Assign(colour(textColor_));

    TCoonsDistortion& pattern = text->CoonsDistortion();
    if (transform_->WantsDistortion()) {
        const TCoonsDistortion& chosen = transform_->Pattern();
        if (transform_->HasPattern() &&
            (pattern.IsEmpty() || pattern.Identifier() != chosen.Identifier() || Previewing())) {
            pattern.Assign(chosen);
            text->PatternChanged();
        }
        text->SetDistortionRatio(transform_->Ratio());
    } else if (!pattern.IsEmpty()) {
        pattern.ClearPattern();
        text->PatternChanged();
    }

    if (shadowOff_->isChecked()) {
        text->SetShadow(0);
    } else if (shadowSample_->Preset() != 0) {
        text->SetShadow(shadowSample_->Preset());
    } else if (text->Shadow() == 0) {
        text->SetShadow(8);
    }
    if (auto* shaded = dynamic_cast<TLOShadeText*>(text)) {
        shaded->SetShadeShadowEnable(shadowSoft_->isChecked());
        shaded->SetShadeShadowBold(shadowBold_->isChecked());
    }
    text->ShadowColor().Assign(colour(shadowColor_));
    text->SetOutline(outline_->isChecked());
    text->SetOutLineWidth(tenths(outlineWidth_));
    text->OutlineColor().Assign(colour(outlineColor_));
}

bool TfrmTextProperty::CheckInputs()
{
    if (textBox_ && boxLines(textBox_).empty()) {
        Refuse(textPage_, QStringLiteral("文字が入力されていません"));
        return false;
    }
    if (transform_->WantsDistortion() && !transform_->HasPattern()) {
        Refuse(transform_, QStringLiteral("変形パターンが指定されていません"));
        return false;
    }
    return true;
}

QString TfrmTextProperty::Caption(const TDrawObject&, bool adding) const
{
    return adding ? QStringLiteral("文字の追加") : QStringLiteral("文字の編集・設定");
}

TfrmDateProperty::TfrmDateProperty(QWidget* parent) : TfrmTextProperty(QStringLiteral("date"), false, parent)
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* form = new QFormLayout;
    formatBox_ = new QComboBox;
    formatBox_->setEditable(true);
    for (const std::string& format : TLODate::OfferedFormats())
        formatBox_->addItem(QString::fromStdString(format));
    dateBox_ = new QDateTimeEdit;
    dateBox_->setCalendarPopup(true);
    dateBox_->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm"));
    updateBox_ = new QComboBox;
    for (const std::string& caption : TLODate::UpdateCaptions())
        updateBox_->addItem(QString::fromStdString(caption));
    form->addRow(QStringLiteral("書式(&F)"), formatBox_);
    form->addRow(QStringLiteral("日時(&D)"), dateBox_);
    form->addRow(QStringLiteral("更新(&U)"), updateBox_);
    layout->addLayout(form, 1);
    layout->addWidget(makeFontControls());
    Pages()->insertTab(0, page, QStringLiteral("日付"));
    Pages()->setCurrentIndex(0);
    connect(formatBox_, &QComboBox::currentTextChanged, this, [this] { InputChanged(); });
    connect(dateBox_, &QDateTimeEdit::dateTimeChanged, this, [this] { InputChanged(); });
}

void TfrmDateProperty::LoadInputs(TDrawObject& object)
{
    TfrmTextProperty::LoadInputs(object);
    if (auto* date = dynamic_cast<TLODate*>(&object)) {
        formatBox_->setCurrentText(QString::fromStdString(date->Format()));
        dateBox_->setDateTime(DateTimeFromDays(date->Date()));
        updateBox_->setCurrentIndex(std::clamp(int(date->UpdateFlag()), 0, 3));
    }
}

void TfrmDateProperty::CommitInputs(TDrawObject& object)
{
    TfrmTextProperty::CommitInputs(object);
    if (auto* date = dynamic_cast<TLODate*>(&object)) {
        date->SetFormat(formatBox_->currentText().toStdString());
        date->SetDate(DaysFromDateTime(dateBox_->dateTime()));
        date->SetUpdateFlag(TDateUpdateFlag(updateBox_->currentIndex()));
    }
}

QString TfrmDateProperty::Caption(const TDrawObject&, bool adding) const
{
    return adding ? QStringLiteral("日付オブジェクトの追加") : QStringLiteral("日付オブジェクトの設定");
}

std::shared_ptr<TDODesigner> MakeTextDialogDesigner()
{
    return MakePropertyDialogDesigner(TLOText::StaticClassInfo(),
                                      [](QWidget* parent) { return std::make_unique<TfrmTextProperty>(parent); });
}

std::shared_ptr<TDODesigner> MakeDateDialogDesigner()
{
    return MakePropertyDialogDesigner(TLODate::StaticClassInfo(),
                                      [](QWidget* parent) { return std::make_unique<TfrmDateProperty>(parent); });
}

}  // namespace orvella
