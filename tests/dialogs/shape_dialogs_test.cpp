// The line, rectangle and decorative line dialogs, driven as a user would:
// what OK writes, what Cancel leaves, and the one undo step in between.

#include "dialogs/color_panel.h"
#include "dialogs/position_panel.h"
#include "dialogs/shape_property_dialogs.h"
#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "objects/lo_deco_line.h"
#include "objects/lo_line.h"
#include "objects/lo_rect.h"
#include "objects/object_classes.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <functional>

namespace orvella {
namespace {

void type(TMillimetreEdit* edit, const char* text)
{
    edit->setText(QString::fromUtf8(text));
    emit edit->textEdited(edit->text());
}

class ShapeDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterObjectClasses();
        ActionList().Clear();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1200);
        site.SetLogHeight(1200);
    }
    void TearDown() override { ActionList().Clear(); }

    template <class T>
    T& place(std::unique_ptr<T> object)
    {
        T& placed = static_cast<T&>(site.InsertOwnedObject(std::move(object)));
        site.AddObject(placed);
        return placed;
    }

    // Runs the dialog modally; act works in it once it shows.
    template <class D>
    bool run(D& dialog, TDrawObject& object, const std::function<void(D&)>& act)
    {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return EditObjectInDialog(object, dialog);
    }

    TDrawSite site;
};

TEST_F(ShapeDialogs, TheLineDialogWritesWidthPointsAndColourAsOneStep)
{
    auto owned = std::make_unique<TLOLine>();
    owned->SetStartPoint(100, 100);
    owned->SetEndPoint(500, 100);
    TLOLine& line = place(std::move(owned));
    TfrmLineProperty dialog(false);
    EXPECT_TRUE(run<TfrmLineProperty>(dialog, line, [](TfrmLineProperty& d) {
        EXPECT_EQ(d.windowTitle(), "直線の設定");
        EXPECT_EQ(d.LinePage()->EndXEdit()->text(), "50");
        type(d.LinePage()->LineWidthEdit(), "2.5");
        type(d.LinePage()->EndYEdit(), "30");
        d.LinePage()->DontPrintBox()->setChecked(true);
        d.ColorPage()->ChooseColor(clRed);
        // The preview follows; the object waits for OK.
        EXPECT_EQ(static_cast<TLOLine*>(d.PreviewObject())->LineWidth(), 25);
        d.accept();
    }));
    EXPECT_EQ(line.LineWidth(), 25);
    EXPECT_EQ(line.EndPoint(), (TPoint{500, 300}));
    EXPECT_EQ(line.LineColor().Color(), clRed);
    EXPECT_TRUE(line.DontPrint());
    ASSERT_EQ(ActionList().Count(), 1u);
    ActionList().Undo();
    EXPECT_EQ(line.LineWidth(), 10);
    EXPECT_EQ(line.EndPoint(), (TPoint{500, 100}));
    EXPECT_EQ(line.LineColor().Color(), clBlack);
}

