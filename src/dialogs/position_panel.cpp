#include "dialogs/position_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace orvella {

namespace {

constexpr int32_t kMinPosition = -10000;
constexpr int32_t kMaxPosition = 10000;
constexpr int32_t kMinSize = 20;
constexpr int32_t kMaxSize = 10000;
constexpr int32_t kLengthStep = 10;

}  // namespace

TMillimetreEdit::TMillimetreEdit(int32_t minimum, int32_t maximum, int32_t step, QWidget* parent)
    : QLineEdit(parent), minimum_(minimum), maximum_(maximum), step_(step)
{
    setAlignment(Qt::AlignRight);
    setMaximumWidth(90);
}

QString TMillimetreEdit::Shown(int32_t units) const { return ShowMillimetres(std::clamp(units, minimum_, maximum_)); }

void TMillimetreEdit::SetUnits(int32_t units) { setText(Shown(units)); }

void TMillimetreEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        SetUnits(Units() + (event->key() == Qt::Key_Up ? step_ : -step_));
        emit textEdited(text());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

TfrmPosition::TfrmPosition(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPosition"));
    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const QString& caption, QWidget* input, const QString& unit) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(input);
        grid->addWidget(label, row, 0);
        grid->addWidget(input, row, 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, this), row, 2);
        return label;
    };

    rotation_ = new QSpinBox(this);
    rotation_->setRange(-360, 360);
    addRow(0, QStringLiteral("回転(&R)"), rotation_, QStringLiteral("度"));
    blend_ = new QSpinBox(this);
    blend_->setRange(0, 100);
    blendLabel_ = addRow(1, QStringLiteral("透過率(&E)"), blend_, QString());
    blendUnit_ = new QLabel(QStringLiteral("%"), this);
    grid->addWidget(blendUnit_, 1, 2);

    left_ = new TMillimetreEdit(kMinPosition, kMaxPosition, kLengthStep, this);
    top_ = new TMillimetreEdit(kMinPosition, kMaxPosition, kLengthStep, this);
    width_ = new TMillimetreEdit(kMinSize, kMaxSize, kLengthStep, this);
    height_ = new TMillimetreEdit(kMinSize, kMaxSize, kLengthStep, this);
    addRow(2, QStringLiteral("左(&L)"), left_, QStringLiteral("mm"));
    addRow(3, QStringLiteral("上(&T)"), top_, QStringLiteral("mm"));
    addRow(4, QStringLiteral("幅(&W)"), width_, QStringLiteral("mm"));
    addRow(5, QStringLiteral("高さ(&H)"), height_, QStringLiteral("mm"));
    grid->setColumnStretch(3, 1);

    lock_ = new QCheckBox(QStringLiteral("ロックする(&K)"), this);
    dontPrint_ = new QCheckBox(QStringLiteral("印刷しない(&P)"), this);
    autoSize_ = new QCheckBox(QStringLiteral("自動サイズ調整(&A)"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(autoSize_);
    layout->addWidget(lock_);
    layout->addWidget(dontPrint_);
    layout->addStretch(1);

    connect(rotation_, &QSpinBox::valueChanged, this, [this] { changed(false); });
    connect(blend_, &QSpinBox::valueChanged, this, [this] { changed(false); });
    for (TMillimetreEdit* edit : {left_, top_})
        connect(edit, &QLineEdit::textEdited, this, [this] { changed(false); });
    for (TMillimetreEdit* edit : {width_, height_})
        connect(edit, &QLineEdit::textEdited, this, [this] { changed(true); });
    for (QCheckBox* box : {lock_, dontPrint_})
        connect(box, &QCheckBox::toggled, this, [this] { changed(false); });
    connect(autoSize_, &QCheckBox::toggled, this, [this] {
        updateEnabled();
        changed(false);
    });
}

void TfrmPosition::ReadFrom(const TPositionRecord& record)
{
    loading_ = true;
    read_ = record;
    rotation_->setValue(record.Rotation);
    rotation_->setEnabled(record.HasRotation);
    blend_->setValue(record.Blend);
    for (QWidget* widget : {static_cast<QWidget*>(blendLabel_), static_cast<QWidget*>(blend_), blendUnit_})
        widget->setVisible(record.HasBlend);
    lock_->setChecked(record.Lock);
    dontPrint_->setChecked(record.DontPrint);
    autoSize_->setChecked(record.AutoSize);
    autoSize_->setVisible(record.HasAutoSize);
    left_->SetUnits(record.Left);
    top_->SetUnits(record.Top);
    width_->SetUnits(record.Width);
    height_->SetUnits(record.Height);
    updateEnabled();
    loading_ = false;
}

void TfrmPosition::WriteTo(TPositionRecord& record) const
{
    record = read_;
    if (read_.HasRotation)
        record.Rotation = rotation_->value();
    if (read_.HasBlend)
        record.Blend = blend_->value();
    record.Lock = lock_->isChecked();
    record.DontPrint = dontPrint_->isChecked();
    if (read_.HasAutoSize)
        record.AutoSize = autoSize_->isChecked();
    // An input the user left as it was keeps the object's value, also one
    // outside the input's range, so that OK alone changes nothing.
    auto units = [](const TMillimetreEdit* edit, int32_t loaded) {
        return edit->text() == edit->Shown(loaded) ? loaded : edit->Units();
    };
    record.Left = units(left_, read_.Left);
    record.Top = units(top_, read_.Top);
    record.Width = units(width_, read_.Width);
    record.Height = units(height_, read_.Height);
}

void TfrmPosition::changed(bool size)
{
    if (loading_)
        return;
    if (size && OnSizeChanged)
        OnSizeChanged();
    if (OnChange)
        OnChange();
}

void TfrmPosition::updateEnabled()
{
    const bool sized = !(read_.HasAutoSize && autoSize_->isChecked());
    width_->setEnabled(sized);
    height_->setEnabled(sized);
}

}  // namespace orvella
