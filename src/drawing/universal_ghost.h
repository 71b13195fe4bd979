#pragma once
// The drag outline that edits one object through a clone: the clone follows
// the mouse and draws its outline, and on release the object takes the
// clone's state as one undo step. Moving, resizing, turning, bending and
// creating by dragging all build on it. Also here: the snapping hook the
// layout editor installs (grid and guides) and the move settings its
// commands switch.

#include "drawing/ghost_list.h"
#include "graphics/change_notify.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace orvella {

class TDrawObject;

// Per axis, how far a point is from the snap target nearest to it, or
// nothing when no target is near on that axis.
struct TSnapOffset {
    std::optional<int32_t> dx;
    std::optional<int32_t> dy;
};
using TSnapHook = std::function<TSnapOffset(TPoint logical)>;
// Without a hook nothing snaps.
void SetSnapHook(TSnapHook hook);
const TSnapHook& SnapHook();

// How moving outlines move, switched by the layout editor's commands.
struct TMoveSettings {
    bool CircumMove = false;    // around the site's centre or along its radius
    bool ParallelMove = false;  // horizontally or vertically only
    bool RotateMove = false;    // turn with the angle moved about the centre
    bool CircumRotate = true;   // circular moves turn the object too
    bool CircumPhased = true;   // circular moves go in steps of PhaseStep
    int32_t PhaseStep = 30;     // degrees
};
TMoveSettings& MoveSettings();
// A new object placed by a creation command starts the free way again.
void ResetMoveModes();

class TUniversalGhost : public TGhost {
public:
    // An empty caption applies without an undo step.
    TUniversalGhost(TDrawObject& object, int handleIndex, std::string caption);
    ~TUniversalGhost() override;

    void Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState shift) override;
    void Draw(TCanvas& canvas) override;
    void Apply(TShiftState shift) override;
    bool Concerns(const TDrawSite& site) const override;
    bool Lost() const override { return lost_; }

    TPoint Snap(TPoint p) const;
    // Each axis keeps the smallest offset any of points has to a target.
    TSnapOffset SnapOffset(std::span<const TPoint> points) const;

    TDrawObject& Object() const { return *object_; }
    TDrawObject& Clone() const { return *clone_; }
    int HandleIndex() const { return handleIndex_; }

protected:
    TDrawSite* Site() const { return site_; }
    const TRect& Limit() const { return limit_; }
    TPoint StartPoint() const { return start_; }
    void SetHandleIndex(int index) { handleIndex_ = index; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }

private:
    TDrawObject* object_;
    std::unique_ptr<TDrawObject> clone_;
    int handleIndex_;
    std::string caption_;
    TDrawSite* site_ = nullptr;
    TRect limit_;
    TPoint start_;
    bool lost_ = false;
    TListener watch_;  // hears the object being freed
};

// The object's angle through IDORotate; 0 for an object that does not turn.
int32_t ObjectAngle(TDrawObject& object);

// The common part of creating by dragging: the object is new, hidden and
// not yet selected; applying places it as the undo step "追加", and an
// outline that goes without applying frees it.
class TCreationGhost {
public:
    explicit TCreationGhost(TDrawObject& object);
    ~TCreationGhost();
    TCreationGhost(const TCreationGhost&) = delete;
    TCreationGhost& operator=(const TCreationGhost&) = delete;

protected:
    // After the object took the clone's state.
    void Created();

private:
    TDrawObject* created_;
    TListener watch_;
};

}  // namespace orvella
