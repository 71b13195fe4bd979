#include "drawing/ghost_list.h"

#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"

#include <QtGlobal>

#include <algorithm>
#include <optional>
#include <string>

namespace orvella {

void TGhost::Start(TDrawSite&, const TRect&, TPoint, TShiftState) {}

bool TGhost::Concerns(const TDrawSite&) const
{
    return false;
}

void TSelectGhost::Start(TDrawSite& site, const TRect& bounds, TPoint start, TShiftState)
{
    site_ = &site;
    limit_ = bounds;
    start_ = start;
    far_ = start;
}

void TSelectGhost::Move(TPoint offset, TShiftState)
{
    // The band stops at the site's edge: nothing beyond it can be caught.
    far_ = ClampPoint({start_.x + offset.x, start_.y + offset.y}, limit_);
}

TRect TSelectGhost::Band() const
{
    return NormalizeRect({start_.x, start_.y, far_.x, far_.y});
}

void TSelectGhost::Draw(TCanvas& canvas)
{
    const TRect band = Band();
    canvas.Rectangle(band.Left, band.Top, band.Right, band.Bottom);
}

void TSelectGhost::Apply(TShiftState)
{
    if (!site_)
        return;
    // The far edge belongs to the band as drawn.
    TRect device = site_->LogicalRectToDevice(Band());
    ++device.Right;
    ++device.Bottom;
    site_->SelectInRect(device);
}

TGhostList& GhostList()
{
    static TGhostList list;
    return list;
}

bool TGhostList::IsRubberBand() const
{
    return ghosts_.size() == 1 && dynamic_cast<const TSelectGhost*>(ghosts_.front().get()) != nullptr;
}

bool TGhostList::Concerns(const TDrawSite& site) const
{
    return std::any_of(ghosts_.begin(), ghosts_.end(), [&](const auto& ghost) { return ghost->Concerns(site); });
}

void TGhostList::Add(std::unique_ptr<TGhost> ghost)
{
    ghosts_.push_back(std::move(ghost));
}

void TGhostList::Start(TDrawSite& site, TPoint start, TShiftState shift, std::function<void()> onDone)
{
    if (Active())
        Cancel();
    if (site.Host.Update)
        site.Host.Update();
    site_ = &site;
    start_ = start;
    last_ = start;
    shift_ = shift & kModifierKeys;
    moved_ = false;
    onDone_ = std::move(onDone);
    const TRect bounds = site.LogicalClientRect();
    for (const auto& ghost : ghosts_)
        ghost->Start(site, bounds, start, shift);
    show(xorOnScreen());
}

void TGhostList::Move(TPoint point, TShiftState shift)
{
    if (!Active())
        return;
    const TShiftState keys = shift & kModifierKeys;
    if (point == last_ && keys == shift_)
        return;
    last_ = point;
    shift_ = keys;
    const TPoint offset{point.x - start_.x, point.y - start_.y};
    // Erase, move, draw again: only the outlines change on the screen.
    const bool onScreen = xorOnScreen();
    for (const auto& ghost : ghosts_)
        if (!ghost->Lost())
            ghost->Move(offset, shift);
    moved_ = true;
    if (onScreen)
        xorOnScreen();
    show(onScreen);
}

void TGhostList::Finish(TPoint point, TShiftState shift)
{
    if (!Active())
        return;
    Move(point, shift);
    end(moved_, shift);
}

void TGhostList::Cancel()
{
    if (Active())
        end(false, 0);
    else
        ghosts_.clear();
}

void TGhostList::end(bool apply, TShiftState shift)
{
    TDrawSite* site = site_;
    const bool erased = xorOnScreen();
    // Taken out first: an outline applying may start something new, and a
    // failing one must not leave the list half ended.
    std::vector<std::unique_ptr<TGhost>> ghosts = std::move(ghosts_);
    ghosts_.clear();
    std::function<void()> onDone = std::move(onDone_);
    onDone_ = nullptr;
    site_ = nullptr;
    if (site && erased && site->Host.ShowScreen)
        site->Host.ShowScreen({0, 0, site->Width(), site->Height()});
    else if (site && !erased)
        site->Invalidate();
    struct Done {
        const std::function<void()>& callback;
        bool any;
        ~Done()
        {
            if (any && callback) {
                try {
                    callback();
                } catch (...) {
                    qWarning("the drag outline completion failed");
                }
            }
        }
    } done{onDone, !ghosts.empty()};
    if (!apply)
        return;
    // A drag of several objects is undone as a whole.
    std::optional<TActionGroupGuard> group;
    if (ghosts.size() > 1)
        group.emplace(std::string());
    for (const auto& ghost : ghosts)
        if (!ghost->Lost())
            ghost->Apply(shift);
}

bool TGhostList::xorOnScreen()
{
    TCanvas* screen = site_ && site_->Host.ScreenCanvas ? site_->Host.ScreenCanvas() : nullptr;
    if (!screen)
        return false;
    Draw(*screen);
    return true;
}

void TGhostList::show(bool drawnOnScreen)
{
    if (!site_)
        return;
    if (drawnOnScreen) {
        if (site_->Host.ShowScreen)
            site_->Host.ShowScreen({0, 0, site_->Width(), site_->Height()});
        return;
    }
    site_->Invalidate();
    if (site_->Host.Update)
        site_->Host.Update();
}

void TGhostList::Draw(TCanvas& canvas)
{
    if (!site_)
        return;
    const auto saved = SaveCanvasState(canvas, true);
    site_->PrepareCanvas(canvas);
    canvas.Pen() = TPen{clWhite, 0, TPenStyle::psDot, R2_XORPEN};
    canvas.Brush().Style = TBrushStyle::bsClear;
    for (const auto& ghost : ghosts_)
        if (!ghost->Lost())
            ghost->Draw(canvas);
}

}  // namespace orvella
