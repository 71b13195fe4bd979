#pragma once
// The "位置" page of the property dialogs: rotation, blend, lock, do not
// print, auto size, and the position and size in millimetres.

#include "dialogs/position_record.h"

#include <QLineEdit>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QSpinBox;

namespace orvella {

// A length input in millimetres over logical units; the arrow keys step
// it by one step of the range.
class TMillimetreEdit : public QLineEdit {
public:
    TMillimetreEdit(int32_t minimum, int32_t maximum, int32_t step, QWidget* parent = nullptr);
    int32_t Units() const { return ReadMillimetres(text(), minimum_, maximum_); }
    void SetUnits(int32_t units);
    // The text SetUnits shows for units.
    QString Shown(int32_t units) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int32_t minimum_;
    int32_t maximum_;
    int32_t step_;
};

class TfrmPosition : public QWidget {
public:
    explicit TfrmPosition(QWidget* parent = nullptr);

    // Fills the inputs; the blend and auto-size inputs show only for objects
    // that have them. Raises no change.
    void ReadFrom(const TPositionRecord& record);
    // The record as the inputs give it (unshown inputs keep what was read).
    void WriteTo(TPositionRecord& record) const;

    // Any input changed by the user.
    std::function<void()> OnChange;
    // The width or the height changed by the user.
    std::function<void()> OnSizeChanged;

    TMillimetreEdit* LeftEdit() const { return left_; }
    TMillimetreEdit* TopEdit() const { return top_; }
    TMillimetreEdit* WidthEdit() const { return width_; }
    TMillimetreEdit* HeightEdit() const { return height_; }
    QSpinBox* RotationEdit() const { return rotation_; }
    QSpinBox* BlendEdit() const { return blend_; }
    QCheckBox* LockBox() const { return lock_; }
    QCheckBox* DontPrintBox() const { return dontPrint_; }
    QCheckBox* AutoSizeBox() const { return autoSize_; }

private:
    void changed(bool size);
    void updateEnabled();

    TPositionRecord read_;
    bool loading_ = false;
    QSpinBox* rotation_;
    QLabel* blendLabel_;
    QSpinBox* blend_;
    QWidget* blendUnit_;
    QCheckBox* lock_;
    QCheckBox* dontPrint_;
    QCheckBox* autoSize_;
    TMillimetreEdit* left_;
    TMillimetreEdit* top_;
    TMillimetreEdit* width_;
    TMillimetreEdit* height_;
};

}  // namespace orvella
