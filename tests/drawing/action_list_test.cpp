// The history on its own, with steps that only log what is done to them.

#include "drawing/action_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvella::test {
namespace {

using Log = std::vector<std::string>;

class TLogStep : public TActionBase {
public:
    TLogStep(Log& log, std::string name, uint32_t flags = afUndo | afRedo) : log_(log), name_(std::move(name))
    {
        SetFlags(flags);
        SetCaption(name_);
    }
    ~TLogStep() override { log_.push_back("free " + name_); }
    void Undo() override { log_.push_back("undo " + name_); }
    void Redo() override { log_.push_back("redo " + name_); }
    void Repeat() override { log_.push_back("repeat " + name_); }

private:
    Log& log_;
    std::string name_;
};

class History : public ::testing::Test {
protected:
    void Add(const std::string& name, uint32_t flags = TActionBase::afUndo | TActionBase::afRedo)
    {
        list.Add(std::make_unique<TLogStep>(log, name, flags));
    }
    // Everything logged since the last call.
    Log Take() { return std::exchange(log, {}); }

    Log log;
    TActionList list;
};

TEST_F(History, EmptyHistoryAnswersWithoutSteps)
{
    for (int round = 0; round < 2; ++round) {
        EXPECT_FALSE(list.CanUndo());
        EXPECT_FALSE(list.CanRedo());
        EXPECT_EQ(list.UndoCaption(), "");
        EXPECT_EQ(list.RedoCaption(), "");
        list.Undo();
        list.Redo();
        EXPECT_EQ(list.CurrentIndex(), 0);
        Add("a");
        list.Clear();
        Take();
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(History, UndoAllThenRedoWalksTheSteps)
{
    Add("a");
    Add("b");
    list.Undo();
    list.Undo();
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_FALSE(list.CanUndo());
    EXPECT_EQ(list.UndoCaption(), "");
    EXPECT_EQ(list.RedoCaption(), "a");
    list.Redo();
    list.Redo();
    EXPECT_FALSE(list.CanRedo());
    EXPECT_EQ(Take(), (Log{"undo b", "undo a", "redo a", "redo b"}));
}

TEST_F(History, EleventhStepDropsTheOldest)
{
    for (int i = 1; i <= 11; ++i)
        Add("s" + std::to_string(i));
    EXPECT_EQ(Take(), (Log{"free s1"}));
    EXPECT_EQ(list.Count(), TActionList::kLimit);
    int undone = 0;
    while (list.CanUndo()) {
        list.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 10);
    EXPECT_EQ(Take().back(), "undo s2");
}

TEST_F(History, NewStepAfterUndosDiscardsTheRedoTail)
{
    for (int i = 1; i <= 10; ++i)
        Add("s" + std::to_string(i));
    for (int i = 0; i < 10; ++i)
        list.Undo();
    Take();
    Add("new");
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(Take().size(), 10u);  // the ten undone steps were freed
    EXPECT_FALSE(list.CanRedo());
    EXPECT_EQ(list.UndoCaption(), "new");
}

TEST_F(History, GroupUndoesLastToFirstAndRedoesFirstToLast)
{
    list.BeginGroup("pair");
    Add("a");
    list.BeginGroup();
    Add("b");
    Add("c");
    list.EndGroup();
    list.EndGroup();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.UndoCaption(), "pair");
    list.Undo();
    EXPECT_EQ(Take(), (Log{"undo c", "undo b", "undo a"}));
    list.Redo();
    EXPECT_EQ(Take(), (Log{"redo a", "redo b", "redo c"}));
}

TEST_F(History, GroupTakesFlagsOfAllAndCaptionOfTheFirstStep)
{
    list.BeginGroup();
    Add("first", TActionBase::afUndo | TActionBase::afRedo);
    Add("second", TActionBase::afUndo);
    list.EndGroup();
    EXPECT_EQ(list.UndoCaption(), "first");
    EXPECT_EQ(list.Steps(0).Flags(), TActionBase::afUndo);
    list.Undo();
    EXPECT_FALSE(list.CanRedo());
}

TEST_F(History, EmptyGroupIsDroppedAndUnbalancedEndRaises)
{
    list.BeginGroup("nothing");
    list.EndGroup();
    EXPECT_EQ(list.Count(), 0u);
    try {
        list.EndGroup();
        FAIL() << "EndGroup without a group";
    } catch (const EActionList& e) {
        EXPECT_STREQ(e.what(), "group level is invalid");
    }
}

TEST_F(History, RecordingOffFreesTheStep)
{
    list.Recording = false;
    Add("a");
    EXPECT_EQ(Take(), (Log{"free a"}));
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(History, RepeatAtTheEndWhenAllowed)
{
    Add("a", TActionBase::afUndo | TActionBase::afRedo | TActionBase::afRepeat);
    EXPECT_TRUE(list.CanRedo());
    EXPECT_EQ(list.RedoCaption(), "a");
    list.Redo();
    EXPECT_EQ(Take(), (Log{"repeat a"}));
    EXPECT_EQ(list.CurrentIndex(), 0);
    list.RepeatAllowed = false;
    EXPECT_FALSE(list.CanRedo());
    EXPECT_EQ(list.RedoCaption(), "");
}

}  // namespace
}  // namespace orvella::test
