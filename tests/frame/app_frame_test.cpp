// The frame: its macro table, settings access, message routing and the
// exception report.

#include "frame/exception_report.h"
#include "frame_fixture.h"

#include <vector>

namespace orvella::test {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

TEST(NoFrame, EverythingFallsBackQuietly)
{
    ASSERT_EQ(AppFrame(), nullptr);
    EXPECT_EQ(ExpandMacros("$(AppName)"), "$(AppName)");
    EXPECT_EQ(GetSettingInt("CacheLimit", 7), 7);
    EXPECT_EQ(GetSettingString("CDPath", "x"), "x");
    SetSettingBool("CacheEnabl", false);  // nowhere to go, and no failure
    CaptureStderr();
    EXPECT_FALSE(ConfirmOK("続けますか？"));
    EXPECT_EQ(GetCapturedStderr(), "orvella: 続けますか？\n");
}

TEST(Frame, OnlyOneExistsAndCreationStartsTheTableWithAppName)
{
    TAppFrame frame;
    EXPECT_EQ(AppFrame(), &frame);
    EXPECT_EQ(frame.Macro.Text(), "AppName=Project\r\n");
    EXPECT_THROW(TAppFrame(), std::logic_error);
}

struct ExpandCase {
    const char* text;
    const char* want;  // "@" stands for the temporary folder
};

class ProgramTable : public FrameTest, public ::testing::WithParamInterface<ExpandCase> {};

TEST_P(ProgramTable, ExpandsAsTheProgramNeeds)
{
    std::string want = GetParam().want;
    if (const std::size_t at = want.find('@'); at != std::string::npos)
        want.replace(at, 1, dir_.Path());
    EXPECT_EQ(ExpandMacros(GetParam().text), want);
}

INSTANTIATE_TEST_SUITE_P(Table, ProgramTable, ::testing::Values(
    ExpandCase{"$(SysRegistryKey)", "Software\\Tessmark\\Orvella\\1.0\\Settings"},
    ExpandCase{"$(OpenFileHistory)", "Software\\Tessmark\\Orvella\\1.0\\Settings\\OpenFileHistory"},
    ExpandCase{"$(SysMsgAlreadyRun)", "Orvellaは、すでに実行中です"},
    ExpandCase{"$(SysMutexID)", "Orvella.1.0.Karvane.Japan"},
    ExpandCase{"$(ShortVer) $(LongVer)", "1.0 1.0.0.0"},
    ExpandCase{"$(SystemPaperInfo)", "@/share/orvella/orvella.ppr"},
    ExpandCase{"$(exeDir)Plugins", "@/share/orvella/Plugins"},
    ExpandCase{"$(UserPaperInfo)", "@/data/Orvella/1.0/UserPaper.ppr"},
    ExpandCase{"$(SysKeyFile) $(SysApplicationFolder)", "ORVL.KEY orvella"},
    ExpandCase{"a$(Quote)b", "a\"b"},
    ExpandCase{"a$(CRLF)b", "a\r\nb"},
    ExpandCase{"$(TitleBarFormat)", "Orvella - %s"}));

TEST_F(FrameTest, LoadedTakesTitleAndHelpFileFromTheTable)
{
    EXPECT_EQ(frame_->Title(), "Orvella");
    EXPECT_EQ(frame_->HelpFile(), places_.ExeNameNoExt + ".chm");
}

TEST_F(FrameTest, SettingsReturnDefaultsOnAMissingFileAndPersistWrites)
{
    EXPECT_TRUE(GetSettingBool("FixGDILeak", true));
    EXPECT_EQ(GetSettingInt("CacheLimit", 0), 0);
    EXPECT_EQ(GetSettingString("CDPath", ""), "");
    EXPECT_FALSE(std::filesystem::exists(store_->FileName()));

    SetSettingBool("CacheEnabl", false);
    SetSettingInt("CacheLimit", 300);
    SetSettingString("CDPath", "/media/disc");
    TSettingsStore reopened(store_->FileName());
    const std::string key = "Software\\Tessmark\\Orvella\\1.0\\Settings";
    EXPECT_EQ(reopened.ReadBool(key, "CacheEnabl"), false);
    EXPECT_EQ(reopened.ReadInteger(key, "CacheLimit"), 300);
    EXPECT_EQ(GetSettingString("cdpath", ""), "/media/disc");
}

TEST_F(FrameTest, WithoutARegistryKeyMacroReadsDefaultAndWritesNothing)
{
    frame_->Macro.SetValue("SysRegistryKey", "");
    SetSettingInt("CacheLimit", 300);
    EXPECT_EQ(GetSettingInt("CacheLimit", 9), 9);
    EXPECT_FALSE(std::filesystem::exists(store_->FileName()));
}

TEST_F(FrameTest, MessagesAreExpandedHandedToTheHandlerAndLoggedOnOneLine)
{
    std::vector<std::string> shown;
    std::vector<TButtonKind> kinds;
    frame_->OnMessageBox = [&](const std::string& text, std::span<const TButtonKind> buttons, int def, int cancel) {
        shown.push_back(text);
        kinds.assign(buttons.begin(), buttons.end());
        EXPECT_EQ(def, 0);
        EXPECT_EQ(cancel, 1);
        return int(mrOk);
    };
    CaptureStderr();
    EXPECT_TRUE(ConfirmOK("$(SysMsgNotDefaultPrinter)"));
    const std::string err = GetCapturedStderr();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "通常使うプリンタがセットされていません\r\nコントロールパネルのプリンタを開いて設定してください");
    EXPECT_EQ(kinds, (std::vector<TButtonKind>{bkOK, bkCancel}));
    EXPECT_EQ(err, "orvella: 通常使うプリンタがセットされていません コントロールパネルのプリンタを開いて設定してください\n");
}

