// The main window's document commands on the offscreen platform: the title,
// the dirty prompt, new, open, save and save as, recent files, dropped
// files and templates, with message boxes and file dialogs answered here.

#include "main_window_fixture.h"

#include "../paper/paper_fixtures.h"

#include "app/drop_file.h"
#include "app/hosted_view.h"
#include "frame/message_box.h"
#include "app/start_wizard.h"
#include "document/effective_paper.h"
#include "document/label_data.h"
#include "drawing/do_list.h"
#include "graphics/graphics_types.h"
#include "paper/paper_info.h"
#include "platform/settings_store.h"
#include "paper/papers.h"
#include "paper/program_catalog.h"
#include "print/disc_print_windows.h"
#include "support/tool_runner.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

namespace orvella::test {
namespace {

const std::string kNotFound = "「Orvella」のファイルが見つかりません";
const std::string kNotADocument = "指定されたファイルは「Orvella」のデータではありません";
const std::string kDirty = "データが修正されています\r\n保存しますか？";
const std::string kUnsupported = "指定された画像形式には対応していません。";

TFileDialogAnswer answer(const std::string& file, int filterIndex = 1)
{
    return {QString::fromStdString(file), filterIndex};
}

QString recentText(TfrmMain& window, int index)
{
    const QList<QAction*> entries = window.RecentMenu()->actions();
    return index < entries.size() ? entries[index]->text() : QString();
}

TEST_F(MainWindowTest, NewDocumentIsUntitledOnTheCatalogsFirstPaper)
{
    TfrmMain& main = window();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - 新規作成"));
    ASSERT_NE(main.Document().Paper(), nullptr);
    EXPECT_EQ(main.Document().Paper()->PaperName, "Card");
    EXPECT_FALSE(main.Modified());
    EXPECT_TRUE(main.DocumentFileName().isEmpty());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, NewDocumentTakesThePaperTheSettingsName)
{
    SetSettingString("DefaultPaperName", "Two cards");
    SetSettingBool("DefaultLandScape", true);
    TfrmMain& main = window();
    ASSERT_NE(main.Document().Paper(), nullptr);
    EXPECT_EQ(main.Document().Paper()->PaperName, "Two cards");
    EXPECT_TRUE(main.Document().Paper()->Landscape);

    // A name the catalog does not have falls back to its first paper.
    SetSettingString("DefaultPaperName", "Gone");
    main.NewDocument();
    EXPECT_EQ(main.Document().Paper()->PaperName, "Card");
}

TEST_F(MainWindowTest, SaveAsThenOpenRoundTrips)
{
    TfrmMain& main = window();
    const std::string file = dir_.File("label.ovd");
    dialogAnswers_.push_back(answer(file));
    main.Document().SetDataName("round trip");
    ASSERT_TRUE(main.Save());  // untitled: asks for a name

    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].Kind, TFileDialogKind::Save);
    EXPECT_TRUE(dialogs_[0].OverwritePrompt);
    EXPECT_EQ(dialogs_[0].Filter, QStringLiteral("Orvellaデータ(*.ovd)|*.ovd|すべてのファイル(*.*)|*.*"));
    EXPECT_EQ(dialogs_[0].DefaultExts, QStringList{QStringLiteral("ovd")});
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - label.ovd"));
    EXPECT_FALSE(main.Modified());
    EXPECT_EQ(main.hmOpenFile.Items(), std::vector<std::string>{file});
    EXPECT_EQ(main.hmFileFolder.Items(), std::vector<std::string>{dir_.Path()});

    // A titled document saves without asking.
    main.Document().SetDataName("second save");
    ASSERT_TRUE(main.Save());
    EXPECT_EQ(dialogs_.size(), 1u);

    main.NewDocument();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - 新規作成"));
    ASSERT_TRUE(main.OpenDocument(QString::fromStdString(file)));
    EXPECT_EQ(main.Document().DataName(), "second save");
    EXPECT_EQ(main.DocumentFileName(), QString::fromStdString(file));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - label.ovd"));
    EXPECT_FALSE(main.Modified());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, SaveAsTakesTheNewNameOnlyWhenTheFileWasWritten)
{
    TfrmMain& main = window();
    dialogAnswers_.push_back(answer(dir_.File("missing-folder/label.ovd")));
    EXPECT_FALSE(main.SaveAs());
    EXPECT_EQ(messages_, std::vector<std::string>{"データの保存に失敗しました"});
    EXPECT_TRUE(main.DocumentFileName().isEmpty());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - 新規作成"));
    EXPECT_TRUE(main.hmOpenFile.Items().empty());
}

