#include "dialogs/jan_code_dialog.h"

#include "dialogs/color_panel.h"
#include "dialogs/position_panel.h"
#include "drawing/designer.h"
#include "drawing/draw_object.h"
#include "objects/jan_code.h"
#include "objects/lo_jan_code.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLineEdit>

#include <algorithm>

namespace orvella {

namespace {

const int kFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 36, 48, 72};
// The preview's size while the typed one cannot be read.
constexpr int kFallbackSize = 10;

std::string janToStd(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), std::size_t(bytes.size())};
}

}  // namespace

bool AcceptableJANInput(const QString& input)
{
    if (input.isEmpty() || !std::all_of(input.begin(), input.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    const std::string code = input.toStdString();
    if (code.size() == 7 || code.size() == 12)
        return true;
    return IsValidJANCode(code);
}

TfrmJANCodeProperty::TfrmJANCodeProperty(QWidget* parent)
    : TfrmPropertyDialog(QStringLiteral("JANCode"), parent)
{
    codePage_ = new QWidget;
    auto* form = new QFormLayout(codePage_);
    codeEdit_ = new QLineEdit;
    codeEdit_->setMaxLength(13);
    codeEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    codeEdit_->setToolTip(QStringLiteral("8桁または13桁のJANコードを入力します"));
    form->addRow(QStringLiteral("JANコード"), codeEdit_);

    fontName_ = new QComboBox;
    fontName_->setEditable(true);
    fontName_->addItems(QFontDatabase::families());
    form->addRow(QStringLiteral("フォント"), fontName_);
    fontSize_ = new QComboBox;
    fontSize_->setEditable(true);
    for (int size : kFontSizes)
        fontSize_->addItem(QString::number(size));
    form->addRow(QStringLiteral("サイズ"), fontSize_);

    showNumber_ = new QCheckBox(QStringLiteral("数字表示(&N)"));
    showFrame_ = new QCheckBox(QStringLiteral("枠線表示(&R)"));
    form->addRow(showNumber_);
    form->addRow(showFrame_);
    AddPage(codePage_, QStringLiteral("JANコード"));
    color_ = AddColorPage(QStringLiteral("数字の色"));
    AddPositionPage();

    connect(codeEdit_, &QLineEdit::textChanged, this, [this] { InputChanged(); });
    connect(fontName_, &QComboBox::currentTextChanged, this, [this] { InputChanged(); });
    connect(fontSize_, &QComboBox::currentTextChanged, this, [this] { InputChanged(); });
    connect(showNumber_, &QCheckBox::toggled, this, [this] { InputChanged(); });
    connect(showFrame_, &QCheckBox::toggled, this, [this] { InputChanged(); });
}

QString TfrmJANCodeProperty::Caption(const TDrawObject&, bool adding) const
{
    return adding ? QStringLiteral("JANｺｰﾄﾞの追加") : QStringLiteral("JANコードの編集・設定");
}

void TfrmJANCodeProperty::LoadInputs(TDrawObject& object)
{
    auto& jan = static_cast<TLOJANCode&>(object);
    // The preview shows the symbol upright.
    if (auto* preview = dynamic_cast<TLOJANCode*>(PreviewObject()))
        preview->SetAngle(0);
    codeEdit_->setText(QString::fromStdString(jan.JANCode()));
    fontName_->setCurrentText(QString::fromUtf8(jan.Font().Name().c_str()));
    fontSize_->setCurrentText(QString::number(jan.Font().Size()));
    showNumber_->setChecked(jan.ShowNumber());
    showFrame_->setChecked(jan.ShowFrame());
    color_->SetColorOnly(jan.Font().Color());
    const bool adding = object.Parent() == nullptr;
    PositionPage()->LeftEdit()->setEnabled(!adding);
    PositionPage()->TopEdit()->setEnabled(!adding);
}

void TfrmJANCodeProperty::CommitInputs(TDrawObject& object)
{
    auto& jan = static_cast<TLOJANCode&>(object);
    const QString input = codeEdit_->text();
    jan.SetJANCode(CompleteJANCode(input.toStdString()));
    jan.SetShowNumber(showNumber_->isChecked());
    jan.SetShowFrame(showFrame_->isChecked());
    jan.Font().SetColor(color_->SelectedColor());
    jan.Font().SetName(janToStd(fontName_->currentText()));
    bool readable = false;
    const int size = fontSize_->currentText().trimmed().toInt(&readable);
    if (readable && size > 0)
        jan.Font().SetSize(size);
    else if (Previewing())
        jan.Font().SetSize(kFallbackSize);
    if (Previewing())
        jan.SetVisible(AcceptableJANInput(input));
}

bool TfrmJANCodeProperty::CheckInputs()
{
    if (AcceptableJANInput(codeEdit_->text()))
        return true;
    Refuse(codePage_, QStringLiteral("JANコードが正しくありません。"));
    return false;
}

std::shared_ptr<TDODesigner> MakeJANCodeDesigner()
{
    return MakePropertyDialogDesigner(TLOJANCode::StaticClassInfo(), [](QWidget* parent) {
        return std::make_unique<TfrmJANCodeProperty>(parent);
    });
}

}  // namespace orvella
