// The text and date dialogs driven as a user would: refusals on their
// pages, edits committed as one undo step, the shadow choices and the date
// page.

#include "dialogs/shadow_sample.h"
#include "dialogs/text_property_dialog.h"
#include "dialogs/transform_page.h"
#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "frame/app_frame.h"
#include "frame/program_macros.h"
#include "objects/lo_date.h"
#include "objects/lo_shade_text.h"
#include "objects/object_classes.h"
#include "platform/fonts/fake_font_engine.h"
#include "platform/fonts/font_engine.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace orvella {
namespace {

class TextDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetFontEngine(std::make_shared<TFakeFontEngine>());
        RegisterObjectClasses();
        ActionList().Clear();
        frame_ = std::make_unique<TAppFrame>();
        frame_->Macro = ProgramMacroTable();
        frame_->OnMessageBox = [this](const std::string& text, std::span<const TButtonKind>, int, int) {
            messages.push_back(text);
            return int(mrOk);
        };
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1200);
        site.SetLogHeight(1200);
    }
    void TearDown() override
    {
        ActionList().Clear();
        frame_.reset();
        SetFontEngine(nullptr);
    }

    template <class T>
    T& place(std::unique_ptr<T> owned)
    {
        T& object = *owned;
        site.InsertOwnedObject(std::move(owned));
        site.AddObject(object);
        return object;
    }

    template <class D>
    bool run(TDrawObject& object, D& dialog, const std::function<void(D&)>& act)
    {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return EditObjectInDialog(object, dialog);
    }

    TDrawSite site;
    std::vector<std::string> messages;

private:
    std::unique_ptr<TAppFrame> frame_;
};

TEST_F(TextDialog, RefusesAnEmptyTextOnTheTextPage)
{
    auto& text = place(std::make_unique<TLOCurrentText>());
    text.SetText({"before"});
    text.SetBoundsRect({100, 100, 600, 300});
    TfrmTextProperty dialog;
    EXPECT_FALSE(run<TfrmTextProperty>(text, dialog, [this](TfrmTextProperty& d) {
        d.Pages()->setCurrentIndex(d.Pages()->count() - 1);
        d.TextBox()->setPlainText(QString());
        d.accept();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Pages()->currentWidget(), d.TextPage());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "文字が入力されていません");
        d.reject();
    }));
    EXPECT_EQ(text.Text(), std::vector<std::string>{"before"});
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(TextDialog, RefusesADistortionWithoutPatternOnTheDistortionPage)
{
    auto& text = place(std::make_unique<TLOCurrentText>());
    text.SetText({"warp"});
    TfrmTextProperty dialog;
    EXPECT_FALSE(run<TfrmTextProperty>(text, dialog, [this](TfrmTextProperty& d) {
        d.TransformPage()->DistortButton()->setChecked(true);
        d.accept();
        EXPECT_EQ(d.Pages()->currentWidget(), d.TransformPage());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "変形パターンが指定されていません");
        d.reject();
    }));
    EXPECT_TRUE(text.CoonsDistortion().IsEmpty());
}

TEST_F(TextDialog, EditsCommitAsOneStepThatUndoReverts)
{
    auto& text = place(std::make_unique<TLOCurrentText>());
    text.SetText({"one"});
    text.SetBoundsRect({100, 100, 600, 300});
    TfrmTextProperty dialog;
    EXPECT_TRUE(run<TfrmTextProperty>(text, dialog, [](TfrmTextProperty& d) {
        EXPECT_EQ(d.windowTitle(), "文字の編集・設定");
        d.TextBox()->setPlainText(QStringLiteral("first\nsecond"));
        d.SizeBox()->setValue(40);
        d.AlignBox()->setCurrentIndex(1);
        d.ShadowSoft()->setChecked(true);
        d.ShadowSample()->Button(5)->click();
        d.OutlineBox()->setChecked(true);
        // The preview copy follows; the object waits for OK.
        auto* preview = dynamic_cast<TLOCurrentText*>(d.PreviewObject());
        EXPECT_EQ(preview->Text().size(), 2u);
        d.accept();
    }));
    EXPECT_EQ(text.Text(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(text.Font().Size(), 40);
    EXPECT_EQ(text.Align(), 1);
    EXPECT_EQ(text.Shadow(), 5);
    EXPECT_TRUE(text.ShadeShadowEnable());
    EXPECT_TRUE(text.Outline());
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "設定変更");
    ActionList().Undo();
    EXPECT_EQ(text.Text(), std::vector<std::string>{"one"});
    EXPECT_EQ(text.Shadow(), 0);
    EXPECT_FALSE(text.ShadeShadowEnable());

    // OK without a change records nothing.
    TfrmTextProperty again;
    EXPECT_TRUE(run<TfrmTextProperty>(text, again, [](TfrmTextProperty& d) { d.accept(); }));
    EXPECT_EQ(ActionList().Count(), 1u);
}

TEST_F(TextDialog, DateDialogFormatsTheChosenDate)
{
    auto& date = place(std::make_unique<TLODate>());
    date.SetBoundsRect({100, 100, 600, 300});
    TfrmDateProperty dialog;
    EXPECT_TRUE(run<TfrmDateProperty>(date, dialog, [](TfrmDateProperty& d) {
        EXPECT_EQ(d.windowTitle(), "日付オブジェクトの設定");
        EXPECT_EQ(d.Pages()->tabText(0), "日付");
        EXPECT_FALSE(d.ShadowSoft()->isEnabled()) << "a date has no soft shadow";
        d.FormatBox()->setCurrentText(QStringLiteral("yyyy\"-\"mm\"-\"dd"));
        d.DateBox()->setDateTime(QDateTime(QDate(2026, 12, 11), QTime(9, 30)));
        d.UpdateBox()->setCurrentIndex(2);
        d.accept();
    }));
    EXPECT_EQ(date.Text(), std::vector<std::string>{"2026-12-11"});
    EXPECT_EQ(date.UpdateFlag(), TDateUpdateFlag::dufPrint);
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

// Every page as a user sees it, with the real fonts (ORVELLA_SCREENSHOT_DIR:
// where to leave the pictures). The dialog fits a small screen.
TEST_F(TextDialog, EachPageFitsASmallScreen)
{
    SetFontEngine(nullptr);
    auto& text = place(std::make_unique<TLOCurrentText>());
    text.SetText({"Summer Live", "夏の記録"});
    text.SetBoundsRect({100, 100, 700, 300});
    text.SetShadow(8);
    TfrmTextProperty dialog;
    dialog.Load(text);
    dialog.show();
    EXPECT_LE(dialog.sizeHint().width(), 1024);
    EXPECT_LE(dialog.sizeHint().height(), 740);
    for (int page = 0; page < dialog.Pages()->count(); ++page) {
        dialog.Pages()->setCurrentIndex(page);
        const QImage shot = dialog.grab().toImage();
        EXPECT_FALSE(shot.isNull());
        if (const char* folder = std::getenv("ORVELLA_SCREENSHOT_DIR"))
            shot.save(QString::fromLocal8Bit(folder) + QStringLiteral("/text_dialog_%1.png").arg(page));
    }
    dialog.reject();
}

}  // namespace
}  // namespace orvella
