// Drag outlines driven by mouse sequences on a site where one logical unit
// is one pixel, so that the geometry can be checked to the unit.

#include "ghost_objects.h"
#include "undo_fixture.h"

#include "drawing/designer.h"
#include "drawing/ghost_designers.h"
#include "drawing/ghost_geometry.h"
#include "drawing/line_ghost.h"
#include "drawing/move_ghost.h"
#include "drawing/rect_ghost.h"
#include "drawing/universal_ghost.h"
#include "graphics/arc_geometry.h"
#include "graphics/recording_canvas.h"
#include "graphics/rect_utils.h"

#include <cstdlib>

namespace orvella::test {
namespace {

class Ghosts : public UndoTest {
protected:
    Ghosts()
    {
        RegisterGhostTestClasses();
        DesignerList().Clear();
        RegisterGhostDesigners();
        SetSnapHook({});
        saved_ = MoveSettings();
        MoveSettings() = TMoveSettings{};
        site.Scaler().SetUnitDPI(96);
        site.SetLogWidth(1000);
        site.SetLogHeight(800);
        site.Host.ScreenCanvas = [this] { return &screen; };
        site.OnClearGhost = [this](TDrawSite&) { ++cleared; };
    }
    ~Ghosts() override
    {
        GhostList().Cancel();
        SetSnapHook({});
        MoveSettings() = saved_;
        DesignerList().Clear();
    }

    template <class T, class... Args>
    T& Add(Args&&... args)
    {
        auto& object = static_cast<T&>(site.InsertOwnedObject(std::make_unique<T>(std::forward<Args>(args)...)));
        site.AddObject(object);
        return object;
    }
    void SelectOnly(TDrawObject& object)
    {
        site.SetAllSelected(false);
        object.SetSelected(true);
        site.RefreshHandles();
    }
    void Drag(TPoint from, TPoint to, TShiftState shift = 0)
    {
        Press(from, shift);
        Move(to, shift);
        Release(to, shift);
    }
    std::vector<int> HandleIndexes() const
    {
        std::vector<int> indexes;
        for (std::size_t i = 0; i < site.HandleCount(); ++i)
            indexes.push_back(site.Handles(i).Index);
        return indexes;
    }
    const TDrawHandle* HandleWithIndex(int index) const
    {
        for (std::size_t i = 0; i < site.HandleCount(); ++i)
            if (site.Handles(i).Index == index)
                return &site.Handles(i);
        return nullptr;
    }
    static TPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