TEST_F(MainWindowTest, OpeningAVanishedRecentFileDropsItFromTheList)
{
    TfrmMain& main = window();
    const std::string kept = dir_.File("kept.ovd");
    const std::string gone = dir_.File("gone.ovd");
    dialogAnswers_.push_back(answer(gone));
    ASSERT_TRUE(main.SaveAs());
    dialogAnswers_.push_back(answer(kept));
    ASSERT_TRUE(main.SaveAs());
    std::filesystem::remove(gone);
    EXPECT_EQ(main.hmOpenFile.Items(), (std::vector<std::string>{kept, gone}));
    EXPECT_TRUE(main.RecentMenu()->isEnabled());
    EXPECT_EQ(recentText(main, 1), QStringLiteral("&1 ") + QString::fromStdString(gone));

    // Choosing the entry opens through the recent-file menu.
    main.RecentMenu()->actions()[1]->trigger();
    EXPECT_EQ(messages_, std::vector<std::string>{kNotFound});
    EXPECT_EQ(main.hmOpenFile.Items(), std::vector<std::string>{kept});
    EXPECT_EQ(main.DocumentFileName(), QString::fromStdString(kept));
}

TEST_F(MainWindowTest, AFileThatIsNoDocumentLeavesTheCurrentOneInPlace)
{
    TfrmMain& main = window();
    const std::string text = dir_.File("notes.ovd");
    WriteFile(text, "plain text, not a compound file");
    main.hmOpenFile.Add(text);
    TLabelData* before = &main.Document();

    EXPECT_FALSE(main.OpenDocument(QString::fromStdString(text)));
    EXPECT_EQ(messages_, std::vector<std::string>{kNotADocument});
    EXPECT_EQ(&main.Document(), before);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - 新規作成"));
    EXPECT_TRUE(main.hmOpenFile.Items().empty());
}

// A view that cannot show a document named "broken", and remembers the
// document it shows.
class FussyView : public THostedView {
public:
    using THostedView::THostedView;
    void ShowDocument(TLabelData& data) override
    {
        if (data.DataName() == "broken")
            throw std::runtime_error("cannot show it");
        shown = &data;
    }
    TLabelData* shown = nullptr;
};

TEST_F(MainWindowTest, AFailureAfterTheNewDocumentWasInPlaceBringsTheCurrentOneBack)
{
    std::vector<FussyView*> views;
    TfrmMain main(nullptr, [&views](TfrmMain::TViewKind, QWidget* parent) {
        views.push_back(new FussyView(parent));
        return views.back();
    });
    main.NewDocument();
    const std::string kept = dir_.File("kept.ovd");
    dialogAnswers_.push_back(answer(kept));
    ASSERT_TRUE(main.SaveAs());
    main.Document().SetDataName("unsaved change");
    answers_.push_back(mrNo);

    const std::string file = dir_.File("broken.ovd");
    {
        TLabelData broken;
        broken.SetPaper(*GridPaper("Card", 1, 1));
        broken.SetDataName("broken");
        broken.SaveToFile(file);
    }
    main.hmOpenFile.Add(file);
    TLabelData* before = &main.Document();

    EXPECT_FALSE(main.OpenDocument(QString::fromStdString(file)));
    EXPECT_EQ(messages_, (std::vector<std::string>{kDirty, kNotADocument}));
    EXPECT_EQ(&main.Document(), before);
    EXPECT_EQ(main.Document().DataName(), "unsaved change");
    EXPECT_TRUE(main.Modified());
    EXPECT_EQ(main.DocumentFileName(), QString::fromStdString(kept));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - kept.ovd"));
    for (FussyView* view : views)
        EXPECT_EQ(view->shown, before);
    EXPECT_EQ(main.HostedView(), main.View(TfrmMain::TViewKind::Layout));
    EXPECT_EQ(main.hmOpenFile.Items(), std::vector<std::string>{kept});
}

TEST_F(MainWindowTest, OpenWithoutANameAsksForTheFile)
{
    TfrmMain& main = window();
    EXPECT_FALSE(main.OpenDocument({}));  // cancelled
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].Kind, TFileDialogKind::Open);
    EXPECT_TRUE(messages_.empty());
}

