// The edit commands on a site, undone and redone through the Undo and Redo
// commands as the user would.

#include "drawing/designer.h"
#include "drawing/do_actions.h"
#include "drawing/draw_site_action_edit.h"
#include "drawing/draw_site_action_object.h"
#include "drawing/ds_operation.h"
#include "support/thrown.h"
#include "undo_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <functional>
#include <memory>

namespace orvella::test {
namespace {

struct CommandScenario {
    const char* name;
    std::function<std::unique_ptr<TDrawSiteActionBase>()> command;
    const char* order;     // before, bottom to top
    const char* selected;
    const char* after;     // after the command
    const char* undoCaption;
};

void PrintTo(const CommandScenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

class CommandThenUndo : public UndoTest, public ::testing::WithParamInterface<CommandScenario> {};

TEST_P(CommandThenUndo, UndoRestoresOrderAndSelectionRedoRepeats)
{
    const CommandScenario& scenario = GetParam();
    Boxes(scenario.order);
    Select(scenario.selected);
    const std::unique_ptr<TDrawSiteActionBase> command = scenario.command();
    TDSAUndo undo;
    TDSARedo redo;
    for (TDrawSiteActionBase* action : {command.get(), static_cast<TDrawSiteActionBase*>(&undo),
                                        static_cast<TDrawSiteActionBase*>(&redo)})
        action->SetDrawSite(&site);

    command->ExecuteOn(site);
    EXPECT_EQ(Names(), scenario.after);
    ASSERT_EQ(ActionList().Count(), 1u) << "one step for the whole command";
    EXPECT_EQ(ActionList().UndoCaption(), scenario.undoCaption);

    undo.Update();
    EXPECT_TRUE(undo.isEnabled());
    EXPECT_EQ(undo.text().toStdString(), std::string(scenario.undoCaption) + "の取り消し(&U)");
    undo.ExecuteOn(site);
    EXPECT_EQ(Names(), scenario.order);
    EXPECT_EQ(SelectedNames(), scenario.selected);

    redo.Update();
    EXPECT_EQ(redo.text().toStdString(), std::string(scenario.undoCaption) + "のやり直し(&R)");
    redo.ExecuteOn(site);
    EXPECT_EQ(Names(), scenario.after);
    undo.ExecuteOn(site);
    EXPECT_EQ(Names(), scenario.order);
}

template <class Command>
std::function<std::unique_ptr<TDrawSiteActionBase>()> Make()
{
    return [] { return std::make_unique<Command>(); };
}

INSTANTIATE_TEST_SUITE_P(Scenarios, CommandThenUndo, ::testing::Values(
    CommandScenario{"CutTwoFromTheMiddle", Make<TDSACut>(), "XABY", "AB", "XY", "切り取り"},
    CommandScenario{"CutAroundAnother", Make<TDSACut>(), "XABY", "XB", "AY", "切り取り"},
    CommandScenario{"ClearTopAndBottom", Make<TDSAClear>(), "XABY", "XY", "AB", "クリア"},
    CommandScenario{"BringThreeToFront", Make<TDSABringToFront>(), "XABYZ", "XAB", "YZXAB", "最前面"},
    CommandScenario{"SendTwoToBack", Make<TDSASendToBack>(), "XABY", "BY", "BYXA", "最背面"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UndoTest, LayerGroupsStayApartWhenOrderIsRestored)
{
    Boxes("AB");
    TTestBox& top = Box({0, 0, 10, 10}, 1);
    top.SetName("T");
    Select("A");
    TDSABringToFront front;
    front.ExecuteOn(site);
    EXPECT_EQ(Names(), "BAT");
    ActionList().Undo();
    EXPECT_EQ(Names(), "ABT");
}

TEST_F(UndoTest, LockRecordsOnlyRealChanges)
{
    Boxes("AB");
    Named('A').SetMovable(false);
    Select("A");
    TDSALock lock;
    EXPECT_FALSE(lock.CanExecute(site)) << "nothing left to lock";
    lock.ExecuteOn(site);
    EXPECT_EQ(ActionList().Count(), 0u);

    Select("AB");
    lock.ExecuteOn(site);
    EXPECT_FALSE(Named('B').Movable());
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "オブジェクト固定");
    ActionList().Undo();
    EXPECT_TRUE(Named('B').Movable());
    EXPECT_FALSE(Named('A').Movable()) << "A was locked before and stays so";
    TDSAUnlock unlock;
    Select("B");
    EXPECT_FALSE(unlock.CanExecute(site));
}

TEST_F(UndoTest, ChangeStepKeepsBothStates)
{
    Boxes("A");
    auto& box = static_cast<TTestBox&>(Named('A'));
    Select("A");
    TDSOperation move;
    move.ActionType = TActionType::atChange;
    move.ActionString = "移動";
    move.OnEachObject = [](TDSOperation&, TDrawSite&, TDrawObject& object) {
        auto& moved = static_cast<TTestBox&>(object);
        moved.MoveBy(100, 5);
        moved.Changed();
    };
    ASSERT_TRUE(move.Execute(site));
    EXPECT_EQ(box.Box, (TRect{110, 15, 160, 65}));
    ActionList().Undo();
    EXPECT_EQ(box.Box, (TRect{10, 10, 60, 60}));
    EXPECT_TRUE(box.Selected());
    ActionList().Redo();
    EXPECT_EQ(box.Box, (TRect{110, 15, 160, 65}));
}

TEST_F(UndoTest, ChangeWithoutEffectRecordsNothing)
{
    Boxes("A");
    RecordChange(std::make_unique<TDOChangeAction>(Named('A')));
    EXPECT_EQ(ActionList().Count(), 0u);
    auto marked = std::make_unique<TDOChangeAction>(Named('A'));
    marked->MarkChanged();
    RecordChange(std::move(marked));
    EXPECT_EQ(ActionList().Count(), 1u);
}

TEST_F(UndoTest, FailingWorkDropsItsStepAndClosesTheGroup)
{
    Boxes("AB");
    Select("AB");
    TDSOperation failing;
    failing.ActionType = TActionType::atChange;
    failing.ActionString = "設定変更";
    failing.OnEachObject = [](TDSOperation&, TDrawSite&, TDrawObject& object) {
        object.Changed();
        if (object.Name() == "B")
            throw std::runtime_error("work failed");
    };
    EXPECT_THROW(failing.Execute(site), std::runtime_error);
    EXPECT_EQ(ActionList().GroupLevel(), 0);
    ASSERT_EQ(ActionList().Count(), 1u) << "the step of A stays, the one of B is gone";
    EXPECT_EQ(ActionList().Steps(0).Caption(), "設定変更");
}

TEST_F(UndoTest, StepsForgetDestroyedObjects)
{
    auto loose = std::make_unique<TTestBox>(TRect{0, 0, 10, 10});
    site.InsertObject(*loose);
    site.AddObject(*loose);
    auto change = std::make_unique<TDOChangeAction>(*loose);
    change->MarkChanged();
    RecordChange(std::move(change));
    ActionList().Add(std::make_unique<TDOLayerAction>(site));
    loose.reset();
    ActionList().Undo();
    ActionList().Undo();
    ActionList().Redo();
    EXPECT_EQ(site.ObjectCount(), 0u);
}

TEST_F(UndoTest, CutWhileNotRecordingStillRemoves)
{
    Boxes("XAB");
    Select("AB");
    ActionList().Recording = false;
    TDSACut cut;
    cut.ExecuteOn(site);
    EXPECT_EQ(Names(), "X");
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(UndoTest, OldestDeleteStepFreesItsObject)
{
    Boxes("ABCDEFGHIJK");
    TDSAClear clear;
    for (char name : std::string("ABCDEFGHIJK")) {
        Select(std::string(1, name));
        clear.ExecuteOn(site);
    }
    EXPECT_EQ(site.ObjectCount(), 0u);
    int undone = 0;
    while (ActionList().CanUndo()) {
        ActionList().Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 10);
    EXPECT_EQ(Names(), "BCDEFGHIJK");
}

TEST_F(UndoTest, SelectAllSkipsWhatCannotBeSelected)
{
    Boxes("ABC");
    Named('B').SetSelectable(false);
    TDSASelectAll all;
    all.ExecuteOn(site);
    EXPECT_EQ(SelectedNames(), "AC");
    EXPECT_EQ(ActionList().Count(), 0u);
}

// --- clipboard ------------------------------------------------------------------------

class ClipboardTest : public UndoTest {
protected:
    ~ClipboardTest() override
    {
        if (creator_)
            DesignerList().Unregister(*creator_);
    }
    // A creator that makes boxes for "TLOTextPaste" and remembers the text.
    void RegisterTextPaste()
    {
        creator_ = std::make_shared<TLOCreator>();
        TCreationCommand command;
        command.InstanceName = "TTestBox";
        command.PlaceByDragging = false;
        command.Prepare = [this](TDrawObject& object, TDrawSite&) {
            pastedText = QGuiApplication::clipboard()->text().toStdString();
            static_cast<TTestBox&>(object).Box = {0, 0, 40, 20};
            object.SetName("T");
        };
        creator_->AddCommand("TLOTextPaste", command);
        DesignerList().Register(creator_);
    }

    std::string pastedText;

private:
    std::shared_ptr<TLOCreator> creator_;
};

TEST_F(ClipboardTest, CopyThenPasteAddsSelectedCopiesInsideTheSite)
{
    Boxes("AB");
    static_cast<TTestBox&>(Named('B')).Box = {2000, 10, 2050, 60};  // centre far right of the site
    Select("AB");
    TDSACopy copy;
    copy.ExecuteOn(site);
    TDSAPaste paste;
    EXPECT_TRUE(paste.CanExecute(site));
    paste.ExecuteOn(site);
    EXPECT_EQ(Names(), "ABAB");
    EXPECT_EQ(SelectedNames(), "AB") << "only the pasted copies";
    EXPECT_FALSE(Named('A').Selected());
    const auto& pastedB = static_cast<TTestBox&>(site.Objects(3));
    EXPECT_EQ(pastedB.Box.Left + pastedB.Box.Right, 2 * (1000 - 10)) << "centre kept 10 units inside";
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "貼り付け");
    ActionList().Undo();
    EXPECT_EQ(Names(), "AB");
    ActionList().Redo();
    EXPECT_EQ(Names(), "ABAB");
}

TEST_F(ClipboardTest, PlainTextBecomesATextObjectInOneAddStep)
{
    RegisterTextPaste();
    Boxes("A");
    Select("A");
    QGuiApplication::clipboard()->setText(QStringLiteral("Track 1"));
    TDSAPaste paste;
    EXPECT_TRUE(paste.CanExecute(site));
    paste.ExecuteOn(site);
    EXPECT_EQ(pastedText, "Track 1");
    EXPECT_EQ(Names(), "AT");
    EXPECT_EQ(SelectedNames(), "T");
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "追加");
    ActionList().Undo();
    EXPECT_EQ(Names(), "A");
}

TEST_F(ClipboardTest, NothingToPasteDisablesPaste)
{
    QGuiApplication::clipboard()->clear();
    TDSAPaste paste;
    paste.SetDrawSite(&site);
    paste.Update();
    EXPECT_FALSE(paste.isEnabled());
}

TEST_F(ClipboardTest, DamagedObjectDataIsRefusedWithoutChange)
{
    Boxes("A");
    TDSAPaste paste;
    auto* data = new QMimeData;
    data->setData(paste.ClipboardMime(), QByteArray("\xff\xff\xff\x7f" "TPF0", 8));
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_EQ(Thrown([&] { paste.ExecuteOn(site); }), "orvella::EReadError: ストリームからの読み込みエラー");
    EXPECT_EQ(Names(), "A");
    EXPECT_EQ(ActionList().GroupLevel(), 0);
    EXPECT_EQ(ActionList().Count(), 0u);
}

// --- text fields ------------------------------------------------------------------------

class TFakeField : public TTextEditTarget {
public:
    bool HasSelection() const override { return selection; }
    void Copy() override { log += "copy;"; }
    void Cut() override { log += "cut;"; }
    void Clear() override { log += "clear;"; }
    void Paste() override { log += "paste;"; }
    bool CanUndo() const override { return undoable; }
    void Undo() override { log += "undo;"; }

    bool selection = false;
    bool undoable = false;
    std::string log;
};

TEST_F(UndoTest, TextFieldTakesTheEditCommands)
{
    auto field = std::make_shared<TFakeField>();
    SetCommandTargetResolver([field] { return TCommandTarget{nullptr, field}; });
    Boxes("A");
    Select("A");
    TDSACopy copy;
    TDSACut cut;
    TDSAUndo undo;
    TDSARedo redo;
    TDSABringToFront front;
    copy.Update();
    EXPECT_FALSE(copy.isEnabled()) << "no selection in the field";
    field->selection = true;
    field->undoable = true;
    ActionList().Add(std::make_unique<TDOLayerAction>(site, "最前面"));
    for (TDrawSiteActionBase* action : std::initializer_list<TDrawSiteActionBase*>{&copy, &cut, &undo, &redo, &front})
        action->Update();
    EXPECT_TRUE(copy.isEnabled());
    EXPECT_TRUE(undo.isEnabled());
    EXPECT_EQ(undo.text().toStdString(), "取り消し(&U)") << "the field's undo has no step caption";
    EXPECT_FALSE(redo.isEnabled());
    EXPECT_FALSE(front.isEnabled()) << "object commands do not serve text fields";
    copy.trigger();
    cut.trigger();
    undo.trigger();
    EXPECT_EQ(field->log, "copy;cut;undo;");
    EXPECT_EQ(ActionList().CurrentIndex(), 0) << "the history was left alone";
    EXPECT_EQ(Names(), "A");
}

TEST_F(UndoTest, FocusedSiteIsTheTargetWithoutASiteOfItsOwn)
{
    SetCommandTargetResolver([this] { return TCommandTarget{&site, nullptr}; });
    Boxes("AB");
    Select("A");
    TDSABringToFront front;
    front.Update();
    EXPECT_TRUE(front.isEnabled());
    front.trigger();
    EXPECT_EQ(Names(), "BA");
    SetCommandTargetResolver({});
    front.Update();
    EXPECT_FALSE(front.isEnabled());
}

}  // namespace
}  // namespace orvella::test
