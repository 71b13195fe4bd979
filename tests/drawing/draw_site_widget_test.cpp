// The site in its window: real mouse and key events through Qt.

#include "app/draw_site_widget.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_list.h"
#include "test_objects.h"

#include <QTest>

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

class SiteWindow : public ::testing::Test {
protected:
    SiteWindow()
    {
        RegisterTestClasses();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(800);
        site.SetColor(clWhite);
        left = &add({0, 0, 254, 254}, clRed);
        right = &add({508, 0, 762, 254}, clBlue);
        window.SetSite(&site);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~SiteWindow() override { GhostList().Cancel(); }

    TTestBox& add(TRect box, TColor color)
    {
        auto& object = static_cast<TTestBox&>(site.InsertOwnedObject(std::make_unique<TTestBox>(box, 0, color)));
        site.AddObject(object);
        return object;
    }

    TDrawSite site;
    TDrawSiteWidget window;
    TTestBox* left = nullptr;
    TTestBox* right = nullptr;
};

TEST_F(SiteWindow, TakesTheSitesSizeAndPaintsIt)
{
    EXPECT_EQ(window.size(), QSize(378, 303));
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(40, 40), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(240, 40), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(200, 200), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(0, 200), QColor(Qt::black));  // the border
}

TEST_F(SiteWindow, ClicksSelectAndShiftClicksToggle)
{
    QTest::mouseClick(&window, Qt::LeftButton, {}, {40, 40});
    EXPECT_TRUE(left->Selected());
    QTest::mouseClick(&window, Qt::LeftButton, Qt::ShiftModifier, {240, 40});
    EXPECT_TRUE(left->Selected());
    EXPECT_TRUE(right->Selected());
    QTest::mouseClick(&window, Qt::LeftButton, Qt::ShiftModifier, {40, 40});
    EXPECT_FALSE(left->Selected());
    EXPECT_TRUE(right->Selected());
    EXPECT_TRUE(window.hasFocus());
}

TEST_F(SiteWindow, DraggingMovesTheSelectionAndARubberBandSelects)
{
    QTest::mousePress(&window, Qt::LeftButton, {}, {40, 40});
    QTest::mouseMove(&window, {60, 70});
    QTest::mouseRelease(&window, Qt::LeftButton, {}, {60, 70});
    EXPECT_EQ(left->Box, (TRect{53, 79, 307, 333}));
    EXPECT_TRUE(left->Selected());

    QTest::mousePress(&window, Qt::LeftButton, {}, {370, 295});
    QTest::mouseMove(&window, {150, 0});
    QTest::mouseRelease(&window, Qt::LeftButton, {}, {150, 0});
    EXPECT_FALSE(left->Selected());
    EXPECT_TRUE(right->Selected());
}

TEST_F(SiteWindow, TheCursorFollowsWhatIsUnderThePointer)
{
    left->SetCursor(crSizeAll);
    QTest::mouseMove(&window, {40, 40});
    EXPECT_EQ(window.cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(&window, {200, 200});
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SiteWindow, ASiteOutlivedByItsWindowIsLetGo)
{
    {
        TDrawSiteWidget other;
        other.SetSite(&site);
    }
    EXPECT_FALSE(site.Host.Invalidate);
    site.Invalidate();  // nobody to tell; must not crash
}

}  // namespace
}  // namespace orvella::test
