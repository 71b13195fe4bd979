#pragma once
// A ruler in millimetres beside the face being edited: ticks every
// millimetre, longer ones every 5 and numbers every 10, laid over the
// site's device pixels, with a red marker line that follows the mouse.
// Pressing on it starts a guide.

#include <QWidget>

#include <functional>

namespace orvella {

class TRuler : public QWidget {
public:
    TRuler(Qt::Orientation orientation, QWidget* parent = nullptr);

    Qt::Orientation Orientation() const { return orientation_; }
    // Length in millimetres (the face's size / 10).
    double Length() const { return length_; }
    void SetLength(double millimetres);
    // Device pixels per millimetre and the device position of the ruler's
    // zero within the ruler (the site's left or top edge as scrolled).
    void SetMapping(double pixelsPerMm, int origin);
    // Device position of the mouse marker within the ruler; negative hides it.
    void SetMarker(int position);
    int Marker() const { return marker_; }

    // A press on the ruler (the position in ruler pixels along it).
    std::function<void(int position)> OnPress;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Qt::Orientation orientation_;
    double length_ = 0;
    double pixelsPerMm_ = 1;
    int origin_ = 0;
    int marker_ = -1;
};

}  // namespace orvella