TEST_F(FrameTest, AMessageThatDoesNotExpandIsShownAsItIs)
{
    CaptureStderr();
    ShowInfo("「$(Nothing」が開けません");
    EXPECT_EQ(GetCapturedStderr(), "orvella: 「$(Nothing」が開けません\n");
}

TEST(UnattendedAnswer, IsTheButtonEscapeWouldPress)
{
    const TButtonKind yesNo[] = {bkYes, bkNo};
    EXPECT_EQ(UnattendedModalResult(yesNo, 1), mrNo);
    EXPECT_EQ(UnattendedModalResult(yesNo, 5), mrCancel);
    const TButtonKind closeCustom[] = {bkClose, bkCustom, bkHelp};
    EXPECT_EQ(UnattendedModalResult(closeCustom, 0), mrNoToAll);
    EXPECT_EQ(UnattendedModalResult(closeCustom, 1), mrYesToAll);
    EXPECT_EQ(UnattendedModalResult(closeCustom, 2), mrNone);
}

TEST_F(FrameTest, TheExceptionReportNamesTheMessageAndNeverExpandsIt)
{
    std::vector<std::string> shown;
    frame_->OnMessageBox = [&](const std::string& text, std::span<const TButtonKind>, int, int) {
        shown.push_back(text);
        return int(mrOk);
    };
    CaptureStderr();
    frame_->HandleException(std::make_exception_ptr(std::runtime_error("$(AppName) の 100% が壊れた")));
    frame_->HandleException(std::make_exception_ptr(ETwain("機器がありません")));
    frame_->HandleException(std::make_exception_ptr(42));
    GetCapturedStderr();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "予期しないエラーが発生しました\r\n$(AppName) の 100% が壊れた");
    EXPECT_EQ(shown[1], "TWAINでエラーが発生しました。\r\nTWAINドライバあるいはTWAIN機器に問題があると\r\n思われます\r\n「機器がありません」");
    EXPECT_EQ(shown[2], "予期しないエラーが発生しました\r\nunknown exception");
}

TEST_F(FrameTest, OnExceptionReplacesTheReportAndAThrowingHandlerIsContained)
{
    int reported = 0;
    frame_->OnException = [&](std::exception_ptr) {
        ++reported;
        throw std::runtime_error("handler failed");
    };
    CaptureStderr();
    frame_->HandleException(std::make_exception_ptr(std::runtime_error("x")));
    EXPECT_EQ(GetCapturedStderr(), "orvella: the exception report failed\n");
    EXPECT_EQ(reported, 1);
}

}  // namespace
}  // namespace orvella::test
