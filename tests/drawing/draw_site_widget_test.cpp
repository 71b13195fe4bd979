// The site in its window: real mouse and key events through Qt.

#include "app/draw_site_widget.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_list.h"
#include "test_objects.h"

#include "drawing/object_utils.h"
#include "graphics/rect_utils.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
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
    // The rotation handles' cursor is the program's own picture.
    left->SetCursor(crRotate);
    QTest::mouseMove(&window, {40, 40});
    EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(window.cursor().pixmap().isNull());
}

TEST_F(SiteWindow, ADragRepaintsNoObjectTheOutlineNeverMet)
{
    QTest::qWait(20);
    const int rightPaints = right->PaintCount;
    QTest::mousePress(&window, Qt::LeftButton, {}, {40, 40});
    for (int step = 1; step <= 8; ++step) {
        QTest::mouseMove(&window, {40 + 3 * step, 40 + 2 * step});
        QApplication::processEvents();
    }
    EXPECT_EQ(right->PaintCount, rightPaints) << "every drag step painted the whole site";
    QTest::mouseRelease(&window, Qt::LeftButton, {}, {64, 56});
    QApplication::processEvents();
    EXPECT_EQ(right->PaintCount, rightPaints);
    EXPECT_EQ(left->Box, (TRect{63, 42, 317, 296}));
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 80), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::white));
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

// A site larger than its scrolling parent.
class ScrolledSite : public ::testing::Test {
protected:
    ScrolledSite()
    {
        RegisterTestClasses();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(3000);
        site.SetLogHeight(3000);
        window = new TDrawSiteWidget;
        window->SetSite(&site);
        area.resize(200, 150);
        area.setWidget(window);
        area.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&area));
    }
    ~ScrolledSite() override { window->SetSite(nullptr); }

    TDrawSiteEx site;
    QScrollArea area;
    TDrawSiteWidget* window = nullptr;
};

TEST_F(ScrolledSite, NewObjectsLandInTheVisiblePart)
{
    area.horizontalScrollBar()->setValue(500);
    area.verticalScrollBar()->setValue(400);
    QApplication::processEvents();
    ASSERT_TRUE(site.Host.VisibleRect);
    const TRect visible = site.Host.VisibleRect();
    EXPECT_EQ(visible.TopLeft(), (TPoint{500, 400}));
    auto& box = static_cast<TTestBox&>(site.InsertOwnedObject(std::make_unique<TTestBox>(TRect{0, 0, 100, 100})));
    PlaceNewObject(box, site);
    site.AddObject(box);
    EXPECT_TRUE(RectInside(box.BoundsRect(), visible)) << "placed off-screen";
}

TEST_F(ScrolledSite, DropsOverObjectsReachTheSite)
{
    auto& box = static_cast<TTestBox&>(site.InsertOwnedObject(std::make_unique<TTestBox>(TRect{0, 0, 254, 254})));
    site.AddObject(box);
    std::vector<TPoint> over, dropped;
    site.OnDragOver = [&](TDrawSiteEx& target, TPoint p) {
        EXPECT_EQ(&target, &site);
        over.push_back(p);
        return true;
    };
    site.OnDragDrop = [&](TDrawSiteEx&, TPoint p) { dropped.push_back(p); };
    QMimeData data;
    data.setText("dropped");
    // Qt delivers moves and drops to the window that took the drag's entry.
    QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(QPoint(45, 42), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(QPointF(45, 42), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    EXPECT_EQ(over, (std::vector<TPoint>{TPoint{40, 40}, TPoint{45, 42}}));
    EXPECT_EQ(dropped, (std::vector<TPoint>{TPoint{45, 42}}));

    // Without a handler that accepts, nothing is taken.
    site.OnDragOver = nullptr;
    QDragEnterEvent refused(QPoint(40, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &refused);
    EXPECT_FALSE(refused.isAccepted());

    int started = 0, ended = 0;
    site.OnStartDrag = [&](TDrawSiteEx&) { ++started; };
    site.OnEndDrag = [&](TDrawSiteEx&) { ++ended; };
    site.StartDrag();
    site.EndDrag();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace orvella::test
