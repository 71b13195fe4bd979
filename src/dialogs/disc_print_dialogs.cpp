#include "dialogs/disc_print_dialogs.h"

#include "document/label_data.h"
#include "paper/face_shape.h"
#include "paper/paper_info.h"
#include "print/disc_print_windows.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvella {

namespace {

// The stored ranges of the two adjustments, in 0.1 mm.
constexpr int32_t kOuterLow = -100;
constexpr int32_t kOuterHigh = 118;
constexpr int32_t kInnerLow = -260;
constexpr int32_t kInnerHigh = 100;
// Limits for a group the printer description does not list.
constexpr int32_t kDefaultLimit = 100;
// The printed ring stays at least this wide (0.1 mm, across both sides).
constexpr int32_t kMinRing = 50;

QString Format(const char* format, double value)
{
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromUtf8(text);
}

int32_t Tenths(double millimetres) { return int32_t(std::lround(millimetres * 10)); }

// Millimetres with one decimal and always a sign: a negative adjustment
// reads "-5.0", never "+-5.0".
class TAdjustField : public QDoubleSpinBox {
public:
    explicit TAdjustField(QWidget* parent) : QDoubleSpinBox(parent)
    {
        setDecimals(1);
        setSingleStep(0.1);
        setSuffix(QStringLiteral(" mm"));
    }
    QString textFromValue(double value) const override { return Format("%+.1f", value); }
    double valueFromText(const QString& text) const override
    {
        QString number = text;
        number.remove(suffix());
        return number.trimmed().toDouble();
    }
    QValidator::State validate(QString& text, int&) const override
    {
        QString number = text;
        number.remove(suffix());
        number = number.trimmed();
        if (number.isEmpty() || number == QLatin1String("+") || number == QLatin1String("-"))
            return QValidator::Intermediate;
        bool ok = false;
        number.toDouble(&ok);
        return ok ? QValidator::Acceptable : QValidator::Invalid;
    }
};

// The disc as the printer will print it: the effective paper's first face.
class TDiscPreview : public QWidget {
public:
    TDiscPreview(TLabelData& document, QWidget* parent) : QWidget(parent), document_(document)
    {
        setFixedSize(160, 160);
        setEnabled(false);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), palette().window());
        const std::shared_ptr<const TPaperInfo> paper = document_.EffectivePaper();
        if (!paper || paper->GetFaceCount() < 1)
            return;
        const TRect face = paper->GetFaceRect(0);
        const TSize hole = paper->GetCutCenterSize(0);
        // 1300 units (130 mm) fill the preview.
        const double scale = std::min(width(), height()) / 1300.0;
        const QPointF centre(width() / 2.0, height() / 2.0);
        painter.setPen(QPen(Qt::darkGray, 1));
        painter.setBrush(QColor(0xe8, 0xe8, 0xf0));
        painter.drawEllipse(centre, (face.Right - face.Left) * scale / 2, (face.Bottom - face.Top) * scale / 2);
        if (ShapeHasCenterHole(paper->GetFaceShape(0))) {
            painter.setBrush(palette().window());
            painter.drawEllipse(centre, hole.cx * scale / 2, hole.cy * scale / 2);
        }
    }

private:
    TLabelData& document_;
};

}  // namespace

