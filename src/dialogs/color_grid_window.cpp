#include "dialogs/color_grid_window.h"

#include "dialogs/color_swatch.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvella {

const std::array<TColor, 40> kColorGridColors = {
    // black, red, yellow, lime, aqua, blue, fuchsia, white
    0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF,
    // grey, maroon, olive, green, teal, navy, purple, silver
    0x808080, 0x000080, 0x008080, 0x008000, 0x808000, 0x800000, 0x800080, 0xC0C0C0,
    0x3F3F3F, 0x7F7FFF, 0x7FFFFF, 0x7FFF7F, 0xFFFF7F, 0xFF7F7F, 0xFF7FFF, 0xBF3F7F,
    0xBF7F3F, 0x7F7FBF, 0x7FBFBF, 0x7FBF7F, 0xBFBF7F, 0xBF7F7F, 0xBF7FBF, 0x3F7FBF,
    0x7FBF3F, 0x7FBFFF, 0x7FFFBF, 0xBFFF7F, 0xFFBF7F, 0xFF7FBF, 0xBF7FFF, 0x7F3FBF,
};

namespace {
constexpr int kCell = 20;
}

TColorGridWindow::TColorGridWindow(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("ColorGrid"));
    setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (std::size_t i = 0; i < kColorGridColors.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(SwatchPicture(kColorGridColors[i], kCell - 4, kCell - 4));
        button->setIconSize({kCell - 4, kCell - 4});
        button->setFixedSize(kCell + 2, kCell + 2);
        button->setToolTip(ToQColor(kColorGridColors[i]).name().toUpper());
        const TColor color = kColorGridColors[i];
        connect(button, &QToolButton::clicked, this, [this, color] { pick(color); });
        grid->addWidget(button, int(i / 8), int(i % 8));
        buttons_[i] = button;
    }
    auto* other = new QPushButton(QStringLiteral("その他の色(&O)..."), this);
    connect(other, &QPushButton::clicked, this, [this] {
        // A popup closes (and goes) while the colour dialog runs: everything
        // needed afterwards is taken first.
        const bool popup = windowFlags() & Qt::Popup;
        const std::function<void(TColor)> picked = OnPick;
        const QPointer<TColorGridWindow> self(this);
        QWidget* owner = popup ? parentWidget() : this;
        const TColor current = color_;
        if (popup)
            close();
        const QColor chosen = QColorDialog::getColor(ToQColor(current), owner, QStringLiteral("色の選択"));
        if (!chosen.isValid())
            return;
        if (self && !popup)
            self->SetColor(FromQColor(chosen));
        if (picked)
            picked(FromQColor(chosen));
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid);
    layout->addWidget(other);
}

void TColorGridWindow::SetColor(TColor color)
{
    color_ = color;
    for (std::size_t i = 0; i < kColorGridColors.size(); ++i)
        buttons_[i]->setChecked(kColorGridColors[i] == color);
}

void TColorGridWindow::pick(TColor color)
{
    SetColor(color);
    if (OnPick)
        OnPick(color);
    if (windowFlags() & Qt::Popup)
        close();
}

void TColorGridWindow::ShowBelow(QWidget* anchor, TColor color, std::function<void(TColor)> picked)
{
    auto* popup = new TColorGridWindow(anchor);
    popup->setWindowFlags(Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->SetColor(color);
    popup->OnPick = std::move(picked);
    popup->move(anchor->mapToGlobal(QPoint(4, anchor->height() + 4)));
    popup->show();
}

}  // namespace orvella
