#include "dialogs/qr_code_dialog.h"

#include "dialogs/position_panel.h"
#include "drawing/designer.h"
#include "objects/lo_qr_code.h"
#include "platform/cp932.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStringList>

#include <optional>

namespace orvella {

namespace {

const TQRProfileItem kProfileItems[] = {
    {"手入力", -1},
    {"氏名-基本情報", 1},
    {"ふりがな-基本情報", 2},
    {"ローマ字-基本情報", 3},
    {"TEL-個人情報", 8},
    {"FAX-個人情報", 9},
    {"携帯電話-個人情報", 10},
    {"ポケットベル-個人情報", 11},
    {"e-mail-個人情報", 12},
    {"ホームページ-個人情報", 13},
    {"TEL-個人英語情報", 17},
    {"FAX-個人英語情報", 18},
    {"MOBILE-個人英語情報", 19},
    {"PAGER No.-個人英語情報", 20},
    {"e-mail-個人英語情報", 21},
    {"HOME PAGE-個人英語情報", 22},
    {"会社名-会社情報", 23},
    {"TEL1-会社情報", 30},
    {"TEL2-会社情報", 31},
    {"FAX-会社情報", 32},
    {"携帯電話-会社情報", 33},
    {"ポケットベル-会社情報", 34},
    {"e-mail-会社情報", 35},
    {"ホームページ-会社情報", 36},
    {"COMPANY NAME-会社英語情報", 37},
    {"TEL1-会社英語情報", 44},
    {"TEL2-会社英語情報", 45},
    {"FAX-会社英語情報", 46},
    {"MOBILE-会社英語情報", 47},
    {"PAGER No.-会社英語情報", 48},
    {"e-mail-会社英語情報", 49},
    {"HOME PAGE-会社英語情報", 50},
};

const char* const kFieldCaptions[] = {"氏名", "ふりがな", "TEL1", "TEL2", "e-mail1", "e-mail2", "タイトル", "URL"};
const char* const kLevelCaptions[] = {"L(7%)", "M(15%)", "Q(25%)", "H(30%)"};
const char kLevels[] = {'L', 'M', 'Q', 'H'};

QString qrFromStd(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string qrToStd(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), std::size_t(bytes.size())};
}

int32_t* idOf(TLOQRStd& object, int field)
{
    int32_t* const ids[] = {&object.QRNameID,   &object.QRFuriganaID, &object.QRTel1ID,     &object.QRTel2ID,
                            &object.QREmail1ID, &object.QREmail2ID,   &object.QRUrlTitleID, &object.QRUrlID};
    return ids[field];
}

}  // namespace

std::span<const TQRProfileItem> QRProfileItems() { return kProfileItems; }