TfrmConfirmPrinter::TfrmConfirmPrinter(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QApplication::applicationDisplayName());
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QString::fromUtf8(kConfirmPrinterText).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                            this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    auto* change = new QPushButton(QStringLiteral("プリンタ設定変更(&S)..."), this);
    auto* print = new QPushButton(QStringLiteral("印刷(&P)"), this);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    change->setObjectName(QStringLiteral("change"));
    print->setObjectName(QStringLiteral("print"));
    cancel->setObjectName(QStringLiteral("cancel"));
    change->setDefault(true);
    buttons->addStretch();
    for (QPushButton* button : {change, print, cancel})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(change, &QPushButton::clicked, this, [this] {
        answer_ = TConfirmPrinterAnswer::ChangePrinter;
        accept();
    });
    connect(print, &QPushButton::clicked, this, [this] {
        answer_ = TConfirmPrinterAnswer::Print;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmAdjustDiscSize::TfrmAdjustDiscSize(TLabelData& document, QWidget* parent) : QDialog(parent), document_(document)
{
    setWindowTitle(QStringLiteral("外円・内円のサイズ調整"));
    opening_ = document_.GetSizeAdjust();

    // Limits come from the description of the effective paper's group; a
    // group it does not list may move ten millimetres either way.
    const std::shared_ptr<const TPaperInfo> effective = document_.EffectivePaper();
    const TPaperInfo* own = document_.Paper();
    if (own && own->GetFaceCount() > 0) {
        inner0_ = own->GetCutCenterSize(0).cx;
        const TRect face = own->GetFaceRect(0);
        outer0_ = face.Right - face.Left;
    }
    TSize maxOuter{outer0_ + kDefaultLimit, 0};
    TSize minInner{inner0_ - kDefaultLimit, 0};
    if (effective) {
        TDirectPrinterInfo info;
        info.SelectPrinter(effective->GroupName);
        info.GetSizeLimits(maxOuter, minInner);
    }

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    outer_ = new TAdjustField(this);
    inner_ = new TAdjustField(this);
    outer_->setObjectName(QStringLiteral("outer"));
    inner_->setObjectName(QStringLiteral("inner"));
    outer_->setToolTip(QStringLiteral("外円サイズの調整値を入力します"));
    inner_->setToolTip(QStringLiteral("内円サイズの調整値を入力します"));
    outer_->setRange(kOuterLow / 10.0, std::min(kDefaultLimit, maxOuter.cx - outer0_) / 10.0);
    inner_->setRange(std::max(-kDefaultLimit, minInner.cx - inner0_) / 10.0, kInnerHigh / 10.0);
    auto* outerLabel = new QLabel(QStringLiteral("外円のサイズ調整(&O)"), this);
    auto* innerLabel = new QLabel(QStringLiteral("内円のサイズ調整(&C)"), this);
    outerLabel->setBuddy(outer_);
    innerLabel->setBuddy(inner_);
    outerSize_ = new QLabel(this);
    innerSize_ = new QLabel(this);
    auto* outerStart = new QLabel(Format("初期値 %.1f mm", outer0_ / 10.0), this);
    auto* innerStart = new QLabel(Format("初期値 %.1f mm", inner0_ / 10.0), this);
    grid->addWidget(outerLabel, 0, 0);
    grid->addWidget(outer_, 0, 1);
    grid->addWidget(outerStart, 0, 2);
    grid->addWidget(outerSize_, 0, 3);
    grid->addWidget(innerLabel, 1, 0);
    grid->addWidget(inner_, 1, 1);
    grid->addWidget(innerStart, 1, 2);
    grid->addWidget(innerSize_, 1, 3);

    auto* row = new QHBoxLayout;
    preview_ = new TDiscPreview(document_, this);
    row->addLayout(grid);
    row->addWidget(preview_);
    layout->addLayout(row);

    note_ = new QLabel(QStringLiteral("外円・内円のサイズは-10.0mm～+10.0mmの範囲で調整することができます。\n") +
                           QString::asprintf("ただし、外円では%gmmを超えるサイズ、内円では%gmm未満になるサイズに設定することはできません。",
                                             maxOuter.cx / 10.0, minInner.cx / 10.0),
                       this);
    note_->setWordWrap(true);
    layout->addWidget(note_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const TFaceShape shape = own && own->GetFaceCount() > 0 ? own->GetFaceShape(0) : fsRect;
    const bool ring = shape == fsDoughnut;
    const bool hole = own && own->GetFaceCount() > 0 && ShapeHasCenterHole(shape) && own->GetCenterShape(0) == csEllipse;
    for (QWidget* widget : {static_cast<QWidget*>(outerLabel), static_cast<QWidget*>(outer_), static_cast<QWidget*>(outerStart),
                            static_cast<QWidget*>(outerSize_)})
        widget->setVisible(ring);
    for (QWidget* widget : {static_cast<QWidget*>(innerLabel), static_cast<QWidget*>(inner_), static_cast<QWidget*>(innerStart),
                            static_cast<QWidget*>(innerSize_)})
        widget->setVisible(hole);

    outer_->setValue(opening_.Outer / 10.0);
    inner_->setValue(opening_.Inner / 10.0);
    // The other field's bound follows from the start, as after a change.
    inner_->setMaximum(std::min(kDefaultLimit, outer0_ + Tenths(outer_->value()) - inner0_ - kMinRing) / 10.0);
    outer_->setMinimum(std::max(-kDefaultLimit, inner0_ + Tenths(inner_->value()) - outer0_ + kMinRing) / 10.0);
    enableByRange(outer_);
    enableByRange(inner_);
    connect(outer_, &QDoubleSpinBox::valueChanged, this, [this] { outerChanged(); });
    connect(inner_, &QDoubleSpinBox::valueChanged, this, [this] { innerChanged(); });
    loading_ = false;
    showSizes();
}

void TfrmAdjustDiscSize::enableByRange(QDoubleSpinBox* field)
{
    field->setEnabled(!(Tenths(field->minimum()) == 0 && Tenths(field->maximum()) == 0));
}

void TfrmAdjustDiscSize::outerChanged()
{
    if (loading_)
        return;
    store();
    inner_->setMaximum(std::min(kDefaultLimit, outer0_ + Tenths(outer_->value()) - inner0_ - kMinRing) / 10.0);
    enableByRange(inner_);
}

void TfrmAdjustDiscSize::innerChanged()
{
    if (loading_)
        return;
    store();
    outer_->setMinimum(std::max(-kDefaultLimit, inner0_ + Tenths(inner_->value()) - outer0_ + kMinRing) / 10.0);
    enableByRange(outer_);
}

void TfrmAdjustDiscSize::store()
{
    const TSizeAdjust adjust{std::clamp(Tenths(inner_->value()), kInnerLow, kInnerHigh),
                             std::clamp(Tenths(outer_->value()), kOuterLow, kOuterHigh)};
    document_.SetSizeAdjust(adjust);
    showSizes();
    preview_->update();
}

void TfrmAdjustDiscSize::showSizes()
{
    outerSize_->setText(Format("調整後のサイズ %.1f mm", (outer0_ + Tenths(outer_->value())) / 10.0));
    innerSize_->setText(Format("調整後のサイズ %.1f mm", (inner0_ + Tenths(inner_->value())) / 10.0));
}

void TfrmAdjustDiscSize::done(int result)
{
    if (result != QDialog::Accepted)
        document_.SetSizeAdjust(opening_);
    QDialog::done(result);
}

void RegisterDiscPrintWindows()
{
    TDiscPrintWindows windows;
    windows.ConfirmPrinter = [] {
        TfrmConfirmPrinter window(QApplication::activeWindow());
        window.exec();
        return window.Answer();
    };
    windows.AdjustDiscSize = [](TLabelData& document) {
        TfrmAdjustDiscSize dialog(document, QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted;
    };
    SetDiscPrintWindows(std::move(windows));
}

namespace {
// The program links this library whole; its windows are there from the start.
[[maybe_unused]] const bool registeredAtStart = (RegisterDiscPrintWindows(), true);
}  // namespace

}  // namespace orvella