    TRecordingCanvas screen;
    int cleared = 0;

private:
    TMoveSettings saved_;
};

// --- handles --------------------------------------------------------------------

TEST_F(Ghosts, MappingIsOneUnitPerPixel)
{
    EXPECT_EQ(site.LogicalToDevice({123, 45}), (TPoint{123, 45}));
}

TEST_F(Ghosts, DesignersShowTheHandlesOfEachKind)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    EXPECT_EQ(HandleIndexes(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Middle(HandleWithIndex(4)->Bounds), (TPoint{150, 150}));
    EXPECT_EQ(HandleWithIndex(0)->Cursor, crSizeNWSE);
    EXPECT_EQ(HandleWithIndex(6)->Kind, TPivotKind::LabelPivot);

    TTurningShape& turning = Add<TTurningShape>(TRect{300, 100, 400, 150});
    SelectOnly(turning);
    EXPECT_EQ(HandleIndexes(), (std::vector<int>{0, 1, 8, 3, 4, 8, 6, 7}));
    EXPECT_EQ(site.Handles(2).Cursor, crRotate);
    EXPECT_EQ(site.Handles(2).Kind, TPivotKind::RotatePivot);

    TGhostLine& line = Add<TGhostLine>(TPoint{10, 10}, TPoint{90, 50});
    SelectOnly(line);
    EXPECT_EQ(HandleIndexes(), (std::vector<int>{0, 1}));
    EXPECT_EQ(Middle(HandleWithIndex(1)->Bounds), (TPoint{90, 50}));

    TGhostCurve& curve = Add<TGhostCurve>(TPoint{10, 300}, TPoint{60, 260}, TPoint{110, 300});
    SelectOnly(curve);
    EXPECT_EQ(HandleIndexes(), (std::vector<int>{10, 11, 12}));
    EXPECT_EQ(HandleWithIndex(12)->Kind, TPivotKind::BulgePivot);
}

TEST_F(Ghosts, TurnedHandlesFollowTheAngleAboutTheCentre)
{
    TTurningShape& shape = Add<TTurningShape>(TRect{100, 100, 200, 150});
    shape.Angle = 90;
    SelectOnly(shape);
    // The right middle (200, 125) turned clockwise about (150, 125).
    EXPECT_EQ(Middle(HandleWithIndex(6)->Bounds), (TPoint{150, 175}));
}

TEST_F(Ghosts, HandlesOfAnObjectThatCannotMoveKeepTheDefaultCursor)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    shape.SetMovable(false);
    SelectOnly(shape);
    ASSERT_EQ(site.HandleCount(), 8u);
    EXPECT_EQ(site.Handles(0).Cursor, crDefault);
}

TEST_F(Ghosts, PivotsPaintByKind)
{
    TTurningShape& shape = Add<TTurningShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    TRecordingCanvas canvas;
    site.PaintWindow(canvas, {0, 0, site.Width(), site.Height()});
    int rotatePivots = 0;
    int labelPivots = 0;
    for (const TRecordedCall& call : canvas.Calls()) {
        if (call.Call.starts_with("Ellipse") && call.Brush.Color == kRotatePivotColor && call.Pen.Color == clWhite)
            ++rotatePivots;
        if (call.Call.starts_with("Rectangle") && call.Brush.Color == clBlack && call.Pen.Color == clWhite)
            ++labelPivots;
    }
    EXPECT_EQ(rotatePivots, 2);
    EXPECT_EQ(labelPivots, 6);
}

// --- resizing -------------------------------------------------------------------

struct ResizeCase {
    int handle;
    TPoint offset;
    TShiftState shift;
    TRect want;
};

class ResizeTable : public Ghosts, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeTable, HandleAndOffsetGiveTheRectangle)
{
    const ResizeCase& c = GetParam();
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    const TDrawHandle* handle = HandleWithIndex(c.handle);
    ASSERT_NE(handle, nullptr);
    const TPoint at = Middle(handle->Bounds);
    Drag(at, {at.x + c.offset.x, at.y + c.offset.y}, c.shift);
    EXPECT_EQ(shape.Rect, c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, ResizeTable, ::testing::Values(
    // Dragged past the opposite edge, the rectangle is turned over.
    ResizeCase{7, {-200, 0}, 0, {0, 100, 100, 150}},
    // Below the minimum width the left edge holds and the width is 20 ...
    ResizeCase{7, {-95, 0}, 0, {100, 100, 120, 150}},
    // ... except with Ctrl.
    ResizeCase{7, {-95, 0}, ssCtrl, {100, 100, 105, 150}},
    ResizeCase{0, {10, 20}, 0, {110, 120, 200, 150}},
    ResizeCase{1, {-30, 40}, 0, {70, 100, 200, 150}},
    ResizeCase{1, {95, 0}, 0, {180, 100, 200, 150}},
    ResizeCase{2, {-10, 10}, 0, {90, 100, 200, 160}},
    ResizeCase{3, {0, 45}, 0, {100, 130, 200, 150}},
    ResizeCase{4, {7, 10}, 0, {100, 100, 200, 160}},
    ResizeCase{5, {10, -10}, 0, {100, 90, 210, 150}},
    ResizeCase{6, {30, 99}, 0, {100, 100, 230, 150}},
    // Shift keeps the proportions: a corner fits it into the dragged box from
    // the opposite corner, a side handle grows the other side about the
    // centre.
    ResizeCase{7, {100, 0}, ssShift, {100, 100, 200, 150}},
    ResizeCase{7, {100, 50}, ssShift, {100, 100, 300, 200}},
    ResizeCase{0, {-100, -50}, ssShift, {0, 50, 200, 150}},
    ResizeCase{6, {100, 0}, ssShift, {100, 75, 300, 175}},
    ResizeCase{4, {0, 50}, ssShift, {50, 100, 250, 200}}));

TEST_F(Ghosts, ProportionalObjectsLoseTheirRatioWithShift)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    shape.Proportional = true;
    SelectOnly(shape);
    Drag({200, 150}, {300, 150});
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 200, 150}));
    Drag({200, 150}, {300, 150}, ssShift);
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 300, 150}));
}