TfrmQRCodeProperty::TfrmQRCodeProperty(QWidget* parent) : TfrmPropertyDialog(QStringLiteral("QRCode"), parent)
{
    contents_ = new QWidget;
    auto* contents = contents_;
    auto* form = new QFormLayout(contents);

    auto* kindRow = new QHBoxLayout;
    kindGroup_ = new QButtonGroup(contents);
    const char* const kindCaptions[] = {"電話帳", "URL", "テキスト"};
    for (int k = 0; k < 3; ++k) {
        kinds_[std::size_t(k)] = new QRadioButton(QString::fromUtf8(kindCaptions[k]));
        kindGroup_->addButton(kinds_[std::size_t(k)], k);
        kindRow->addWidget(kinds_[std::size_t(k)]);
    }
    form->addRow(kindRow);
    carrier_ = new QComboBox;
    carrier_->addItems({QStringLiteral("ドコモ(au)"), QStringLiteral("ボーダフォン(au)")});
    form->addRow(QStringLiteral("形式"), carrier_);

    for (int f = 0; f < qfCount; ++f) {
        fields_[std::size_t(f)] = new QLineEdit;
        links_[std::size_t(f)] = new QComboBox;
        for (const TQRProfileItem& item : kProfileItems)
            links_[std::size_t(f)]->addItem(QString::fromUtf8(item.Caption), item.ID);
        auto* row = new QHBoxLayout;
        row->addWidget(fields_[std::size_t(f)], 2);
        row->addWidget(links_[std::size_t(f)], 1);
        form->addRow(QString::fromUtf8(kFieldCaptions[f]), row);
        connect(fields_[std::size_t(f)], &QLineEdit::textChanged, this, [this] { InputChanged(); });
        connect(links_[std::size_t(f)], &QComboBox::currentIndexChanged, this, [this] {
            updateEnabled();
            InputChanged();
        });
    }
    splitName_ = new QCheckBox(QStringLiteral("空白で自動分割"));
    hankaku_ = new QCheckBox(QStringLiteral("半角カタカナに変換"));
    form->addRow(splitName_);
    form->addRow(hankaku_);
    text_ = new QPlainTextEdit;
    form->addRow(QStringLiteral("テキスト"), text_);
    AddPage(contents, QStringLiteral("内容"));

    auto* symbol = new QWidget;
    auto* symbolForm = new QFormLayout(symbol);
    level_ = new QComboBox;
    level_->setToolTip(QStringLiteral("通常はM(15%)を選択します"));
    symbolForm->addRow(QStringLiteral("誤り訂正レベル"), level_);
    autoMask_ = new QCheckBox(QStringLiteral("自動選択"));
    mask_ = new QComboBox;
    for (int m = 0; m < 8; ++m)
        mask_->addItem(QString::number(m));
    symbolForm->addRow(QStringLiteral("マスク"), autoMask_);
    symbolForm->addRow(QString(), mask_);
    AddPage(symbol, QStringLiteral("QRコード"));
    AddPositionPage();

    fillLevels('M');
    connect(kindGroup_, &QButtonGroup::idClicked, this, [this] { kindChosen(); });
    connect(carrier_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (Loading() || currentKind() != TStdQRKind::sqkTel)
            return;
        const char level = level_->currentData().toChar().toLatin1();
        type_ = phoneBookType_ = index == 1 ? TStdQRType::sqtVodafone : TStdQRType::sqtDoCoMo;
        fillLevels(level);
        updateEnabled();
        InputChanged();
    });
    for (QCheckBox* box : {splitName_, hankaku_, autoMask_})
        connect(box, &QCheckBox::toggled, this, [this] {
            updateEnabled();
            InputChanged();
        });
    connect(level_, &QComboBox::currentIndexChanged, this, [this] { InputChanged(); });
    connect(mask_, &QComboBox::currentIndexChanged, this, [this] { InputChanged(); });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] { InputChanged(); });
}

bool TfrmQRCodeProperty::CheckInputs()
{
    // The symbol carries CP932 bytes: a character without a CP932 form
    // would silently become '?'.
    std::vector<QString> texts;
    for (const QLineEdit* field : fields_)
        texts.push_back(field->text());
    texts.push_back(text_->toPlainText());
    for (const QString& text : texts) {
        if (const std::optional<std::size_t> at = FirstNonCp932Char(qrToStd(text))) {
            const QList<uint> codePoints = text.toUcs4();
            Refuse(contents_, QString::fromStdString(Cp932UnencodableMessage(char32_t(codePoints.at(qsizetype(*at))))));
            return false;
        }
    }
    return true;
}

QString TfrmQRCodeProperty::Caption(const TDrawObject&, bool) const { return QStringLiteral("QRコードの設定"); }

TStdQRKind TfrmQRCodeProperty::currentKind() const
{
    const int id = kindGroup_->checkedId();
    return id < 0 ? TStdQRKind::sqkTel : TStdQRKind(id);
}

void TfrmQRCodeProperty::fillLevels(char keep)
{
    // The Vodafone format has no level L.
    const bool vodafone = type_ == TStdQRType::sqtVodafone;
    const QSignalBlocker block(level_);
    level_->clear();
    for (int l = vodafone ? 1 : 0; l < 4; ++l)
        level_->addItem(QString::fromUtf8(kLevelCaptions[l]), QChar(kLevels[l]));
    const int at = level_->findData(QChar(keep));
    level_->setCurrentIndex(at >= 0 ? at : level_->findData(QChar('M')));
}

void TfrmQRCodeProperty::kindChosen()
{
    const char level = level_->currentData().toChar().toLatin1();
    type_ = currentKind() == TStdQRKind::sqkTel ? phoneBookType_ : TStdQRType::sqtVodafone;
    fillLevels(level);
    updateEnabled();
    InputChanged();
}

