#pragma once
// Moving objects by dragging: freely, only horizontally or vertically, or
// around the site's centre (the disc's centre on a disc label) in steps,
// turning the object with its place on the circle. Ctrl on release leaves
// the object and drops a copy instead.

#include "drawing/universal_ghost.h"

namespace orvella {

class TMoveGhost : public TUniversalGhost {
public:
    explicit TMoveGhost(TDrawObject& object);

    void Move(TPoint offset, TShiftState shift) override;
    void Draw(TCanvas& canvas) override;
    void Apply(TShiftState shift) override;

    // The settings in force for a shift state: Alt alone moves freely in
    // every direction; Shift with Alt switches circular moving; Shift alone
    // switches steps in circular mode and the straight directions otherwise.
    TMoveSettings ModesFor(TShiftState shift) const;

protected:
    TMoveSettings modes_;
    bool copies_ = true;

private:
    // The modes of the last move, which the outline draws with.
    TMoveSettings drawn_;
};

// A move with every mode off and no copying, for faces and clip objects.
class TSimpleMoveGhost : public TMoveGhost {
public:
    explicit TSimpleMoveGhost(TDrawObject& object);
};

}  // namespace orvella
