// The shell's windows on the offscreen platform: the message window, window
// placement, PrepareForm's macro expansion and the history menu.

#include "app/history_menu.h"
#include "app/message_window.h"
#include "app/prepare_form.h"
#include "app/window_placement.h"
#include "../frame/frame_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace orvella::test {
namespace {

struct CaptionCase {
    std::vector<TButtonKind> buttons;
    std::vector<const char*> captions;
};

class MessageWindowCaptions : public FrameTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(MessageWindowCaptions, OneOrTwoButtonsReadYesNoThreeKeepTheirKinds)
{
    const TfrmMessage window(QStringLiteral("text"), GetParam().buttons, 0, 0);
    ASSERT_EQ(window.Buttons().size(), GetParam().captions.size());
    for (std::size_t i = 0; i < window.Buttons().size(); ++i)
        EXPECT_EQ(window.Buttons()[i]->text(), QString::fromUtf8(GetParam().captions[i])) << i;
}

INSTANTIATE_TEST_SUITE_P(Kinds, MessageWindowCaptions, ::testing::Values(
    CaptionCase{{bkOK}, {"はい"}},
    CaptionCase{{bkOK, bkCancel}, {"はい", "いいえ"}},
    CaptionCase{{bkAbort, bkRetry, bkIgnore}, {"中止(&A)", "再試行(&R)", "無視(&I)"}},
    CaptionCase{{bkYes, bkNo, bkCancel}, {"はい(&Y)", "いいえ(&N)", "キャンセル"}},
    CaptionCase{{bkAll, bkHelp, bkOK, bkNo}, {"すべて(&A)", "ヘルプ(&H)", "OK"}}));

TEST_F(FrameTest, TheMessageWindowAnswersWithTheKindsResults)
{
    const std::vector<TButtonKind> buttons{bkYes, bkNo, bkCancel};
    TfrmMessage window(QStringLiteral("続けますか？"), buttons, 1, 2);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvella"));
    EXPECT_TRUE(window.Buttons()[1]->isDefault());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblMessage"))->text(), QStringLiteral("続けますか？"));

    window.show();
    window.Buttons()[1]->click();
    EXPECT_EQ(window.result(), mrNo);

    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(window.result(), mrCancel);

    const std::vector<TButtonKind> retry{bkAbort, bkRetry, bkIgnore};
    TfrmMessage second(QStringLiteral("x"), retry, 0, 1);
    second.show();
    QTest::keyClick(&second, Qt::Key_Escape);
    EXPECT_EQ(second.result(), mrRetry);
}

TEST_F(FrameTest, OffscreenNobodyAnswersSoTheEscapeButtonDoes)
{
    const TButtonKind buttons[] = {bkYes, bkNo};
    EXPECT_EQ(ShowMessageWindow("?", buttons, 0, 1), mrNo);
}

class Placement : public FrameTest {
protected:
    void SetUp() override { window_.setObjectName(QStringLiteral("frmMain")); }
    QMainWindow window_;
};

TEST_F(Placement, WithNothingStoredTheWindowOpensCentredAtMost800By600)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    PrepareForm(&window_);
    const int width = std::min(800, screen.width());
    const int height = std::min(600, screen.height());
    EXPECT_EQ(window_.geometry(), QRect((screen.width() - width) / 2, (screen.height() - height) / 2, width, height));
}

TEST_F(Placement, AStoredPlacementIsRestoredAndSavedBack)
{
    SetSettingInt("frmMainLeft", 0);
    SetSettingInt("frmMainTop", 0);
    SetSettingInt("frmMainWidth", 1024);
    SetSettingInt("frmMainHeight", 768);
    PrepareForm(&window_);
    EXPECT_EQ(window_.geometry(), QRect(0, 0, 1024, 768));

    window_.setGeometry(10, 20, 300, 200);
    SaveMainWindowPlacement(&window_);
    EXPECT_EQ(GetSettingInt("frmMainLeft", -1), 10);
    EXPECT_EQ(GetSettingInt("frmMainHeight", -1), 200);
}

TEST_F(FrameTest, PrepareFormExpandsTheTextsOfTheWindowAndWhatItOwns)
{
    QWidget form;
    form.setWindowTitle(QStringLiteral("$(AppName) の設定"));
    auto* label = new QLabel(QStringLiteral("$(Undefined) stays"), &form);
    auto* button = new QPushButton(QStringLiteral("$(AppName)"), &form);
    button->setToolTip(QStringLiteral("v$(ShortVer)"));
    auto* action = new QAction(QStringLiteral("$(AppName)を終了"), button);
    PrepareForm(&form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Orvella の設定"));
    EXPECT_EQ(label->text(), QStringLiteral("$(Undefined) stays"));
    EXPECT_EQ(button->text(), QStringLiteral("Orvella"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("v1.0"));
    EXPECT_EQ(action->text(), QStringLiteral("Orvellaを終了"));
}

TEST_F(FrameTest, TheHistoryMenuNumbersItsEntriesAndRebuildsOnChange)
{
    THistoryManager history;
    history.RegistryKey = "$(OpenFileHistory)";
    QMenu menu;
    menu.addAction(QStringLiteral("開く"));
    QAction* anchor = menu.addAction(QStringLiteral("保存"));
    menu.addAction(QStringLiteral("終了"));
    THistoryMenu historyMenu(history, &menu, anchor);
    historyMenu.UseAccelerator = true;
    historyMenu.ClearHistoryCaption = QStringLiteral("履歴をクリア");
    std::string clicked;
    historyMenu.OnMenuClick = [&](const std::string& item) { clicked = item; };

    for (int i = 0; i < 11; ++i)
        history.Add("f" + std::to_string(i) + " & co");
    QStringList texts;
    for (QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    ASSERT_EQ(texts.size(), 3 + 1 + 10 + 2);
    EXPECT_EQ(texts[2], QStringLiteral("-"));
    EXPECT_EQ(texts[3], QStringLiteral("&0 f10 && co"));
    EXPECT_EQ(texts[12], QStringLiteral("&9 f1 && co"));
    EXPECT_EQ(texts[13], QStringLiteral("-"));
    EXPECT_EQ(texts[14], QStringLiteral("履歴をクリア"));
    EXPECT_EQ(texts[15], QStringLiteral("終了"));

    menu.actions()[12]->trigger();
    EXPECT_EQ(clicked, "f1 & co");
    EXPECT_EQ(history.Items().front(), "f1 & co");
    EXPECT_EQ(menu.actions()[3]->text(), QStringLiteral("&0 f1 && co"));

    menu.actions()[14]->trigger();
    EXPECT_TRUE(history.Items().empty());
    EXPECT_EQ(menu.actions().size(), 3 + 1 + 2);
    EXPECT_EQ(HistoryAccelerator(10), QStringLiteral("A"));
}

}  // namespace
}  // namespace orvella::test