TEST_F(Ghosts, ATurnedObjectResizesInItsOwnFrameAndKeepsItsFixedSide)
{
    TTurningShape& shape = Add<TTurningShape>(TRect{100, 100, 200, 150});
    shape.Angle = 90;
    SelectOnly(shape);
    // The right side is at the bottom on screen; dragging it down by 20
    // widens the object by 20.
    Drag({150, 175}, {150, 195});
    EXPECT_EQ(shape.Rect, (TRect{90, 110, 210, 160}));
    // The left side's middle, turned about the new centre, is where it was.
    EXPECT_EQ(TurnPoint({90, 135}, {150, 135}, 90), TurnPoint({100, 125}, {150, 125}, 90));
}

TEST_F(Ghosts, ResizingIsOneUndoStep)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    Drag({200, 150}, {250, 180});
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 250, 180}));
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "サイズ変更");
    ActionList().Undo();
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 200, 150}));
    ActionList().Redo();
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 250, 180}));
}

// --- snapping ---------------------------------------------------------------------

// Snaps to multiples of 50 within 10 units on each axis.
TSnapOffset gridOf50(TPoint p)
{
    TSnapOffset offset;
    const auto near = [](int32_t v) -> std::optional<int32_t> {
        const int32_t target = (v + 25) / 50 * 50;
        return std::abs(target - v) <= 10 ? std::optional<int32_t>(target - v) : std::nullopt;
    };
    offset.dx = near(p.x);
    offset.dy = near(p.y);
    return offset;
}

TEST_F(Ghosts, TheSnappingHookPullsDraggedHandlesAndMovedCorners)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    Drag({150, 125}, {198, 120});
    EXPECT_EQ(shape.Rect, (TRect{148, 95, 248, 145})) << "without a hook nothing snaps";

    ActionList().Undo();
    SetSnapHook(gridOf50);
    // Corners at 148 and 248 both want +2; the top at 95 wants +5, the
    // bottom at 145 wants +5: each axis takes the smallest.
    Drag({150, 125}, {198, 120});
    EXPECT_EQ(shape.Rect, (TRect{150, 100, 250, 150}));

    Drag({250, 150}, {283, 143});
    EXPECT_EQ(shape.Rect, (TRect{150, 100, 283, 150})) << "x is 17 from any target, y snaps";
}

TEST_F(Ghosts, SnapOffsetKeepsTheSmallestOffsetPerAxis)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    orvella::TMoveGhost ghost(shape);
    const TPoint points[] = {{47, 9}, {204, 320}, {143, 511}};
    SetSnapHook(gridOf50);
    const TSnapOffset offset = ghost.SnapOffset(points);
    EXPECT_EQ(offset.dx, std::optional<int32_t>(3));
    EXPECT_EQ(offset.dy, std::optional<int32_t>(-9));
    EXPECT_EQ(ghost.Snap({47, 33}), (TPoint{50, 33}));
    SetSnapHook({});
    EXPECT_FALSE(ghost.SnapOffset(points).dx);
}

// --- moving ------------------------------------------------------------------------