// The dirty prompt, through closing the window: はい saves (an untitled
// document asks for a name), いいえ closes without saving, キャンセル and a
// cancelled save dialog keep the window open.
struct DirtyCase {
    const char* name;
    int answer;
    bool giveFileName;
    bool closes;
    bool saved;
};

class DirtyPrompt : public MainWindowTest, public ::testing::WithParamInterface<DirtyCase> {};

TEST_P(DirtyPrompt, AnswersDecideWhetherTheWindowCloses)
{
    const DirtyCase& c = GetParam();
    TfrmMain& main = window();
    main.show();
    main.Document().SetDataName("changed");
    ASSERT_TRUE(main.Modified());
    answers_.push_back(c.answer);
    const std::string file = dir_.File("closing.ovd");
    if (c.giveFileName)
        dialogAnswers_.push_back(answer(file));

    EXPECT_EQ(main.close(), c.closes);
    EXPECT_EQ(messages_, std::vector<std::string>{kDirty});
    EXPECT_EQ(dialogs_.size(), c.answer == mrYes ? 1u : 0u);
    EXPECT_EQ(std::filesystem::exists(file), c.saved);
    EXPECT_EQ(main.isVisible(), !c.closes);
}

INSTANTIATE_TEST_SUITE_P(Answers, DirtyPrompt,
                         ::testing::Values(DirtyCase{"Yes", mrYes, true, true, true},
                                           DirtyCase{"YesButSaveCancelled", mrYes, false, false, false},
                                           DirtyCase{"No", mrNo, false, true, false},
                                           DirtyCase{"Cancel", mrCancel, false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, AnUnmodifiedDocumentClosesWithoutAsking)
{
    TfrmMain& main = window();
    main.show();
    EXPECT_TRUE(main.close());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, DroppedFilesThatAreNoDocumentOrPictureAreRefused)
{
    TfrmMain& main = window();
    WriteFile(dir_.File("readme.txt"), "text");
    WriteFile(dir_.File("README"), "text");
    main.DropFiles({QString::fromStdString(dir_.File("readme.txt"))});
    main.DropFiles({QString::fromStdString(dir_.File("README"))});
    // A listed picture kind that no reader decodes yet is refused the same way.
    WriteFile(dir_.File("scan.pcd"), std::string(2048, '\0'));
    main.DropFiles({QString::fromStdString(dir_.File("scan.pcd"))});
    EXPECT_EQ(messages_, (std::vector<std::string>{kUnsupported, kUnsupported, kUnsupported}));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - 新規作成"));
}

TEST_F(MainWindowTest, ADroppedDocumentOpensWhateverItsExtension)
{
    TfrmMain& main = window();
    const std::string file = dir_.File("label.ovd");
    dialogAnswers_.push_back(answer(file));
    ASSERT_TRUE(main.SaveAs());
    const std::string renamed = dir_.File("label.bin");
    std::filesystem::rename(file, renamed);
    main.NewDocument();

    // Through the drop handler, as the desktop delivers it: only the first file counts.
    WriteFile(dir_.File("other.txt"), "text");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(renamed)),
                  QUrl::fromLocalFile(QString::fromStdString(dir_.File("other.txt")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &drop);
    EXPECT_TRUE(drop.isAccepted());

    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(main.DocumentFileName(), QString::fromStdString(renamed));
}

struct ImageNameCase {
    const char* file;
    bool image;
};

class ImageFileName : public FrameTest, public ::testing::WithParamInterface<ImageNameCase> {};

TEST_P(ImageFileName, ExtensionsCompareIgnoringCaseAndWhole)
{
    EXPECT_EQ(IsImageFileName(QString::fromUtf8(GetParam().file)), GetParam().image);
}

INSTANTIATE_TEST_SUITE_P(Table, ImageFileName,
                         ::testing::Values(ImageNameCase{"/p/photo.jpg", true}, ImageNameCase{"/p/PHOTO.JPEG", true},
                                           ImageNameCase{"/p/scan.Png", true}, ImageNameCase{"/p/a.jp", false},
                                           ImageNameCase{"/p/a.peg", false}, ImageNameCase{"/p/notes.txt", false},
                                           ImageNameCase{"/p/bmp", false}, ImageNameCase{"/p/archive.tar.gz", false},
                                           // Listed, but no reader decodes them: refused, not taken and lost.
                                           ImageNameCase{"/p/photo.pcd", false}, ImageNameCase{"/p/song.mp3", false},
                                           ImageNameCase{"/p/shot.GIF", true}, ImageNameCase{"/p/clip.wmf", true}));

TEST_F(MainWindowTest, ApplyingATemplateKeepsEarlierChangesMarked)
{
    TfrmMain& main = window();
    TDOList none;
    main.ApplyTemplateObjects({0, 0, kFaceWidth, kFaceHeight}, none);
    EXPECT_FALSE(main.Modified());

    // Changes made before (on this or another sheet) must still be saved.
    main.Document().AddSheet();
    ASSERT_TRUE(main.Modified());
    main.ApplyTemplateObjects({0, 0, kFaceWidth, kFaceHeight}, none);
    EXPECT_TRUE(main.Modified());
}

TEST_F(MainWindowTest, UserPapersGoToABackupFileAndComeBack)
{
    TfrmMain& main = window();
    const std::string backup = dir_.File("papers.ppb");
    dialogAnswers_.push_back(answer(backup));
    main.ExportPaper();
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].Title, QStringLiteral("ユーザー用紙情報の保存"));
    EXPECT_EQ(dialogs_[0].Filter, QStringLiteral("用紙情報のバックアップ(*.ppb)|*.ppb|すべてのファイル(*.*)|*.*"));
    EXPECT_EQ(dialogs_[0].DefaultExts, QStringList{QStringLiteral("ppb")});
    EXPECT_EQ(messages_, std::vector<std::string>{"ユーザー用紙情報を保存しました"});
    {
        TPapersV2 saved(backup, true, true);
        ASSERT_EQ(saved.Count(), 2);
        EXPECT_EQ(saved.Papers(0).PaperName, "Card");
    }

    // A backup made elsewhere brings its paper into the program's catalog.
    const std::string other = dir_.File("other.ppb");
    {
        TPapersV2 made(other, true, false, true);
        made.AddStandardSections();
        made.Store(*GridPaper("Brought in", 3, 2));
        made.Close();
    }
    dialogAnswers_.push_back(answer(other));
    main.ImportPaper();
    EXPECT_EQ(dialogs_.back().Title, QStringLiteral("ユーザー用紙情報の選択"));
    EXPECT_EQ(messages_.back(), "ユーザー用紙情報を取り込みました");
    EXPECT_GE(ProgramPapers().IndexOfName("Brought in"), 0);
}