TEST_F(ShapeDialogs, CancelLeavesTheLineAndTheHistoryAlone)
{
    TLOLine& line = place(std::make_unique<TLOLine>());
    TfrmLineProperty dialog(false);
    EXPECT_FALSE(run<TfrmLineProperty>(dialog, line, [](TfrmLineProperty& d) {
        type(d.LinePage()->LineWidthEdit(), "5");
        d.reject();
    }));
    EXPECT_EQ(line.LineWidth(), 10);
    TfrmLineProperty unchanged(false);
    EXPECT_TRUE(run<TfrmLineProperty>(unchanged, line, [](TfrmLineProperty& d) { d.accept(); }));
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(ShapeDialogs, ACurveHasItsOwnCaptionAndRemembersItsOwnPage)
{
    TLOLine& line = place(std::make_unique<TLOLine>());
    auto owned = std::make_unique<TLOCurve>();
    owned->SetEndPoint(400, 0);
    TLOCurve& curve = place(std::move(owned));
    TfrmLineProperty lineDialog(false);
    run<TfrmLineProperty>(lineDialog, line, [](TfrmLineProperty& d) {
        d.Pages()->setCurrentIndex(1);
        d.reject();
    });
    TfrmLineProperty curveDialog(true);
    run<TfrmLineProperty>(curveDialog, curve, [](TfrmLineProperty& d) {
        EXPECT_EQ(d.windowTitle(), "円弧の設定");
        EXPECT_EQ(d.Pages()->currentIndex(), 0) << "a line's page is not a curve's";
        d.reject();
    });
    EXPECT_EQ(TfrmPropertyDialog::RememberedPage(QStringLiteral("line")), 1);
    EXPECT_EQ(TfrmPropertyDialog::RememberedPage(QStringLiteral("curve")), 0);
}

TEST_F(ShapeDialogs, TheRectangleDialogWritesFrameFillAndPosition)
{
    auto owned = std::make_unique<TLORect>();
    owned->SetBoundsRect({100, 100, 400, 300});
    TLORect& rect = place(std::move(owned));
    TfrmRectProperty dialog;
    EXPECT_TRUE(run<TfrmRectProperty>(dialog, rect, [](TfrmRectProperty& d) {
        EXPECT_EQ(d.windowTitle(), "四角図形の設定");
        EXPECT_FALSE(d.FillPanel()->IsPanelEnabled()) << "no fill yet";
        type(d.FrameWidthEdit(), "0.5");
        d.RoundBox()->setChecked(true);
        d.FillInsideBox()->setChecked(true);
        EXPECT_TRUE(d.FillPanel()->IsPanelEnabled());
        d.FillPanel()->ChooseColor(clLime);
        d.PositionPage()->RotationEdit()->setValue(30);
        type(d.PositionPage()->LeftEdit(), "20");
        d.accept();
    }));
    EXPECT_EQ(rect.FrameWidth(), 5);
    EXPECT_TRUE(rect.RoundRect());
    EXPECT_TRUE(rect.FillInside());
    EXPECT_EQ(rect.FillColor().Color(), clLime);
    EXPECT_EQ(rect.Angle(), 30);
    EXPECT_EQ(rect.GetLeft(), 200);
    ASSERT_EQ(ActionList().Count(), 1u);
    ActionList().Undo();
    EXPECT_FALSE(rect.RoundRect());
    EXPECT_EQ(rect.Angle(), 0);
    EXPECT_EQ(rect.Rect(), (TRect{100, 100, 400, 300}));
}

TEST_F(ShapeDialogs, AnEllipseHasNoCornersToRound)
{
    auto owned = std::make_unique<TLOCircle>();
    owned->SetBoundsRect({0, 0, 200, 100});
    TLOCircle& circle = place(std::move(owned));
    TfrmRectProperty dialog;
    EXPECT_TRUE(run<TfrmRectProperty>(dialog, circle, [](TfrmRectProperty& d) {
        EXPECT_EQ(d.windowTitle(), "円図形の設定");
        EXPECT_FALSE(d.RoundBox()->isVisibleTo(&d));
        d.RoundBox()->setChecked(true);
        d.accept();
    }));
    EXPECT_FALSE(circle.RoundRect());
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(ShapeDialogs, TheDecorativeLineDialogCopiesTheChosenPattern)
{
    const test::TempDir dir;
    std::vector<std::filesystem::path> patterns;
    for (const int width : {40, 60}) {
        QImage image(width, 20, QImage::Format_RGB32);
        image.fill(qRgb(200, 30, 30));
        const std::string file = dir.File("p" + std::to_string(width) + ".png");
        ASSERT_TRUE(image.save(QString::fromStdString(file)));
        patterns.emplace_back(file);
    }
    auto owned = std::make_unique<TLODecoLine>();
    owned->SetEndPoint(600, 0);
    TLODecoLine& line = place(std::move(owned));
    TfrmDecoLineProperty cancelled(patterns, nullptr);
    EXPECT_FALSE(run<TfrmDecoLineProperty>(cancelled, line, [](TfrmDecoLineProperty& d) {
        d.PatternList()->setCurrentRow(0);
        d.reject();
    }));
    EXPECT_TRUE(line.Image().Empty());
    EXPECT_EQ(ActionList().Count(), 0u);

    TfrmDecoLineProperty dialog(patterns, nullptr);
    EXPECT_TRUE(run<TfrmDecoLineProperty>(dialog, line, [](TfrmDecoLineProperty& d) {
        EXPECT_EQ(d.windowTitle(), "飾り罫線の選択");
        EXPECT_EQ(d.PatternList()->count(), 2);
        d.PatternList()->setCurrentRow(1);
        EXPECT_EQ(static_cast<TLODecoLine*>(d.PreviewObject())->Image().Width(), 60);
        d.accept();
    }));
    EXPECT_EQ(line.Image().Width(), 60);
    // A placed line keeps its own geometry.
    EXPECT_EQ(line.EndPoint(), (TPoint{600, 0}));
    EXPECT_EQ(ActionList().Count(), 1u);
}

TEST_F(ShapeDialogs, ANewDecorativeLineTakesTheSizeOfSixCopiesOfItsPattern)
{
    const test::TempDir dir;
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(qRgb(30, 30, 200));
    const std::string file = dir.File("p.png");
    ASSERT_TRUE(image.save(QString::fromStdString(file)));
    TLODecoLine loose;  // being added: on no site yet
    TfrmDecoLineProperty dialog({file}, nullptr);
    dialog.Load(loose);
    dialog.PatternList()->setCurrentRow(0);
    EXPECT_EQ(dialog.LinePage()->EndXEdit()->Units(), 6 * 56);
    EXPECT_EQ(dialog.LinePage()->LineWidthEdit()->Units(), 28);
    dialog.Commit(loose);
    EXPECT_EQ(loose.EndPoint(), (TPoint{336, 0}));
    EXPECT_EQ(loose.LineWidth(), 28);
    EXPECT_EQ(loose.Image().Width(), 40);
}

}  // namespace
}  // namespace orvella