TEST_F(Ghosts, MovingIsOneUndoStepAndAStillClickChangesNothing)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    Click({150, 125});
    EXPECT_TRUE(shape.Selected());
    EXPECT_EQ(ActionList().Count(), 0u);
    Drag({150, 125}, {180, 105});
    EXPECT_EQ(shape.Rect, (TRect{130, 80, 230, 130}));
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "移動");
    ActionList().Undo();
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 200, 150}));
    EXPECT_EQ(cleared, 2);
}

TEST_F(Ghosts, DraggingSeveralObjectsIsOneUndoGroup)
{
    TGhostShape& a = Add<TGhostShape>(TRect{100, 100, 200, 150});
    TGhostShape& b = Add<TGhostShape>(TRect{300, 100, 400, 150});
    site.SetAllSelected(false);
    a.SetSelected(true);
    b.SetSelected(true);
    Drag({150, 125}, {160, 145});
    EXPECT_EQ(a.Rect, (TRect{110, 120, 210, 170}));
    EXPECT_EQ(b.Rect, (TRect{310, 120, 410, 170}));
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "移動");
    ActionList().Undo();
    EXPECT_EQ(a.Rect, (TRect{100, 100, 200, 150}));
    EXPECT_EQ(b.Rect, (TRect{300, 100, 400, 150}));
}

TEST_F(Ghosts, ShiftMovesOnlyAlongTheLargerDisplacement)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    Drag({150, 125}, {180, 135}, ssShift);
    EXPECT_EQ(shape.Rect, (TRect{130, 100, 230, 150}));
    Drag({180, 125}, {190, 135}, ssShift);
    EXPECT_EQ(shape.Rect, (TRect{130, 110, 230, 160})) << "equal displacements move vertically";
    MoveSettings().ParallelMove = true;
    Drag({180, 135}, {185, 175}, ssAlt);
    EXPECT_EQ(shape.Rect, (TRect{135, 150, 235, 200})) << "Alt moves freely";
}

TEST_F(Ghosts, MovedObjectsKeepTheirCentresInsideTheSite)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    Drag({150, 125}, {-500, 125});
    EXPECT_EQ(Middle(shape.Rect).x, 10);
}

TEST_F(Ghosts, CircularMovesGoAroundTheCentreInStepsAndTurnTheObject)
{
    MoveSettings().CircumMove = true;
    TTurningShape& shape = Add<TTurningShape>(TRect{680, 380, 720, 420});
    SelectOnly(shape);
    // A quarter turn clockwise about (500, 400), a little short of it: the
    // 30-degree steps round it up.
    Drag({700, 400}, {510, 590});
    EXPECT_EQ(shape.Rect, (TRect{480, 580, 520, 620}));
    EXPECT_EQ(shape.Angle, 90);
    EXPECT_EQ(ActionList().UndoCaption(), "移動");

    // Straight out from the centre: along the radius, no turn.
    Drag({500, 600}, {500, 660});
    EXPECT_EQ(shape.Rect, (TRect{480, 640, 520, 680}));
    EXPECT_EQ(shape.Angle, 90);
}

TEST_F(Ghosts, ACircularMoveWithoutAPositivePhaseStepStillEnds)
{
    MoveSettings().CircumMove = true;
    for (const int32_t step : {0, -30}) {
        MoveSettings().PhaseStep = step;
        TTurningShape& shape = Add<TTurningShape>(TRect{680, 380, 720, 420});
        SelectOnly(shape);
        Drag({700, 400}, {500, 600});
        EXPECT_EQ(shape.Angle, 90) << "step " << step;
    }
    EXPECT_EQ(PhaseAngle(37, 0), 37);
    EXPECT_EQ(PhaseAngle(37, -5), 37);
    EXPECT_EQ(PhaseAngle(37, 30), 30);
    EXPECT_EQ(PhaseAngle(-45, 30), -60);
}