void TfrmQRCodeProperty::updateEnabled()
{
    const TStdQRKind kind = currentKind();
    const bool phoneBook = kind == TStdQRKind::sqkTel;
    const bool docomo = type_ == TStdQRType::sqtDoCoMo;
    carrier_->setVisible(phoneBook);
    {
        const QSignalBlocker block(carrier_);
        carrier_->setCurrentIndex(docomo ? 0 : 1);
    }
    for (int f = qfName; f <= qfEmail2; ++f) {
        fields_[std::size_t(f)]->setEnabled(phoneBook);
        links_[std::size_t(f)]->setEnabled(phoneBook);
    }
    fields_[qfUrlTitle]->setEnabled(kind == TStdQRKind::sqkURL && docomo);
    links_[qfUrlTitle]->setEnabled(kind == TStdQRKind::sqkURL && docomo);
    fields_[qfUrl]->setEnabled(kind == TStdQRKind::sqkURL);
    links_[qfUrl]->setEnabled(kind == TStdQRKind::sqkURL);
    // A field linked to a profile item is shown, not typed.
    for (int f = 0; f < qfCount; ++f)
        fields_[std::size_t(f)]->setReadOnly(links_[std::size_t(f)]->currentData().toInt() != -1);
    splitName_->setEnabled(phoneBook && docomo);
    hankaku_->setEnabled(phoneBook);
    text_->setEnabled(kind == TStdQRKind::sqkTEXT);
    mask_->setEnabled(!autoMask_->isChecked());
}

void TfrmQRCodeProperty::LoadInputs(TDrawObject& object)
{
    auto& qr = static_cast<TLOQRStd&>(object);
    type_ = qr.QRType();
    // A stored web page in the DoCoMo format opens in the other one.
    if (type_ == TStdQRType::sqtDoCoMo && qr.QRKind() == TStdQRKind::sqkURL)
        type_ = TStdQRType::sqtVodafone;
    phoneBookType_ = qr.QRKind() == TStdQRKind::sqkTel ? type_ : TStdQRType::sqtDoCoMo;
    kinds_[std::size_t(qr.QRKind())]->setChecked(true);
    const std::string* values[] = {&qr.QRName(),   &qr.QRFurigana(), &qr.QRTel1(),     &qr.QRTel2(),
                                   &qr.QREmail1(), &qr.QREmail2(),   &qr.QRUrlTitle(), &qr.QRUrl()};
    for (int f = 0; f < qfCount; ++f) {
        fields_[std::size_t(f)]->setText(qrFromStd(*values[f]));
        const int at = links_[std::size_t(f)]->findData(*idOf(qr, f));
        links_[std::size_t(f)]->setCurrentIndex(at >= 0 ? at : 0);
    }
    splitName_->setChecked(qr.QRNameCommaDevide());
    hankaku_->setChecked(qr.QRFuriganaHankaku());
    QStringList lines;
    for (const std::string& line : qr.QRText())
        lines << qrFromStd(line);
    text_->setPlainText(lines.join(u'\n'));
    fillLevels(qr.ErrorCorrectLevel());
    autoMask_->setChecked(qr.AutoMask());
    mask_->setCurrentIndex(qr.MaskNo());
    updateEnabled();
}

void TfrmQRCodeProperty::CommitInputs(TDrawObject& object)
{
    auto& qr = static_cast<TLOQRStd&>(object);
    qr.BeginUpdate();
    qr.SetQRKind(currentKind());
    qr.SetQRType(type_);
    qr.SetQRNameCommaDevide(splitName_->isChecked());
    qr.SetQRFuriganaHankaku(hankaku_->isChecked());
    qr.SetQRName(qrToStd(fields_[qfName]->text()));
    qr.SetQRFurigana(qrToStd(fields_[qfFurigana]->text()));
    qr.SetQRTel1(qrToStd(fields_[qfTel1]->text()));
    qr.SetQRTel2(qrToStd(fields_[qfTel2]->text()));
    qr.SetQREmail1(qrToStd(fields_[qfEmail1]->text()));
    qr.SetQREmail2(qrToStd(fields_[qfEmail2]->text()));
    qr.SetQRUrlTitle(qrToStd(fields_[qfUrlTitle]->text()));
    qr.SetQRUrl(qrToStd(fields_[qfUrl]->text()));
    for (int f = 0; f < qfCount; ++f) {
        const int32_t id = links_[std::size_t(f)]->currentData().toInt();
        if (*idOf(qr, f) != id) {
            *idOf(qr, f) = id;
            qr.Changed();
        }
    }
    std::vector<std::string> lines;
    const QString text = text_->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split(u'\n'))
            lines.push_back(qrToStd(line));
    qr.SetQRText(lines);
    qr.SetErrorCorrectLevel(level_->currentData().toChar().toLatin1());
    qr.SetAutoMask(autoMask_->isChecked());
    if (!autoMask_->isChecked())
        qr.SetMaskNo(mask_->currentIndex());
    qr.EndUpdate();
}

std::shared_ptr<TDODesigner> MakeQRCodeDesigner()
{
    return MakePropertyDialogDesigner(TLOQRStd::StaticClassInfo(), [](QWidget* parent) {
        return std::make_unique<TfrmQRCodeProperty>(parent);
    });
}

}  // namespace orvella
