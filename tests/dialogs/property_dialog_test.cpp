// The frame every property dialog is built on, driven as a user would: a
// rectangle test object edited through the position page.

#include "../document/label_test_objects.h"
#include "dialogs/position_panel.h"
#include "dialogs/property_dialog.h"
#include "drawing/action_list.h"
#include "drawing/draw_site.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <functional>

namespace orvella {
namespace {

using test::TLOTestRect;

struct TypedLength {
    const char* text;
    int32_t minimum, maximum;
    int32_t units;
};

TEST(MillimetreInput, ReadsDecimalMillimetresRoundedAndClamped)
{
    const TypedLength cases[] = {
        {"1.2", 20, 10000, 20},        // 12 units is below the minimum size
        {"12.34", 20, 10000, 123},
        {"abc", 20, 10000, 20},        // unreadable reads as 0, then the minimum
        {"", -10000, 10000, 0},
        {"-3.5", -10000, 10000, -35},
        {"1.25", 20, 10000, 20},
        {"0.25", -10000, 10000, 2},    // 2.5 rounds to the even 2
        {"0.35", -10000, 10000, 4},    // 3.5 rounds to the even 4
        {"99999", 20, 10000, 10000},
        {"1e400", 20, 10000, 20},      // not a finite number
    };
    for (const TypedLength& c : cases)
        EXPECT_EQ(ReadMillimetres(QString::fromLatin1(c.text), c.minimum, c.maximum), c.units) << c.text;
    EXPECT_EQ(ShowMillimetres(123), "12.3");
    EXPECT_EQ(ShowMillimetres(1200), "120");
    EXPECT_EQ(ShowMillimetres(-35), "-3.5");
}

// A dialog with one page of its own and the position page; its page can
// refuse OK.
class TTestDialog : public TfrmPropertyDialog {
public:
    explicit TTestDialog(QWidget* parent = nullptr) : TfrmPropertyDialog(QStringLiteral("test"), parent)
    {
        content = new QLabel(QStringLiteral("内容"));
        AddPage(content, QStringLiteral("内容"));
        AddPositionPage();
    }
    QWidget* content;
    bool refuse = false;
    int refusals = 0;

protected:
    bool CheckInputs() override
    {
        if (!refuse)
            return true;
        ++refusals;
        Refuse(content, QStringLiteral("内容がありません"));
        return false;
    }
    QString Caption(const TDrawObject&, bool adding) const override
    {
        return adding ? QStringLiteral("テストの追加") : QStringLiteral("テストの設定");
    }
};

class PropertyDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ActionList().Clear();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(1000);
        auto owned = std::make_unique<TLOTestRect>();
        owned->SetBoundsRect({100, 200, 400, 500});
        object = static_cast<TLOTestRect*>(&site.InsertOwnedObject(std::move(owned)));
        site.AddObject(*object);
    }
    void TearDown() override { ActionList().Clear(); }

    // Runs the dialog modally; act works in it once it shows.
    bool Run(TTestDialog& dialog, const std::function<void(TTestDialog&)>& act)
    {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return EditObjectInDialog(*object, dialog);
    }

    TDrawSite site;
    TLOTestRect* object = nullptr;
};

TEST_F(PropertyDialog, CancelAndUnchangedOkLeaveNoUndoStep)
{
    TTestDialog cancelled;
    EXPECT_FALSE(Run(cancelled, [](TTestDialog& d) {
        d.PositionPage()->LeftEdit()->setText(QStringLiteral("50"));
        d.reject();
    }));
    EXPECT_EQ(object->Rect(), (TRect{100, 200, 400, 500}));
    TTestDialog unchanged;
    EXPECT_TRUE(Run(unchanged, [](TTestDialog& d) { d.accept(); }));
    EXPECT_EQ(ActionList().Count(), 0u);
    EXPECT_EQ(unchanged.windowTitle(), "テストの設定");
}

TEST_F(PropertyDialog, PositionAndBlendCommitAsOneStepThatUndoRevertsExactly)
{
    TTestDialog dialog;
    EXPECT_TRUE(Run(dialog, [](TTestDialog& d) {
        TfrmPosition& position = *d.PositionPage();
        EXPECT_TRUE(position.BlendEdit()->isVisibleTo(&position)) << "the object blends";
        EXPECT_FALSE(position.AutoSizeBox()->isVisibleTo(&position)) << "the object has no auto size";
        EXPECT_EQ(position.LeftEdit()->text(), "10");
        position.LeftEdit()->setText(QStringLiteral("12.5"));
        emit position.LeftEdit()->textEdited(position.LeftEdit()->text());
        position.WidthEdit()->setText(QStringLiteral("40"));
        emit position.WidthEdit()->textEdited(position.WidthEdit()->text());
        position.BlendEdit()->setValue(40);
        position.DontPrintBox()->setChecked(true);
        // The preview copy follows the inputs; the object does not yet.
        EXPECT_EQ(static_cast<TLOTestRect*>(d.PreviewObject())->BlendRatio(), 40);
        d.accept();
    }));
    EXPECT_EQ(object->Rect(), (TRect{125, 200, 525, 500}));
    EXPECT_EQ(object->BlendRatio(), 40);
    EXPECT_TRUE(object->DontPrint());
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "設定変更");

    ActionList().Undo();
    EXPECT_EQ(object->Rect(), (TRect{100, 200, 400, 500}));
    EXPECT_EQ(object->BlendRatio(), 100);
    EXPECT_FALSE(object->DontPrint());
    ActionList().Redo();
    EXPECT_EQ(object->Rect(), (TRect{125, 200, 525, 500}));
    EXPECT_EQ(object->BlendRatio(), 40);
}

TEST_F(PropertyDialog, ARefusedOkKeepsTheDialogOpenOnItsPageAndWritesNothing)
{
    TTestDialog dialog;
    EXPECT_FALSE(Run(dialog, [](TTestDialog& d) {
        d.refuse = true;
        d.Pages()->setCurrentWidget(d.PositionPage());
        d.PositionPage()->LeftEdit()->setText(QStringLiteral("50"));
        d.accept();
        EXPECT_EQ(d.refusals, 1);
        EXPECT_TRUE(d.isVisible()) << "still open";
        EXPECT_EQ(d.Pages()->currentWidget(), d.content) << "on the page the refusal names";
        d.reject();
    }));
    EXPECT_EQ(object->Rect(), (TRect{100, 200, 400, 500}));
    EXPECT_EQ(ActionList().Count(), 0u);
    // The page shown last is where the next dialog of the kind opens.
    EXPECT_EQ(TfrmPropertyDialog::RememberedPage(QStringLiteral("test")), 0);
}

TEST_F(PropertyDialog, AnObjectNotYetOnASiteGetsTheAddingCaption)
{
    TLOTestRect loose;
    loose.SetBoundsRect({0, 0, 100, 100});
    TTestDialog dialog;
    dialog.Load(loose);
    EXPECT_EQ(dialog.windowTitle(), "テストの追加");
}

}  // namespace
}  // namespace orvella