TEST_F(Ghosts, ShiftAndAltSwitchTheMoveModes)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    MoveSettings().CircumMove = true;
    orvella::TMoveGhost ghost(shape);
    EXPECT_TRUE(ghost.ModesFor(0).CircumMove);
    EXPECT_FALSE(ghost.ModesFor(ssShift).CircumPhased);
    EXPECT_FALSE(ghost.ModesFor(ssShift | ssAlt).CircumMove);
    EXPECT_FALSE(ghost.ModesFor(ssAlt).CircumMove);
    EXPECT_TRUE(ghost.ModesFor(ssCtrl).CircumMove);
    MoveSettings().CircumMove = false;
    orvella::TMoveGhost free(shape);
    EXPECT_TRUE(free.ModesFor(ssShift).ParallelMove);
    EXPECT_TRUE(free.ModesFor(ssShift | ssAlt).CircumMove);
    TSimpleMoveGhost simple(shape);
    EXPECT_FALSE(simple.ModesFor(ssShift | ssAlt).CircumMove);
}

TEST_F(Ghosts, ACreationCommandEndsTheCircularMode)
{
    MoveSettings().CircumMove = true;
    MoveSettings().ParallelMove = true;
    MoveSettings().RotateMove = true;
    TLOCreator creator;
    creator.AddCommand("TGhostShape", {.PlaceByDragging = false});
    DesignerList().Register(std::shared_ptr<TDODesigner>(&creator, [](TDODesigner*) {}));
    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostShape"));
    EXPECT_FALSE(MoveSettings().CircumMove);
    EXPECT_FALSE(MoveSettings().ParallelMove);
    EXPECT_FALSE(MoveSettings().RotateMove);
    EXPECT_TRUE(MoveSettings().CircumPhased);
    DesignerList().Unregister(creator);
}

// --- drag copies ---------------------------------------------------------------------

TEST_F(Ghosts, ACtrlDragLeavesTheObjectAndSelectsAnUnnamedCopy)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    shape.SetName("Shape1");
    SelectOnly(shape);
    Drag({150, 125}, {250, 225}, ssCtrl);
    ASSERT_EQ(site.ObjectCount(), 2u);
    auto& copy = static_cast<TGhostShape&>(site.Objects(1));
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 200, 150}));
    EXPECT_EQ(copy.Rect, (TRect{200, 200, 300, 250}));
    EXPECT_EQ(copy.Name(), "");
    EXPECT_TRUE(copy.Selected());
    EXPECT_FALSE(shape.Selected());
    EXPECT_EQ(ActionList().UndoCaption(), "ドラッグコピー");
    ActionList().Undo();
    EXPECT_EQ(site.ObjectCount(), 1u);
}

TEST_F(Ghosts, ACtrlDragOfLessThanAUnitNeitherMovesNorCopies)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    Press({150, 125}, ssCtrl);
    Move({151, 125}, ssCtrl);
    Release({150, 125}, ssCtrl);
    EXPECT_EQ(site.ObjectCount(), 1u);
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 200, 150}));
    EXPECT_EQ(ActionList().Count(), 0u);
}

// --- rotating ----------------------------------------------------------------------

TEST_F(Ghosts, RotatingWithShiftSnapsToMultiplesOf45)
{
    TTurningShape& shape = Add<TTurningShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    const TPoint handle = Middle(HandleWithIndex(8)->Bounds);  // (100, 150)
    const TPoint centre{150, 125};
    const auto turnedBy = [&](long double degrees) { return TurnPoint(handle, centre, degrees); };
    Drag(handle, turnedBy(67), ssShift);
    EXPECT_EQ(shape.Angle, 45);
    EXPECT_EQ(ActionList().UndoCaption(), "回転");
    ActionList().Undo();
    SelectOnly(shape);
    Drag(handle, turnedBy(68), ssShift);
    EXPECT_EQ(shape.Angle, 90);
    ActionList().Undo();
    SelectOnly(shape);
    Drag(handle, turnedBy(-20));
    EXPECT_NEAR(shape.Angle, -20, 1) << "the press lands on whole pixels";
}

