// Mouse scripts on a site: selection, handles, capture, outlines, cursors.

#include "site_fixture.h"

#include "drawing/do_list.h"

namespace orvella::test {
namespace {

class Selection : public SiteTest {
protected:
    Selection()
    {
        a = &Box({0, 0, 254, 254});
        b = &Box({508, 0, 762, 254});
        site.SetModified(false);
    }
    std::vector<bool> Selected() const { return {a->Selected(), b->Selected()}; }
    TTestBox* a = nullptr;
    TTestBox* b = nullptr;
};

TEST_F(Selection, APressSelectsAndShiftExtends)
{
    Click(Centre(*a));
    EXPECT_EQ(Selected(), (std::vector<bool>{true, false}));
    Click(Centre(*b));
    EXPECT_EQ(Selected(), (std::vector<bool>{false, true}));
    Click(Centre(*a), ssShift);
    EXPECT_EQ(Selected(), (std::vector<bool>{true, true}));
    // A press on the empty site without Shift clears the selection.
    Click({300, 250});
    EXPECT_EQ(Selected(), (std::vector<bool>{false, false}));
}

TEST_F(Selection, ShiftReleaseWithoutMovingDeselectsButADragKeepsAndMoves)
{
    Click(Centre(*a));
    Click(Centre(*b), ssShift);
    Click(Centre(*a), ssShift);
    EXPECT_EQ(Selected(), (std::vector<bool>{false, true}));

    Click(Centre(*a), ssShift);
    const TPoint from = Centre(*a);
    Press(from, ssShift);
    EXPECT_TRUE(site.MouseCaptured());
    Move({from.x + 20, from.y + 30}, ssShift);
    Release({from.x + 20, from.y + 30}, ssShift);
    EXPECT_FALSE(site.MouseCaptured());
    EXPECT_EQ(Selected(), (std::vector<bool>{true, true}));
    // Both selected objects moved by the same offset: 20 x 30 pixels are
    // 53 x 79 units.
    EXPECT_EQ(a->Box, (TRect{53, 79, 307, 333}));
    EXPECT_EQ(b->Box, (TRect{561, 79, 815, 333}));
    EXPECT_TRUE(site.Modified());
}

TEST_F(Selection, HandlesFollowTheSelectionAndActOnTheirOwner)
{
    Click(Centre(*a));
    ASSERT_EQ(site.HandleCount(), 4u);
    EXPECT_EQ(site.Handles(2).Cursor, crSizeNWSE);
    EXPECT_EQ(site.Handles(2).Bounds, (TRect{93, 93, 99, 99}));  // centred on the corner (96, 96)

    // One object selected: a press on its handle passes the handle's index.
    Press({96, 96});
    EXPECT_EQ(a->LastDragIndex, 2);
    Release({96, 96});

    // Several selected: handles lose their sizing cursors and a press on one
    // moves every selected movable object (index -1).
    Click(Centre(*b), ssShift);
    ASSERT_EQ(site.HandleCount(), 8u);
    for (std::size_t i = 0; i < site.HandleCount(); ++i)
        EXPECT_EQ(site.Handles(i).Cursor, crDefault);
    b->SetMovable(false);
    b->LastDragIndex = -100;
    Press({96, 96});
    EXPECT_EQ(a->LastDragIndex, -1);
    EXPECT_EQ(b->LastDragIndex, -100);
    Release({96, 96});
}

TEST_F(Selection, ShiftWithAnotherButtonLeavesNoShiftClickBehind)
{
    Click(Centre(*a));
    Click(Centre(*b), ssShift);
    Press(Centre(*a), ssShift, TMouseButton::mbRight);
    Release(Centre(*a), ssShift, TMouseButton::mbRight);
    // A plain click on the other selected object keeps the selection.
    Click(Centre(*b));
    EXPECT_EQ(Selected(), (std::vector<bool>{true, true}));
}

TEST_F(Selection, HandlesTakeNoPressWhileOutlinesArePending)
{
    Click(Centre(*a));
    ASSERT_EQ(site.HandleCount(), 4u);
    a->LastDragIndex = -100;
    // An outline waiting for the press, as a creation by dragging leaves one.
    GhostList().Add(std::make_unique<TMoveGhost>(*b));
    EXPECT_EQ(site.CursorAt({96, 96}), crDefault) << "the handle shows no sizing cursor either";
    Press({96, 96});  // on handle 2
    EXPECT_EQ(a->LastDragIndex, -100) << "the handle added no resize outline";
    EXPECT_TRUE(GhostList().Active());
    Release({96, 96});
}

TEST_F(Selection, ADragKeepsTheCursorItBeganWith)
{
    Click(Centre(*a));
    std::vector<TCursor> shown;
    site.Host.SetCursor = [&](TCursor cursor) { shown.push_back(cursor); };
    Press({96, 96});  // handle 2: NW-SE sizing
    Move({300, 250});  // over nothing
    Move({240, 40});   // over b
    Release({240, 40});
    EXPECT_EQ(shown, (std::vector<TCursor>{crSizeNWSE, crSizeNWSE}));

    // A move shows the site's move cursor once something moved.
    site.SetMoveCursor(crDrag);
    shown.clear();
    Press(Centre(*b));
    Move({300, 250});
    Release({300, 250});
    EXPECT_EQ(shown, (std::vector<TCursor>{crDrag}));
}

TEST_F(Selection, TheRubberBandStopsAtTheSitesEdge)
{
    TTestBox& inside = Box({700, 300, 900, 400});
    TTestBox& across = Box({800, 500, 1100, 600});  // reaches past the right edge (1000)
    Press({250, 100});
    Move({600, 300});
    Release({600, 300});
    EXPECT_TRUE(inside.Selected());
    EXPECT_FALSE(across.Selected()) << "the band cannot reach beyond the site";
}

TEST_F(Selection, TheRubberBandSelectsWhatLiesWhollyInside)
{
    TTestBox& c = Box({0, 400, 254, 654});
    Press({-1, -1});
    Move({200, 100});
    Release({200, 100});
    EXPECT_EQ(Selected(), (std::vector<bool>{true, false}));
    EXPECT_FALSE(c.Selected());

    // Shift keeps what was selected; the band ends on the last pixel of c,
    // so c lies inside only when the far edge counts.
    Press({-1, 140}, ssShift);
    Release({96, 248}, ssShift);
    EXPECT_TRUE(a->Selected());
    EXPECT_TRUE(c.Selected());

    // Another button on the empty site deselects everything.
    Press({300, 250}, 0, TMouseButton::mbRight);
    Release({300, 250}, 0, TMouseButton::mbRight);
    EXPECT_EQ(Selected(), (std::vector<bool>{false, false}));
}

TEST_F(Selection, ACancelledDragMovesNothing)
{
    int cleared = 0;
    site.OnClearGhost = [&](TDrawSite&) { ++cleared; };
    const TPoint from = Centre(*a);
    Press(from);
    Move({from.x + 40, from.y});
    site.CancelMode();
    EXPECT_FALSE(site.MouseCaptured());
    EXPECT_FALSE(GhostList().Active());
    Release({from.x + 40, from.y});
    EXPECT_EQ(a->Box, (TRect{0, 0, 254, 254}));
    EXPECT_EQ(cleared, 1);
}

TEST_F(Selection, ModifierKeysReachTheOutlinesAtOnce)
{
    struct KeyGhost : TGhost {
        std::vector<TShiftState>* seen;
        explicit KeyGhost(std::vector<TShiftState>* s) : seen(s) {}
        void Move(TPoint, TShiftState shift) override { seen->push_back(shift & kModifierKeys); }
        void Draw(TCanvas&) override {}
        void Apply(TShiftState) override {}
    };
    std::vector<TShiftState> seen;
    GhostList().Add(std::make_unique<KeyGhost>(&seen));
    const TPoint from = Centre(*a);
    Press(from);
    Move({from.x + 5, from.y});
    site.KeyDown({0, ssCtrl | ssLeft});
    site.KeyDown({0, ssCtrl | ssLeft});  // nothing new
    site.KeyUp({0, ssLeft});
    Release({from.x + 5, from.y});
    EXPECT_EQ(seen, (std::vector<TShiftState>{0, ssCtrl, 0}));
}

TEST_F(Selection, CursorsComeFromHandlesObjectsOrTheSite)
{
    a->SetCursor(crSizeAll);
    site.SetCursor(crCross);
    EXPECT_EQ(site.CursorAt(Centre(*a)), crSizeAll);
    EXPECT_EQ(site.CursorAt(Centre(*b)), crCross);  // the object has the default cursor
    EXPECT_EQ(site.CursorAt({300, 250}), crCross);
    Click(Centre(*a));
    EXPECT_EQ(site.CursorAt({96, 0}), crSizeNESW);

    std::vector<TCursor> shown;
    site.Host.SetCursor = [&](TCursor cursor) { shown.push_back(cursor); };
    Move(Centre(*a));
    Move({300, 250});
    EXPECT_EQ(shown, (std::vector<TCursor>{crSizeAll, crCross}));
}

TEST_F(Selection, ADisabledObjectLetsPressesAndTheCursorThroughToWhatLiesBelow)
{
    // A disabled cover over a, the way a background lies under everything.
    TTestBox& cover = Box({0, 0, 254, 254});
    cover.SetEnabled(false);
    cover.SetCursor(crHandPoint);
    site.SetCursor(crCross);
    EXPECT_EQ(site.CursorAt(Centre(*a)), crCross);
    Click(Centre(*a));
    EXPECT_FALSE(cover.Selected());
    EXPECT_TRUE(a->Selected());

    // With nothing below it, a press on it is a press on the empty site.
    a->SetVisible(false);
    Press(Centre(cover));
    EXPECT_EQ(site.PressedObject(), nullptr);
    EXPECT_TRUE(GhostList().Active()) << "the rubber band starts";
    GhostList().Cancel();
    Release(Centre(cover));
    EXPECT_FALSE(cover.Selected());
}

TEST_F(Selection, RemovingThePressedObjectEndsItsPress)
{
    Press(Centre(*a));
    EXPECT_EQ(site.PressedObject(), a);
    site.RemoveObject(*a);
    EXPECT_EQ(site.PressedObject(), nullptr);
    GhostList().Cancel();
    Release(Centre(*b));
    TDOList selected;
    site.GetObjects(selected, true);
    EXPECT_EQ(selected.Count(), 0u);
}

}  // namespace
}  // namespace orvella::test
