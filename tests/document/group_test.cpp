// Groups of label objects, grouping and ungrouping on a site with undo, and
// the print flag commands.

#include "formats/component_stream.h"
#include "document/do_group.h"
#include "document/document_classes.h"
#include "document/print_flag_actions.h"
#include "drawing/action_list.h"
#include "drawing/designer.h"
#include "drawing/do_actions.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "label_test_objects.h"

#include <gtest/gtest.h>

#include <string>

namespace orvella::test {
namespace {

class GroupTest : public ::testing::Test {
protected:
    GroupTest()
    {
        RegisterLabelTestClasses();
        RegisterDocumentClasses();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(800);
        ActionList().Clear();
    }
    ~GroupTest() override { ActionList().Clear(); }

    // One rectangle per letter, bottom first, 50 wide and 60 apart.
    void Rects(const std::string& names)
    {
        int32_t left = 10;
        for (char name : names) {
            auto& rect = site.InsertOwnedObject(std::make_unique<TLOTestRect>());
            static_cast<TLOTestRect&>(rect).SetBoundsRect({left, 10, left + 50, 60});
            rect.SetName(std::string(1, name));
            site.AddObject(rect);
            left += 60;
        }
    }
    TDrawObject& Named(char name)
    {
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            if (site.Objects(i).Name() == std::string(1, name))
                return site.Objects(i);
        throw std::runtime_error(std::string("no object ") + name);
    }
    // Bottom to top; a group shows as '*'.
    std::string Names() const
    {
        std::string names;
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            names += site.Objects(i).Name().empty() ? std::string("*") : site.Objects(i).Name();
        return names;
    }
    std::string SelectedNames() const
    {
        std::string names;
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            if (site.Objects(i).Selected())
                names += site.Objects(i).Name().empty() ? std::string("*") : site.Objects(i).Name();
        return names;
    }
    void Select(const std::string& names)
    {
        site.SetAllSelected(false);
        for (char name : names)
            Named(name).SetSelected(true);
    }
    void UndoOnce()
    {
        site.SetAllSelected(false);
        ActionList().Undo();
    }

    TDrawSite site;
};

TEST_F(GroupTest, GroupingTwoThenUndoingTwiceRestoresThem)
{
    Rects("XABY");
    Select("AB");
    TDOGroup* group = GroupSelected(site);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(Names(), "XY*");
    EXPECT_EQ(SelectedNames(), "*");
    ASSERT_EQ(group->MemberCount(), 2u);
    EXPECT_EQ(group->Members(0).Name(), "A") << "members keep the order of the originals";
    EXPECT_EQ(group->Members(1).Name(), "B");
    EXPECT_EQ(group->GetLogicalBounds(), (TRect{70, 10, 180, 60}));
    EXPECT_EQ(group->Cursor(), crHandPoint);
    ASSERT_EQ(ActionList().Count(), 2u);
    EXPECT_EQ(ActionList().UndoCaption(), "クリア");

    UndoOnce();
    EXPECT_EQ(Names(), "XABY*");
    EXPECT_EQ(SelectedNames(), "AB");
    UndoOnce();
    EXPECT_EQ(Names(), "XABY");
    EXPECT_FALSE(ActionList().CanUndo());

    ActionList().Redo();
    ActionList().Redo();
    EXPECT_EQ(Names(), "XY*");
}

TEST_F(GroupTest, TheProgramsCreatorMakesARegisteredClassByCommand)
{
    EXPECT_TRUE(DesignerList().Contains(LabelObjectCreator()));
    ASSERT_TRUE(DesignerList().CreateObject(site, "TDOGroup"));
    ASSERT_EQ(site.ObjectCount(), 1u);
    EXPECT_NE(dynamic_cast<TDOGroup*>(&site.Objects(0)), nullptr);
}

TEST_F(GroupTest, OneSelectedObjectCannotBeGrouped)
{
    Rects("AB");
    Select("A");
    EXPECT_EQ(GroupSelected(site), nullptr);
    EXPECT_EQ(Names(), "AB");
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(GroupTest, UngroupPutsTheMembersBackAndUndoBringsTheGroupBack)
{
    Rects("AB");
    Select("AB");
    GroupSelected(site);
    ActionList().Clear();
    EXPECT_EQ(UngroupSelected(site), 1);
    EXPECT_EQ(Names(), "AB");
    EXPECT_EQ(SelectedNames(), "AB");
    while (ActionList().CanUndo())
        UndoOnce();
    EXPECT_EQ(Names(), "*");
}

TEST_F(GroupTest, MovesResizesAndHitsThroughItsMembers)
{
    Rects("AB");
    Select("AB");
    TDOGroup& group = *GroupSelected(site);
    group.MoveBy(100, 0);
    EXPECT_EQ(group.GetLogicalBounds(), (TRect{110, 10, 220, 60}));
    EXPECT_TRUE(group.HitTest({120, 20}));
    EXPECT_FALSE(group.HitTest({165, 20})) << "the gap between the members";
    group.SetExtent(220, 100);
    EXPECT_EQ(group.GetLogicalBounds(), (TRect{110, 10, 330, 110}));
    EXPECT_EQ(static_cast<TLOTestRect&>(group.Members(1)).Rect(), (TRect{230, 10, 330, 110}));
}

TEST_F(GroupTest, ChangeOfAGroupIsUndoneThroughItsCopy)
{
    Rects("AB");
    Select("AB");
    TDOGroup& group = *GroupSelected(site);
    ActionList().Clear();
    auto step = std::make_unique<TDOChangeAction>(group);
    group.MoveBy(0, 200);
    RecordChange(std::move(step));
    ASSERT_EQ(ActionList().Count(), 1u);
    UndoOnce();
    EXPECT_EQ(group.GetLogicalBounds(), (TRect{10, 10, 120, 60}));
    ActionList().Redo();
    EXPECT_EQ(group.GetLogicalBounds(), (TRect{10, 210, 120, 260}));
}

TEST_F(GroupTest, StoredGroupReadsBackWithItsMembers)
{
    Rects("AB");
    Select("AB");
    TDOGroup& group = *GroupSelected(site);
    group.SetDontPrint(true);
    const std::string bytes = WriteComponent(group);
    const std::unique_ptr<TComponent> read = ReadComponent(bytes);
    auto* copy = dynamic_cast<TDOGroup*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->DontPrint());
    ASSERT_EQ(copy->MemberCount(), 2u);
    EXPECT_EQ(copy->ComponentCount(), 0u) << "members belong to the group, not to its components";
    EXPECT_EQ(copy->Members(1).Name(), "B");
    EXPECT_EQ(copy->GetLogicalBounds(), group.GetLogicalBounds());
}

TEST_F(GroupTest, PrintFlagCommandsChangeOnlyWhatDiffers)
{
    Rects("AB");
    static_cast<TLabelObject&>(Named('B')).SetDontPrint(true);
    Select("AB");
    TDSADontPrint dontPrint;
    TDSADoPrint doPrint;
    dontPrint.ExecuteOn(site);
    EXPECT_TRUE(static_cast<TLabelObject&>(Named('A')).DontPrint());
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "設定変更");
    EXPECT_FALSE(dontPrint.CanExecute(site)) << "both are left out of printing now";
    UndoOnce();
    EXPECT_FALSE(static_cast<TLabelObject&>(Named('A')).DontPrint());
    EXPECT_TRUE(static_cast<TLabelObject&>(Named('B')).DontPrint());
    Select("A");
    EXPECT_FALSE(doPrint.CanExecute(site));
}

}  // namespace
}  // namespace orvella::test