TEST(GhostGeometry, SnapToEighthRoundsHalvesUpInSize)
{
    const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {22, 0}, {23, 45}, {67, 45}, {68, 90}, {-22, 0},
                                                 {-23, -45}, {-68, -90}, {359, 360}};
    for (const auto& [angle, want] : cases)
        EXPECT_EQ(SnapToEighth(angle), want) << angle;
}

// --- lines ----------------------------------------------------------------------------

TEST(GhostGeometry, ShiftMakesALineHorizontalOrVertical)
{
    struct Case {
        TPoint moved, fixed, want;
    };
    const Case cases[] = {
        {{250, 130}, {100, 100}, {250, 100}},  // leans less than 45 degrees
        {{130, 250}, {100, 100}, {100, 250}},
        {{130, 130}, {100, 100}, {100, 130}},  // a diagonal becomes vertical
        {{100, 100}, {100, 100}, {100, 100}},  // no length: no division by zero
        {{100, 160}, {100, 100}, {100, 160}},  // vertical already
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConstrainLineEnd(c.moved, c.fixed), c.want) << c.moved.x << "," << c.moved.y;
}

TEST_F(Ghosts, LineEndsMoveSnapAndStraightenWithShift)
{
    TGhostLine& line = Add<TGhostLine>(TPoint{100, 100}, TPoint{200, 100});
    SelectOnly(line);
    Drag({200, 100}, {230, 140});
    EXPECT_EQ(line.End, (TPoint{230, 140}));
    EXPECT_EQ(ActionList().UndoCaption(), "移動・サイズ変更");
    Drag({230, 140}, {100, 100}, ssShift);
    EXPECT_EQ(line.End, (TPoint{100, 100})) << "a line of no length stays one";
    // Both handles lie on (100, 100); the end's is on top.
    Drag({100, 100}, {70, 170}, ssShift);
    EXPECT_EQ(line.End, (TPoint{100, 170}));
    SetSnapHook(gridOf50);
    Drag({100, 100}, {142, 57});
    EXPECT_EQ(line.Start, (TPoint{150, 50}));
}

// --- creation -------------------------------------------------------------------------

class Creation : public Ghosts {
protected:
    Creation()
    {
        creator_ = std::make_shared<TLOCreator>();
        DesignerList().Register(creator_);
    }
    std::shared_ptr<TLOCreator> creator_;
};

TEST_F(Creation, DraggingPlacesANewRectangleAsOneAddStep)
{
    TGhostShape& other = Add<TGhostShape>(TRect{300, 300, 320, 320});
    SelectOnly(other);
    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostShape"));
    ASSERT_EQ(site.ObjectCount(), 2u);
    auto& created = static_cast<TGhostShape&>(site.Objects(1));
    EXPECT_FALSE(created.Visible());
    // Pressing on the empty site must not start a rubber band beside the
    // waiting creation: the band would select what the new object covers.
    Drag({250, 250}, {400, 350});
    // The new object starts one unit square: the far edges lie beyond the
    // pixel released on, as right and bottom edges do.
    EXPECT_EQ(created.Rect, (TRect{250, 250, 401, 351}));
    EXPECT_TRUE(created.Visible());
    EXPECT_TRUE(created.Selected());
    EXPECT_EQ(site.Cursor(), crDefault);
    EXPECT_FALSE(other.Selected());
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "追加");
    ActionList().Undo();
    EXPECT_EQ(site.ObjectCount(), 1u);
}

