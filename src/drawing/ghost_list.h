#pragma once
// Drag outlines: while the mouse drags, outlines show where objects would go
// (or which area a rubber band covers) and are applied on release. The
// program keeps one list; the concrete outlines for moving, resizing and
// creating objects come from the designers.

#include "drawing/draw_types.h"

#include <functional>
#include <memory>
#include <vector>

namespace orvella {

class TCanvas;
class TDrawSite;

class TGhost {
public:
    virtual ~TGhost() = default;
    // bounds: the site's logical client area; start: the logical press point.
    virtual void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift);
    // offset: from the start point to the pointer, logical units.
    virtual void Move(TPoint offset, TShiftState shift) = 0;
    // The canvas has the site's mapping and a white dotted XOR pen, no fill.
    virtual void Draw(TCanvas& canvas) = 0;
    virtual void Apply(TShiftState shift) = 0;
    // Whether the outline works on something of site (it must go when the
    // site closes, even before a press started it).
    virtual bool Concerns(const TDrawSite& site) const;
    // The thing the outline works on is gone: the list leaves it alone.
    virtual bool Lost() const { return false; }
};

// The rubber band of a press on the empty site: selects what lies inside.
class TSelectGhost : public TGhost {
public:
    void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift) override;
    void Move(TPoint offset, TShiftState shift) override;
    void Draw(TCanvas& canvas) override;
    void Apply(TShiftState shift) override;
    // The band in logical units, normalised.
    TRect Band() const;

private:
    TDrawSite* site_ = nullptr;
    TRect limit_;
    TPoint start_;
    TPoint far_;
};

class TGhostList {
public:
    void Add(std::unique_ptr<TGhost> ghost);
    bool Empty() const { return ghosts_.empty(); }
    bool Active() const { return site_ != nullptr; }
    TDrawSite* Site() const { return site_; }
    bool Moved() const { return moved_; }

    // Exactly one outline and it is a rubber band.
    bool IsRubberBand() const;
    bool Concerns(const TDrawSite& site) const;

    void Start(TDrawSite& site, TPoint start, TShiftState shift, std::function<void()> onDone);
    void Move(TPoint point, TShiftState shift);
    // Applies every outline when something moved, several as one undo
    // step; then frees them.
    void Finish(TPoint point, TShiftState shift);
    void Cancel();
    // Called by the site at the end of its paint while the list is active.
    void Draw(TCanvas& canvas);

private:
    void end(bool apply, TShiftState shift);
    // Draws the outlines in XOR straight onto the site's screen (so a second
    // time erases them); false when the site has no screen to draw on.
    bool xorOnScreen();
    // Puts the outlines' change on view: the screen as drawn, or without a
    // screen a repaint of the site.
    void show(bool drawnOnScreen);

    std::vector<std::unique_ptr<TGhost>> ghosts_;
    TDrawSite* site_ = nullptr;
    TPoint start_;
    TPoint last_;
    TShiftState shift_ = 0;
    bool moved_ = false;
    std::function<void()> onDone_;
};

// The program's one outline list (user-interface thread only).
TGhostList& GhostList();

}  // namespace orvella
