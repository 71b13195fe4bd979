#include "app/move_mode_bar.h"

#include "document/grid.h"
#include "drawing/universal_ghost.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace orvella {

namespace {

// The phased step list: no steps, then 6, 30 and 45 degrees.
constexpr int32_t kPhaseSteps[] = {0, 6, 30, 45};

}  // namespace

TMoveModeBar::TMoveModeBar(QWidget* parent)
    : QWidget(parent), modes_(new QComboBox(this)), pages_(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("MoveModeBar"));
    modes_->setObjectName(QStringLiteral("cmbMoveMode"));
    modes_->addItems({QStringLiteral("通常移動"), QStringLiteral("グリッドに沿う"), QStringLiteral("円周に沿う")});

    auto* normal = new QWidget;
    normal->setObjectName(QStringLiteral("Normal"));
    auto* normalLayout = new QVBoxLayout(normal);
    normalLayout->setContentsMargins(2, 2, 2, 2);
    auto* normalNote = new QLabel(QStringLiteral("ドラッグしたとおりに移動します。\nShiftで水平・垂直方向のみ。"), normal);
    normalNote->setWordWrap(true);
    normalLayout->addWidget(normalNote);
    normalLayout->addStretch();

    auto* grid = new QWidget;
    grid->setObjectName(QStringLiteral("Grid"));
    auto* gridLayout = new QFormLayout(grid);
    gridLayout->setContentsMargins(2, 2, 2, 2);
    gridSize_ = new QDoubleSpinBox(grid);
    gridSize_->setObjectName(QStringLiteral("edtGridSize"));
    // 10 to 1000 units in steps of 10, shown in millimetres.
    gridSize_->setRange(1.0, 100.0);
    gridSize_->setSingleStep(1.0);
    gridSize_->setDecimals(0);
    gridSize_->setSuffix(QStringLiteral(" mm"));
    gridLayout->addRow(QStringLiteral("間隔"), gridSize_);
    gridShape_ = new QButtonGroup(grid);
    auto* dots = new QRadioButton(QStringLiteral("点"), grid);
    dots->setObjectName(QStringLiteral("rbGridDots"));
    auto* lines = new QRadioButton(QStringLiteral("線"), grid);
    lines->setObjectName(QStringLiteral("rbGridLines"));
    gridShape_->addButton(dots, 0);
    gridShape_->addButton(lines, 1);
    auto* shapeRow = new QHBoxLayout;
    shapeRow->addWidget(dots);
    shapeRow->addWidget(lines);
    gridLayout->addRow(QStringLiteral("表示"), shapeRow);

    auto* circum = new QWidget;
    circum->setObjectName(QStringLiteral("Circumeference"));
    auto* circumLayout = new QVBoxLayout(circum);
    circumLayout->setContentsMargins(2, 2, 2, 2);
    phases_ = new QComboBox(circum);
    phases_->setObjectName(QStringLiteral("cmbPhase"));
    phases_->addItems({QStringLiteral("ステップなし"), QStringLiteral("60ステップ(6度)"),
                       QStringLiteral("12ステップ(30度)"), QStringLiteral("8ステップ(45度)")});
    circumLayout->addWidget(phases_);
    parallel_ = new QCheckBox(QStringLiteral("水平・垂直方向のみ"), circum);
    parallel_->setObjectName(QStringLiteral("chkParallelMove"));
    circumRotate_ = new QCheckBox(QStringLiteral("オブジェクトの回転もする"), circum);
    circumRotate_->setObjectName(QStringLiteral("chkCircumRotate"));
    circumLayout->addWidget(parallel_);
    circumLayout->addWidget(circumRotate_);
    circumLayout->addStretch();

    pages_->addWidget(normal);
    pages_->addWidget(grid);
    pages_->addWidget(circum);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(modes_);
    layout->addWidget(pages_);

    connect(modes_, &QComboBox::activated, this, [this](int index) { SelectMode(TMode(index)); });
    connect(gridSize_, &QDoubleSpinBox::valueChanged, this, [this](double millimetres) {
        if (showing_ || !grid_)
            return;
        grid_->SetSize(int32_t(millimetres) * 10);
        changed();
    });
    connect(gridShape_, &QButtonGroup::idClicked, this, [this](int shape) {
        if (!grid_)
            return;
        grid_->SetLineShape(shape == 1);
        changed();
    });
    connect(phases_, &QComboBox::activated, this, [this](int index) {
        TMoveSettings& settings = MoveSettings();
        settings.CircumPhased = index > 0;
        if (index > 0)
            settings.PhaseStep = kPhaseSteps[index];
        changed();
    });
    connect(parallel_, &QCheckBox::clicked, this, [this](bool on) {
        MoveSettings().ParallelMove = on;
        changed();
    });
    connect(circumRotate_, &QCheckBox::clicked, this, [this](bool on) {
        MoveSettings().CircumRotate = on;
        changed();
    });
    ShowState();
}

void TMoveModeBar::SetGrid(TGrid* grid)
{
    grid_ = grid;
    ShowState();
}

void TMoveModeBar::SelectMode(TMode mode)
{
    TMoveSettings& settings = MoveSettings();
    switch (mode) {
    case mmNormal:
        settings.CircumMove = false;
        if (grid_) {
            grid_->SetEnabled(false);
            grid_->SetVisible(false);
        }
        break;
    case mmGrid:
        settings.CircumMove = false;
        settings.ParallelMove = false;
        if (grid_) {
            if (grid_->Size() <= 0)
                grid_->SetSize(50);
            grid_->SetEnabled(true);
            grid_->SetVisible(true);
        }
        break;
    case mmCircum:
        settings.CircumMove = true;
        if (grid_) {
            grid_->SetEnabled(false);
            grid_->SetVisible(false);
        }
        break;
    }
    changed();
}

TMoveModeBar::TMode TMoveModeBar::ShownMode() const
{
    if (MoveSettings().CircumMove)
        return mmCircum;
    if (grid_ && grid_->Enabled())
        return mmGrid;
    return mmNormal;
}

void TMoveModeBar::ShowState()
{
    if (modes_->view()->isVisible())
        return;
    showing_ = true;
    const TMode mode = ShownMode();
    if (modes_->currentIndex() != mode)
        modes_->setCurrentIndex(mode);
    if (pages_->currentIndex() != mode)
        pages_->setCurrentIndex(mode);
    const TMoveSettings& settings = MoveSettings();
    int phase = 0;
    if (settings.CircumPhased)
        for (int i = 1; i < 4; ++i)
            if (kPhaseSteps[i] == settings.PhaseStep)
                phase = i;
    if (phases_->currentIndex() != phase && !phases_->view()->isVisible())
        phases_->setCurrentIndex(phase);
    if (parallel_->isChecked() != settings.ParallelMove)
        parallel_->setChecked(settings.ParallelMove);
    if (circumRotate_->isChecked() != settings.CircumRotate)
        circumRotate_->setChecked(settings.CircumRotate);
    if (grid_) {
        const double size = std::clamp(grid_->Size(), 10, 1000) / 10;
        if (gridSize_->value() != size)
            gridSize_->setValue(size);
        if (QAbstractButton* shape = gridShape_->button(grid_->LineShape() ? 1 : 0); !shape->isChecked())
            shape->setChecked(true);
    }
    showing_ = false;
}

void TMoveModeBar::changed()
{
    ShowState();
    if (OnChange)
        OnChange();
}

}  // namespace orvella