TEST_F(Creation, APressOnAnObjectWhileACreationWaitsStartsTheCreation)
{
    TGhostShape& other = Add<TGhostShape>(TRect{300, 300, 400, 400});
    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostShape"));
    Drag({350, 350}, {450, 420});
    EXPECT_EQ(other.Rect, (TRect{300, 300, 400, 400})) << "the object below is not moved";
    EXPECT_FALSE(other.Selected());
    ASSERT_EQ(site.ObjectCount(), 2u);
    EXPECT_EQ(static_cast<TGhostShape&>(site.Objects(1)).Rect, (TRect{350, 350, 451, 421}));
    EXPECT_EQ(ActionList().Count(), 1u);
}

TEST_F(Creation, ACreationThatNeverMovedOrWasCancelledFreesTheObject)
{
    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostShape"));
    Click({250, 250});
    EXPECT_EQ(site.ObjectCount(), 0u);
    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostShape"));
    GhostList().Cancel();
    EXPECT_EQ(site.ObjectCount(), 0u);
    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostShape"));
    EXPECT_EQ(site.Cursor(), crCross);
    site.KeyDown({kKeyEscape, 0});
    EXPECT_EQ(site.ObjectCount(), 0u);
    EXPECT_TRUE(GhostList().Empty());
    EXPECT_EQ(site.Cursor(), crDefault);
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(Creation, LinesAndCurvesAreDrawnFromTheirStartPoint)
{
    SetSnapHook(gridOf50);
    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostLine"));
    Drag({103, 96}, {240, 180});
    auto& line = static_cast<TGhostLine&>(site.Objects(0));
    // The end moves with the pointer from the snapped start and snaps
    // where it is near a target.
    EXPECT_EQ(line.Start, (TPoint{100, 100}));
    EXPECT_EQ(line.End, (TPoint{237, 184}));
    EXPECT_TRUE(line.Selected());

    ASSERT_TRUE(DesignerList().CreateObject(site, "TGhostCurve"));
    Drag({303, 296}, {500, 300});
    auto& curve = static_cast<TGhostCurve&>(site.Objects(1));
    EXPECT_EQ(curve.Start, (TPoint{300, 300}));
    EXPECT_EQ(curve.End, (TPoint{500, 300}));
    EXPECT_EQ(curve.Middle, (TPoint{400, 300}));
    EXPECT_EQ(curve.OpenEdits, 0);
    EXPECT_EQ(ActionList().UndoCaption(), "追加");
}

// --- curves ----------------------------------------------------------------------------

TEST_F(Ghosts, MovingACurveEndStretchesItEvenlyOrRefitsWithShift)
{
    TGhostCurve& curve = Add<TGhostCurve>(TPoint{100, 300}, TPoint{200, 250}, TPoint{300, 300});
    SelectOnly(curve);
    Drag({100, 300}, {80, 310});
    // Along the chord the other end goes the other way, across it the same.
    EXPECT_EQ(curve.Start, (TPoint{80, 310}));
    EXPECT_EQ(curve.End, (TPoint{320, 310}));
    EXPECT_EQ(curve.Middle, (TPoint{200, 250}));
    EXPECT_EQ(curve.OpenEdits, 0);
    EXPECT_EQ(ActionList().UndoCaption(), "移動・サイズ変更");

    SelectOnly(curve);
    Drag({320, 310}, {330, 330}, ssShift);
    EXPECT_EQ(curve.Start, (TPoint{80, 310}));
    EXPECT_EQ(curve.End, (TPoint{330, 330}));
    EXPECT_EQ(curve.Middle, (TPoint{200, 250}));
}

TEST_F(Ghosts, BendingACurveIsLimitedByTheSite)
{
    TGhostCurve& curve = Add<TGhostCurve>(TPoint{100, 300}, TPoint{200, 300}, TPoint{300, 300});
    SelectOnly(curve);
    Drag({200, 300}, {200, 260});
    EXPECT_EQ(curve.Middle, (TPoint{200, 260}));
    SelectOnly(curve);
    // Further than the site's smaller side (800) from the chord.
    Drag({200, 260}, {200, 260 + 2000});
    EXPECT_EQ(curve.Middle, BulgeMiddlePoint({100, 300}, {300, 300}, SignedSagitta({100, 300}, {200, 2260}, {300, 300}) > 0 ? 800 : -800));
}

TEST_F(Ghosts, InCircularModeTheMiddleWrapsTheCurveAroundTheCentre)
{
    MoveSettings().CircumMove = true;
    // Straight, 200 long, centred on (500, 200): 200 above the centre.
    TGhostCurve& curve = Add<TGhostCurve>(TPoint{400, 200}, TPoint{500, 200}, TPoint{600, 200});
    SelectOnly(curve);
    Drag({500, 200}, {500, 100});
    // Onto the circle of radius 300: the ends lie on it, the length kept.
    EXPECT_EQ(curve.Middle, (TPoint{500, 100}));
    for (const TPoint end : {curve.Start, curve.End})
        EXPECT_NEAR(PointDistance(end, {500, 400}), 300, 1.5);
    const long double span = std::abs(AngleBetween(PointAngle(curve.Start, {500, 400}), PointAngle(curve.End, {500, 400})));
    EXPECT_NEAR(span * 3.14159265L / 180 * 300, 200, 2);
}

// --- the outline list --------------------------------------------------------------------

TEST_F(Ghosts, OutlinesAreDrawnInXorSoThatDrawingAgainErases)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    screen.ClearCalls();
    Press({150, 125});
    ASSERT_EQ(screen.CallTexts(), (std::vector<std::string>{"Rectangle(100,100,200,150)"}));
    EXPECT_EQ(screen.Calls()[0].Pen.Mode, R2_XORPEN);
    EXPECT_EQ(screen.Calls()[0].Pen.Style, TPenStyle::psDot);
    screen.ClearCalls();
    Move({160, 125});
    EXPECT_EQ(screen.CallTexts(),
              (std::vector<std::string>{"Rectangle(100,100,200,150)", "Rectangle(110,100,210,150)"}));
    screen.ClearCalls();
    Release({160, 125});
    EXPECT_EQ(screen.CallTexts(), (std::vector<std::string>{"Rectangle(110,100,210,150)"}));
}

