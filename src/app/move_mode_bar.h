#pragma once
// The layout editor's move-mode bar: how dragged objects move (freely, on
// the grid, or around the face's centre), with a page of options for each
// mode: the grid's pitch and look, the circular move's steps and toggles.

#include <QWidget>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QStackedWidget;

namespace orvella {

class TGrid;

class TMoveModeBar : public QWidget {
public:
    enum TMode { mmNormal = 0, mmGrid = 1, mmCircum = 2 };

    explicit TMoveModeBar(QWidget* parent = nullptr);

    // The grid the bar switches and edits (the sheet's); may be null.
    void SetGrid(TGrid* grid);
    // Chooses a mode as the user would.
    void SelectMode(TMode mode);
    // Shows the state in force (move settings and grid) unless the list is
    // dropped down.
    void ShowState();
    TMode ShownMode() const;
    QComboBox* ModeList() const { return modes_; }
    QComboBox* PhaseList() const { return phases_; }

    // The grid or the move settings changed.
    std::function<void()> OnChange;

private:
    void changed();

    TGrid* grid_ = nullptr;
    QComboBox* modes_;
    QStackedWidget* pages_;
    QDoubleSpinBox* gridSize_;
    QButtonGroup* gridShape_;
    QComboBox* phases_;
    QCheckBox* parallel_;
    QCheckBox* circumRotate_;
    bool showing_ = false;
};

}  // namespace orvella