// A start wizard that answers with a fixed list of choices.
class ScriptedWizard : public IStartWizard {
public:
    ScriptedWizard(bool hasData, std::deque<TStartChoice> choices, int& shown)
        : hasData_(hasData), choices_(std::move(choices)), shown_(shown) {}
    bool LoadData() override { return hasData_; }
    TStartChoice Execute() override
    {
        ++shown_;
        if (choices_.empty())
            return TStartChoice::Cancelled;
        const TStartChoice choice = choices_.front();
        choices_.pop_front();
        return choice;
    }
    std::unique_ptr<TLabelData> TakeDocument() override
    {
        auto document = std::make_unique<TLabelData>();
        document->SetPaper(*GridPaper("Wizard paper", 2, 2));
        document->SetModified(false);
        return document;
    }

private:
    bool hasData_;
    std::deque<TStartChoice> choices_;
    int& shown_;
};

TEST_F(MainWindowTest, StartMenuShowsTheWizardUntilAChoiceCompletes)
{
    TfrmMain& main = window();
    EXPECT_FALSE(main.Actions()["actStartMenu"]->isEnabled());
    int shown = 0;
    bool hasData = false;
    std::deque<TStartChoice> choices;
    main.SetStartWizardFactory([&] { return std::make_unique<ScriptedWizard>(hasData, choices, shown); });
    ASSERT_TRUE(main.Actions()["actStartMenu"]->isEnabled());

    main.StartMenu();
    EXPECT_EQ(messages_, std::vector<std::string>{
                             "ウイザード情報が見つかりません\r\nOrvellaのＣＤを正しくセットしてください。"});
    EXPECT_EQ(shown, 0);

    // Opening through the browser that is cancelled shows the wizard again;
    // its new document then becomes the current one, untitled and modified.
    hasData = true;
    choices = {TStartChoice::OpenDocument, TStartChoice::NewDocument};
    main.StartMenu();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(main.Document().Paper()->PaperName, "Wizard paper");
    EXPECT_TRUE(main.Modified());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Orvella - 新規作成"));
}