TEST_F(Ghosts, EscapeCancelsTheDragAndChangesNothing)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    SelectOnly(shape);
    Press({200, 150});
    Move({260, 190});
    site.KeyDown({kKeyEscape, 0});
    EXPECT_FALSE(GhostList().Active());
    EXPECT_TRUE(GhostList().Empty());
    Release({260, 190});
    EXPECT_EQ(shape.Rect, (TRect{100, 100, 200, 150}));
    EXPECT_EQ(ActionList().Count(), 0u);
    EXPECT_EQ(cleared, 1);
}

TEST_F(Ghosts, AnObjectFreedDuringItsDragIsLeftAlone)
{
    TGhostShape& shape = Add<TGhostShape>(TRect{100, 100, 200, 150});
    Add<TGhostShape>(TRect{300, 100, 400, 150});
    SelectOnly(shape);
    Press({150, 125});
    Move({170, 125});
    site.RemoveObject(shape).reset();
    Move({190, 125});
    Release({190, 125});
    EXPECT_EQ(site.ObjectCount(), 1u);
    EXPECT_EQ(ActionList().Count(), 0u);
    EXPECT_TRUE(GhostList().Empty());
}

TEST_F(Ghosts, TheRubberBandStopsAtTheSiteEdge)
{
    TSelectGhost band;
    band.Start(site, site.LogicalClientRect(), {900, 700}, 0);
    band.Move({500, 500}, 0);
    EXPECT_EQ(band.Band(), (TRect{900, 700, 1000, 800}));
    GhostList().Add(std::make_unique<TSelectGhost>());
    EXPECT_TRUE(GhostList().IsRubberBand());
}

}  // namespace
}  // namespace orvella::test
