#pragma once
// The designers that give objects their handles and drag outlines, chosen
// by what the objects offer: lines (IDOLine), rectangles (IDOPosition),
// curves (IDOCurve), and texts that lie on a rectangle (IDOPosition with a
// straight or no curve), which only show handles and leave dragging to the
// others.

#include "drawing/designer.h"

namespace orvella {

class TDOLineGhostDesigner : public TDODesigner {
public:
    bool ShowHandles(TDrawObject& object) override;
    bool BeginDrag(TDrawObject& object, int handleIndex) override;
};

class TDORectGhostDesigner : public TDODesigner {
public:
    bool ShowHandles(TDrawObject& object) override;
    bool BeginDrag(TDrawObject& object, int handleIndex) override;
};

class TDOCurveGhostDesigner : public TDODesigner {
public:
    bool ShowHandles(TDrawObject& object) override;
    bool BeginDrag(TDrawObject& object, int handleIndex) override;
};

class TDOTextGhostDesigner : public TDODesigner {
public:
    bool ShowHandles(TDrawObject& object) override;
};

// Registers the four once, lines first, so that texts are asked first and
// lines last. Calling it again (after the registry was cleared) registers
// them again.
void RegisterGhostDesigners();

// The eight handles of a rectangular object (turned with it, with the
// rotation handle at corners 2 and 5 when it can turn).
void ShowRectHandles(TDrawObject& object);

}  // namespace orvella
