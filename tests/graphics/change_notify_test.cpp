#include "graphics/change_notify.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orvella {
namespace {

TEST(Guid, ParsesAndPrintsTheCanonicalForm)
{
    EXPECT_EQ(GuidToString(SelectionChanged), "{B423E361-44C6-11D3-AD13-00500463098A}");
    EXPECT_EQ(GuidToString(NotifierClosing), "{FF0E0940-2D29-11D3-ACCC-00500463098A}");
    EXPECT_FALSE(MovableChanged == DontPrintChanged);
}

struct Heard {
    std::vector<std::string> log;
    TListener::THandler Record(const std::string& who)
    {
        return [this, who](TPersistent*, const TGuid& kind) { log.push_back(who + GuidToString(kind).substr(0, 9)); };
    }
};

TEST(ChangeNotify, NestedUpdatesReportOnceAtTheOutermostEnd)
{
    TChangeNotify notify;
    Heard heard;
    TListener listener(heard.Record("L"));
    listener.Listen(notify);
    int ownerCalls = 0;
    notify.OnChanged = [&] {
        ++ownerCalls;
        // The broadcast came first.
        EXPECT_EQ(heard.log.size(), 1u);
    };

    notify.BeginUpdate();
    notify.BeginUpdate();
    notify.Changed();
    notify.Changed();
    notify.EndUpdate();
    EXPECT_TRUE(heard.log.empty());
    notify.Changed();
    notify.EndUpdate();
    EXPECT_EQ(heard.log, std::vector<std::string>{"L{1153AE63"});
    EXPECT_EQ(ownerCalls, 1);

    // An update without a change says nothing; an extra EndUpdate is harmless.
    notify.BeginUpdate();
    notify.EndUpdate();
    notify.EndUpdate();
    EXPECT_EQ(heard.log.size(), 1u);
    EXPECT_EQ(notify.UpdateCount(), 0);
}

TEST(ChangeNotify, ListenersHearInSubscriptionOrderAndOnlyOnce)
{
    TBroadcaster notify;
    Heard heard;
    TListener a(heard.Record("A")), b(heard.Record("B"));
    b.Listen(notify);
    a.Listen(notify);
    a.Listen(notify);
    notify.Broadcast(MovableChanged);
    EXPECT_EQ(heard.log, (std::vector<std::string>{"B{B45F6E91", "A{B45F6E91"}));
}

TEST(ChangeNotify, BroadcastRunsOverTheListenersOfItsStart)
{
    TBroadcaster notify;
    Heard heard;
    TListener late(heard.Record("late"));
    auto leaving = std::make_unique<TListener>(heard.Record("leaving"));
    auto dying = std::make_unique<TListener>(heard.Record("dying"));
    TListener first([&](TPersistent*, const TGuid&) {
        heard.log.push_back("first");
        leaving->Unlisten(notify);  // leaves before its turn
        dying.reset();              // destroyed before its turn
        late.Listen(notify);        // joins for the next round
    });
    first.Listen(notify);
    leaving->Listen(notify);
    dying->Listen(notify);

    notify.Broadcast(SelectionChanged);
    EXPECT_EQ(heard.log, std::vector<std::string>{"first"});

    heard.log.clear();
    notify.Broadcast(SelectionChanged);
    EXPECT_EQ(heard.log, (std::vector<std::string>{"first", "late{B423E361"}));
}

TEST(ChangeNotify, ABroadcasterDestroyedByItsListenerEndsTheRound)
{
    auto notify = std::make_unique<TChangeNotify>();
    Heard heard;
    TListener killer([&](TPersistent*, const TGuid& kind) {
        if (kind == ObjectChanged)
            notify.reset();
    });
    TListener after(heard.Record("after"));
    killer.Listen(*notify);
    after.Listen(*notify);
    bool ownerCalled = false;
    notify->OnChanged = [&] { ownerCalled = true; };

    notify->Changed();
    EXPECT_EQ(notify, nullptr);
    // Only the closing notice reached the second listener, and the owner
    // callback of the destroyed notifier did not run.
    EXPECT_EQ(heard.log, std::vector<std::string>{"after{FF0E0940"});
    EXPECT_FALSE(ownerCalled);
}

TEST(ChangeNotify, EitherSideGoingFirstLeavesNoDanglingSubscription)
{
    Heard heard;
    TListener listener(heard.Record("L"));
    {
        TBroadcaster notify;
        listener.Listen(notify);
        EXPECT_TRUE(listener.IsListening(notify));
    }
    EXPECT_EQ(heard.log, std::vector<std::string>{"L{FF0E0940"});

    TBroadcaster notify;
    {
        TListener shortLived(heard.Record("S"));
        shortLived.Listen(notify);
        EXPECT_EQ(notify.ListenerCount(), 1u);
    }
    EXPECT_EQ(notify.ListenerCount(), 0u);
    notify.Broadcast(ObjectChanged);
    EXPECT_EQ(heard.log.size(), 1u);
}

}  // namespace
}  // namespace orvella
