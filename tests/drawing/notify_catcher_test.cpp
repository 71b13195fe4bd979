// The catcher gathers the selection changes of one user action and reports
// them at the next idle moment.

#include "drawing/ds_notify_catcher.h"
#include "site_fixture.h"
#include "support/idle_moments.h"

#include <memory>

namespace orvella::test {
namespace {

class CatcherTest : public SiteTest {
protected:
    CatcherTest()
    {
        for (int i = 0; i < 10; ++i)
            Box({i * 20, 0, i * 20 + 10, 10});
        catcher.OnSelectChanged = [this](TDSNotifyCatcher&) { ++selectReports; };
        catcher.OnMovableChanged = [this](TDSNotifyCatcher&) { ++movableReports; };
    }
    void SelectEachInTurn()
    {
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            site.Objects(i).SetSelected(true);
    }

    TDSNotifyCatcher catcher;
    int selectReports = 0;
    int movableReports = 0;
};

TEST_F(CatcherTest, TenSelectionChangesReportOnceWhenIdle)
{
    catcher.SetDrawSite(&site);
    SelectEachInTurn();
    site.Objects(0).SetMovable(false);
    EXPECT_EQ(selectReports, 0);
    ASSERT_TRUE(RunIdleMoments());
    EXPECT_EQ(selectReports, 1);
    EXPECT_EQ(movableReports, 1);
    ASSERT_TRUE(RunIdleMoments(3));
    EXPECT_EQ(selectReports, 1) << "nothing new, nothing reported";
}

TEST_F(CatcherTest, WithoutWaitingEveryChangeReportsAtOnce)
{
    catcher.WaitIdle = false;
    catcher.SetDrawSite(&site);
    SelectEachInTurn();
    EXPECT_EQ(selectReports, 10);
}

TEST_F(CatcherTest, ClosingSiteDetachesTheCatcher)
{
    auto other = std::make_unique<TDrawSite>();
    int attached = 0;
    int detached = 0;
    catcher.OnDrawSiteAttached = [&](TDSNotifyCatcher&) { ++attached; };
    catcher.OnDrawSiteDetached = [&](TDSNotifyCatcher&) { ++detached; };
    catcher.SetDrawSite(other.get());
    SelectEachInTurn();  // on the fixture's site: not heard
    other.reset();
    EXPECT_EQ(catcher.DrawSite(), nullptr);
    EXPECT_EQ(attached, 1);
    EXPECT_EQ(detached, 1);
    ASSERT_TRUE(RunIdleMoments(2));
    EXPECT_EQ(selectReports, 0);
}

TEST(CatcherLifetime, PendingReportDiesWithTheCatcher)
{
    RegisterTestClasses();
    TDrawSite site;
    int reports = 0;
    auto catcher = std::make_unique<TDSNotifyCatcher>();
    catcher->OnSelectChanged = [&](TDSNotifyCatcher&) { ++reports; };
    catcher->SetDrawSite(&site);
    auto box = std::make_unique<TTestBox>(TRect{0, 0, 10, 10});
    site.InsertObject(*box);
    box->SetSelected(true);
    catcher.reset();
    ASSERT_TRUE(RunIdleMoments(2));
    EXPECT_EQ(reports, 0);
}

}  // namespace
}  // namespace orvella::test
