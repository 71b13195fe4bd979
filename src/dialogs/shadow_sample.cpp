#include "dialogs/shadow_sample.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolButton>

namespace orvella {

namespace {

// Preset n sits where its offset points: 1 up-left … 8 down-right.
struct Place {
    int preset, row, column;
    const char* arrow;
};
constexpr Place kPlaces[] = {
    {1, 0, 0, "↖"}, {2, 0, 1, "↑"}, {3, 0, 2, "↗"}, {4, 1, 0, "←"},
    {5, 1, 2, "→"}, {6, 2, 0, "↙"}, {7, 2, 1, "↓"}, {8, 2, 2, "↘"},
};

}  // namespace

TfrmShadowSample::TfrmShadowSample(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QGridLayout(this);
    layout->setSpacing(2);
    for (const Place& place : kPlaces) {
        auto* button = new QToolButton;
        button->setText(QString::fromUtf8(place.arrow));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setFixedSize(32, 32);
        button->setToolTip(QStringLiteral("影の方向"));
        buttons_[std::size_t(place.preset)] = button;
        layout->addWidget(button, place.row, place.column);
        connect(button, &QToolButton::clicked, this, [this, preset = place.preset] {
            SetPreset(preset);
            if (OnChoose)
                OnChoose(preset);
        });
    }
    auto* sample = new QLabel(QStringLiteral("字"));
    sample->setAlignment(Qt::AlignCenter);
    sample->setFixedSize(32, 32);
    layout->addWidget(sample, 1, 1);
}

void TfrmShadowSample::SetPreset(int preset)
{
    preset_ = preset >= 1 && preset <= 8 ? preset : 0;
    for (int i = 1; i <= 8; ++i)
        buttons_[std::size_t(i)]->setChecked(i == preset_);
}

}  // namespace orvella