TEST_F(MainWindowTest, TheStartMenusOpenAsksTheSaveQuestionOnce)
{
    TfrmMain& main = window();
    main.Document().SetDataName("changed");
    int shown = 0;
    main.SetStartWizardFactory([&shown] {
        return std::make_unique<ScriptedWizard>(true, std::deque<TStartChoice>{TStartChoice::OpenDocument}, shown);
    });
    answers_.push_back(mrNo);
    main.StartMenu();
    EXPECT_EQ(messages_, std::vector<std::string>{kDirty});
    EXPECT_EQ(dialogs_.size(), 1u) << "the browser is shown straight after the wizard";
    EXPECT_EQ(shown, 2);
}

TEST_F(MainWindowTest, CommandsOfLaterPartsArePresentButDisabled)
{
    TfrmMain& main = window();
    for (const char* name : {"actTemplate", "actSelectPaper", "actEnvironment", "actUpdatePaper", "actStartMenu"}) {
        QAction* action = main.Actions()[name];
        EXPECT_FALSE(action->isEnabled()) << name;
    }
    for (const char* name : {"actPrinterSetup", "actPrint"})
        EXPECT_TRUE(main.Actions()[name]->isEnabled()) << name;
    EXPECT_EQ(main.Actions()["actExit"]->text(), QStringLiteral("Orvellaの終了(&X)"));
    EXPECT_EQ(main.Actions()["actNew"]->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(main.Actions()["actOpen"]->statusTip(), QStringLiteral("開く"));
}

TEST_F(MainWindowTest, SwitchingViewsRemembersTheSheetModeWithoutAskingToSave)
{
    TfrmMain& main = window();
    EXPECT_EQ(main.HostedView(), main.View(TfrmMain::TViewKind::Layout));
    main.Actions()["actSheet"]->trigger();
    EXPECT_EQ(main.HostedView(), main.View(TfrmMain::TViewKind::Sheet));
    EXPECT_TRUE(main.Document().SheetMode());
    EXPECT_FALSE(main.Modified());

    // A document saved in the sheet view opens in it again.
    const std::string file = dir_.File("sheet.ovd");
    dialogAnswers_.push_back(answer(file));
    ASSERT_TRUE(main.SaveAs());
    main.Actions()["actLayout"]->trigger();
    ASSERT_TRUE(main.OpenDocument(QString::fromStdString(file)));
    EXPECT_EQ(main.HostedView(), main.View(TfrmMain::TViewKind::Sheet));
}

TEST_F(MainWindowTest, SpecialHelpEntriesFollowTheSetting)
{
    TfrmMain& main = window();
    emit main.HelpMenu()->aboutToShow();
    EXPECT_FALSE(main.Actions()["actComponentViewer"]->isVisible());
    SetSettingBool("EnableSpecialMenu", true);
    emit main.HelpMenu()->aboutToShow();
    EXPECT_TRUE(main.Actions()["actComponentViewer"]->isVisible());
}

TEST_F(MainWindowTest, DiscSizeCommandServesOnlyDiscPapers)
{
    ProgramPapers().WriteGlobalInfo("GenreInfo", {"Disc=ダイレクトプリント"});
    InstallDirectPrintSupport(nullptr);
    std::vector<TSizeAdjust> shown;
    SetDiscPrintWindows({.AdjustDiscSize = [&shown](TLabelData& document) {
        shown.push_back(document.GetSizeAdjust());
        return true;
    }});
    TfrmMain& main = window();
    QAction* adjust = main.Actions()["actAdjustCD"];
    EXPECT_EQ(adjust->toolTip(), QStringLiteral("外円・内円のサイズ調整をします"));
    emit main.FileMenu()->aboutToShow();
    EXPECT_FALSE(adjust->isEnabled()) << "a sheet of cards";
    adjust->trigger();
    EXPECT_TRUE(shown.empty());

    auto disc = GridPaper("Printable disc", 1, 1, fsDoughnut);
    disc->GroupName = "Disc";
    disc->ReadOnly = true;
    main.Document().SetPaper(*disc);
    emit main.FileMenu()->aboutToShow();
    EXPECT_TRUE(adjust->isEnabled());
    adjust->trigger();
    EXPECT_EQ(shown.size(), 1u);

    SetDiscPrintWindows({});
    ResetDirectPrintSupport();
}

}  // namespace
}  // namespace orvella::test
