#include "document/layout_operations.h"

#include "drawing/action_list.h"
#include "drawing/do_actions.h"
#include "drawing/do_interfaces.h"
#include "drawing/do_list.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/draw_site_action.h"
#include "paper/face_info.h"
#include "platform/win_math.h"

#include <QRegion>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

namespace orvella {

namespace {

constexpr char kAdjustCaption[] = "位置合わせ";
constexpr char kAlignCaption[] = "位置揃え";

// A selected object that can report and change its bounds.
struct TPlaced {
    TDrawObject* Object;
    TRect Bounds;
};

std::vector<TPlaced> selectedWithBounds(TDrawSite& site)
{
    TDOList selected;
    site.GetObjects(selected, true);
    std::vector<TPlaced> placed;
    for (std::size_t i = 0; i < selected.Count(); ++i)
        if (const TIntfRef<IDOEncloseBounds> bounds = Supports<IDOEncloseBounds>(&selected[i]))
            placed.push_back({&selected[i], bounds->GetLogicalBounds()});
    return placed;
}

int32_t saturate(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Moves the object by the offset as a change step; no step when it stays.
void moveRecorded(TDrawSite& site, TDrawObject& object, int64_t dx, int64_t dy)
{
    if (dx == 0 && dy == 0)
        return;
    RunRecorded(TActionType::atChange, site, object, [&] {
        if (const TIntfRef<IDOEncloseBounds> bounds = Supports<IDOEncloseBounds>(&object))
            bounds->MoveBy(saturate(dx), saturate(dy));
    });
}

void turnRecorded(TDrawSite& site, TDrawObject& object, IDORotate& rotate, int32_t angle)
{
    if (rotate.GetAngle() == angle)
        return;
    RunRecorded(TActionType::atChange, site, object, [&] { rotate.SetAngle(angle); });
}

// Where the face region lies on each line (row or column) of a span: the
// least and the greatest coordinate across the line, exclusive at the end.
struct TLineExtent {
    int64_t Low = std::numeric_limits<int64_t>::max();
    int64_t High = std::numeric_limits<int64_t>::min();
    bool Met() const { return Low <= High; }
};

// The extents of the region on the lines from first to last (exclusive),
// rows when byRows, else columns. Only lines the region's bounding box
// meets are visited, so a huge object costs no more than the face.
std::vector<TLineExtent> lineExtents(const QRegion& region, int64_t first, int64_t last, bool byRows)
{
    const QRect box = region.boundingRect();
    const int64_t boxFirst = byRows ? box.top() : box.left();
    const int64_t boxLast = byRows ? int64_t(box.top()) + box.height() : int64_t(box.left()) + box.width();
    first = std::max(first, boxFirst);
    last = std::min(last, boxLast);
    if (last <= first)
        return {};
    std::vector<TLineExtent> lines(std::size_t(last - first));
    for (const QRect& part : region) {
        const int64_t across = byRows ? part.top() : part.left();
        const int64_t acrossEnd = across + (byRows ? part.height() : part.width());
        const int64_t low = byRows ? part.left() : part.top();
        const int64_t high = low + (byRows ? part.width() : part.height());
        for (int64_t line = std::max(across, first); line < std::min(acrossEnd, last); ++line) {
            TLineExtent& extent = lines[std::size_t(line - first)];
            extent.Low = std::min(extent.Low, low);
            extent.High = std::max(extent.High, high);
        }
    }
    return lines;
}

// The new near edge (towardLow) or far edge of an object spanning the
// lines: the innermost of the region's edges over the lines it meets.
std::optional<int64_t> innermostEdge(const QRegion& region, int64_t first, int64_t last, bool byRows, bool towardLow)
{
    std::optional<int64_t> edge;
    for (const TLineExtent& line : lineExtents(region, first, last, byRows)) {
        if (!line.Met())
            continue;
        if (towardLow)
            edge = std::max(edge.value_or(std::numeric_limits<int64_t>::min()), line.Low);
        else
            edge = std::min(edge.value_or(std::numeric_limits<int64_t>::max()), line.High);
    }
    return edge;
}

// Whole degrees, halves to even.
int32_t roundDegrees(double degrees)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(degrees);
    std::fesetround(saved);
    return int32_t(rounded);
}

int64_t centre2(const TRect& r, bool horizontal)
{
    return horizontal ? int64_t(r.Left) + r.Right : int64_t(r.Top) + r.Bottom;
}

}  // namespace

bool AdjustPosition(TDrawSite& site, int choice, const TFaceInfo& face)
{
    if (choice < acLeftEdge || choice > acTangential)
        return false;
    const std::vector<TPlaced> placed = selectedWithBounds(site);
    if (placed.empty())
        return false;

    const TRect outer = face.GetOuterRect();
    const int64_t faceWidth = int64_t(outer.Right) - outer.Left;
    const int64_t faceHeight = int64_t(outer.Bottom) - outer.Top;
    QRegion region;
    if (choice <= acBottomEdge)
        region = face.CreateFaceRegion(nullptr, false).translated(-outer.Left, -outer.Top);

    TActionGroupGuard group(kAdjustCaption);
    for (const TPlaced& item : placed) {
        const TRect& b = item.Bounds;
        switch (choice) {
        case acLeftEdge:
            if (const auto edge = innermostEdge(region, b.Top, b.Bottom, true, true))
                moveRecorded(site, *item.Object, *edge - b.Left, 0);
            break;
        case acRightEdge:
            if (const auto edge = innermostEdge(region, b.Top, b.Bottom, true, false))
                moveRecorded(site, *item.Object, *edge - b.Right, 0);
            break;
        case acTopEdge:
            if (const auto edge = innermostEdge(region, b.Left, b.Right, false, true))
                moveRecorded(site, *item.Object, 0, *edge - b.Top);
            break;
        case acBottomEdge:
            if (const auto edge = innermostEdge(region, b.Left, b.Right, false, false))
                moveRecorded(site, *item.Object, 0, *edge - b.Bottom);
            break;
        case acMiddle:
            moveRecorded(site, *item.Object, 0, (faceHeight - (int64_t(b.Bottom) - b.Top)) / 2 - b.Top);
            break;
        case acCentre:
            moveRecorded(site, *item.Object, (faceWidth - (int64_t(b.Right) - b.Left)) / 2 - b.Left, 0);
            break;
        case acRadial:
        case acTangential: {
            const TIntfRef<IDORotate> rotate = Supports<IDORotate>(item.Object);
            if (!rotate)
                break;
            const int64_t cx = centre2(b, true) / 2;
            const int64_t cy = centre2(b, false) / 2;
            const double radians = std::atan2(double(cy - faceHeight / 2), double(cx - faceWidth / 2));
            int32_t angle = roundDegrees(radians * 180.0 / std::numbers::pi);
            if (choice == acRadial)
                angle += 90;
            turnRecorded(site, *item.Object, *rotate, angle);
            break;
        }
        }
    }
    return true;
}

bool CanAlignObjects(const TDrawSite& site)
{
    int selected = 0;
    for (std::size_t i = 0; i < site.ObjectCount() && selected < 2; ++i)
        if (site.Objects(i).Selected())
            ++selected;
    return selected >= 2;
}

bool AlignObjects(TDrawSite& site, int choice)
{
    if (choice < alLefts || choice > alSpaceY)
        return false;
    std::vector<TPlaced> placed = selectedWithBounds(site);
    if (placed.size() < 2)
        return false;

    TRect all = placed.front().Bounds;
    for (const TPlaced& item : placed) {
        all.Left = std::min(all.Left, item.Bounds.Left);
        all.Top = std::min(all.Top, item.Bounds.Top);
        all.Right = std::max(all.Right, item.Bounds.Right);
        all.Bottom = std::max(all.Bottom, item.Bounds.Bottom);
    }

    TActionGroupGuard group(kAlignCaption);
    if (choice == alSpaceX || choice == alSpaceY) {
        const bool horizontal = choice == alSpaceX;
        // Ordered by the centre as a number; objects on one centre keep their
        // z-order among themselves and each still gets its own place.
        std::stable_sort(placed.begin(), placed.end(), [horizontal](const TPlaced& a, const TPlaced& b) {
            return centre2(a.Bounds, horizontal) < centre2(b.Bounds, horizontal);
        });
        auto extent = [horizontal](const TRect& r) {
            return horizontal ? int64_t(r.Right) - r.Left : int64_t(r.Bottom) - r.Top;
        };
        int64_t sum = 0;
        for (const TPlaced& item : placed)
            sum += extent(item.Bounds);
        const int64_t gap = extent(all) - sum;
        const int32_t intervals = int32_t(placed.size() - 1);
        const int64_t start = horizontal ? all.Left : all.Top;
        int64_t before = 0;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const TRect& b = placed[i].Bounds;
            const int64_t share = MulDiv(int32_t(i), saturate(gap), intervals);
            const int64_t target = start + before + share;
            if (horizontal)
                moveRecorded(site, *placed[i].Object, target - b.Left, 0);
            else
                moveRecorded(site, *placed[i].Object, 0, target - b.Top);
            before += extent(b);
        }
        return true;
    }

    const int64_t allCentreX = centre2(all, true) / 2;
    const int64_t allCentreY = centre2(all, false) / 2;
    for (const TPlaced& item : placed) {
        const TRect& b = item.Bounds;
        switch (choice) {
        case alLefts: moveRecorded(site, *item.Object, int64_t(all.Left) - b.Left, 0); break;
        case alRights: moveRecorded(site, *item.Object, int64_t(all.Right) - b.Right, 0); break;
        case alTops: moveRecorded(site, *item.Object, 0, int64_t(all.Top) - b.Top); break;
        case alBottoms: moveRecorded(site, *item.Object, 0, int64_t(all.Bottom) - b.Bottom); break;
        case alCentresX: moveRecorded(site, *item.Object, allCentreX - centre2(b, true) / 2, 0); break;
        case alCentresY: moveRecorded(site, *item.Object, 0, allCentreY - centre2(b, false) / 2); break;
        default: break;
        }
    }
    return true;
}

}  // namespace orvella
