// The start-up sequence in-process, with fake probes and data files: each
// failure shows its message and creates no main window; success creates it
// and opens the first document at the first idle moment.

#include "app/data_main.h"
#include "app/hosted_view.h"
#include "app/instance_lock.h"
#include "app/main_window.h"
#include "app/main_window_interface.h"
#include "app/prepare_form.h"
#include "frame/printer_list.h"
#include "app/window_placement.h"
#include "../paper/paper_fixtures.h"
#include "paper/copy_papers.h"
#include "paper/paper_info.h"
#include "paper/papers.h"
#include "paper/program_catalog.h"
#include "platform/settings_store.h"
#include "support/idle_moments.h"
#include "support/tool_runner.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

class FakeMainWindow : public QMainWindow, public IMainWindow {
public:
    FakeMainWindow()
    {
        setObjectName(QStringLiteral("frmMain"));
        setWindowTitle(QStringLiteral("$(AppName)"));
        PrepareForm(this);
    }
    QWidget* Widget() override { return this; }
    bool OpenDocument(const QString& fileName) override
    {
        opened << fileName;
        return fileName.endsWith(QLatin1String(".ovd"));
    }
    void NewDocument() override { ++newDocuments; }
    QStringList opened;
    int newDocuments = 0;
};

class NoPrinters : public IPrinterList {
public:
    std::vector<std::string> Names() const override { return {}; }
    std::string DefaultName() const override { return {}; }
    bool CanOpen(const std::string&) const override { return false; }
};

class Startup : public ::testing::Test {
protected:
    Startup()
    {
        std::filesystem::create_directories(dir_.File("share/orvella"));
        options_.Places = {dir_.File("share/orvella/"), dir_.File("share/orvella/orvella"), dir_.File("data/")};
        options_.Store = std::make_shared<TSettingsStore>(dir_.File("settings.ini"));
        options_.ScreenDepth = [] { return 32; };
        options_.AcquireExclusive = [] { return true; };
        options_.ShowSplash = false;
        options_.UseMessageWindow = false;
        options_.CreateMainWindow = [this] {
            window_ = new FakeMainWindow;
            return window_;
        };
        options_.RegisterDataFiles = [](TDataFileRegistry& registry) {
            registry.Register({TDataFileStage::SystemPaper, "$(SystemPaperInfo)", TDataFileRule::Required, {}});
        };
        WriteFile(dir_.File("share/orvella/orvella.ppr"), "papers");
    }

    // Runs the start, returning what it wrote on standard error.
    std::string start(TdataMain& data, bool& started)
    {
        ::testing::internal::CaptureStderr();
        started = data.Start();
        return ::testing::internal::GetCapturedStderr();
    }

    TempDir dir_;
    TStartupOptions options_;
    FakeMainWindow* window_ = nullptr;
};

TEST_F(Startup, SuccessCreatesTheMainWindowAndStartsANewDocumentWhenIdle)
{
    WriteFile(dir_.File("label.ovd"), "doc");
    options_.Document = QString::fromStdString(dir_.File("label.ovd"));
    TdataMain data(options_);
    bool started = false;
    EXPECT_EQ(start(data, started), "");
    ASSERT_TRUE(started);
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(MainForm(), window_);
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Orvella"));
    EXPECT_TRUE(window_->isVisible());

    ASSERT_TRUE(RunIdleMoments());
    ASSERT_FALSE(window_->opened.isEmpty()) << "the first idle moment opened no document";
    ASSERT_EQ(window_->opened.size(), 1);
    EXPECT_EQ(window_->opened[0], options_.Document);
    EXPECT_EQ(window_->newDocuments, 0);
    // A document handed over by a later start opens in the running window.
    data.OpenHandedDocument(options_.Document);
    EXPECT_EQ(window_->opened.size(), 2);
}

TEST_F(Startup, WithoutADocumentANewOneIsStartedOnce)
{
    options_.Document = QString::fromStdString(dir_.File("missing.ovd"));
    TdataMain data(options_);
    bool started = false;
    start(data, started);
    ASSERT_TRUE(started);
    ASSERT_TRUE(RunIdleMoments());
    ASSERT_GT(window_->newDocuments, 0) << "the first idle moment started no new document";
    ASSERT_TRUE(RunIdleMoments(3));
    EXPECT_EQ(window_->newDocuments, 1) << "later idle moments start no other";
    EXPECT_TRUE(window_->opened.isEmpty());
}

// The program's own main window: the first idle moment leaves it on a new,
// untitled document on the catalog's first paper, shown in the client panel.
TEST_F(Startup, TheMainWindowStartsOnANewDocumentOnTheDefaultPaper)
{
    options_.CreateMainWindow = {};
    options_.RegisterDataFiles = [](TDataFileRegistry& registry) {
        registry.Register({TDataFileStage::SystemPaper, "$(SystemPaperInfo)", TDataFileRule::Required,
                           [](const std::filesystem::path& file) {
                               auto catalog = std::make_unique<TPapersV2>(file.string() + ".work", true, false, true);
                               TMatrixPaperInfo paper;
                               paper.PaperName = "Card";
                               paper.PortraitWidth = 2100;
                               paper.PortraitHeight = 2970;
                               paper.FaceWidth = 1000;
                               paper.FaceHeight = 500;
                               paper.FaceCountX = paper.FaceCountY = 1;
                               catalog->Store(paper);
                               SetProgramPapers(std::move(catalog));
                           }});
    };
    // Leaves no catalog behind for later tests, also when an assertion ends this one.
    struct PapersReset {
        ~PapersReset() { SetProgramPapers(nullptr); }
    } papersReset;
    {
        TdataMain data(options_);
        bool started = false;
        start(data, started);
        ASSERT_TRUE(started);
        auto* main = dynamic_cast<TfrmMain*>(data.MainWindow());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(RunIdleMomentsUntil([main] { return main->HostedView() != nullptr; })) << "no view in the panel";
        // Once idle, the sheet fills the middle of the panel: white paper on
        // the window's grey (an empty view shows only the grey).
        const auto centre = [main] {
            const QImage shown = main->HostedView()->grab().toImage();
            return shown.pixelColor(shown.width() / 2, shown.height() / 2);
        };
        ASSERT_TRUE(RunIdleMomentsUntil([&centre] { return centre() == QColor(Qt::white); }))
            << "the centre stays " << centre().name().toStdString();
        EXPECT_TRUE(main->HostedView()->isVisible());
        EXPECT_EQ(main->windowTitle(), QStringLiteral("Orvella - 新規作成"));
        EXPECT_TRUE(main->close());
    }
}

struct FailureCase {
    const char* name;
    std::function<void(TStartupOptions&, const TempDir&)> arrange;
    const char* message;
};

class StartupFailure : public Startup, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailure, ShowsItsMessageAndCreatesNoMainWindow)
{
    GetParam().arrange(options_, dir_);
    TdataMain data(options_);
    bool started = true;
    const std::string err = start(data, started);
    EXPECT_FALSE(started);
    EXPECT_FALSE(data.Started());
    EXPECT_EQ(window_, nullptr);
    EXPECT_EQ(MainForm(), nullptr);
    EXPECT_EQ(err, std::string("orvella: ") + GetParam().message + "\n");
}

INSTANTIATE_TEST_SUITE_P(Paths, StartupFailure, ::testing::Values(
    FailureCase{"LowColourUnattended",
                [](TStartupOptions& o, const TempDir&) { o.ScreenDepth = [] { return 8; }; },
                "「Orvella」は、32,000色以上の 表示環境でご使用ください。 正しく表示できないことがありますが起動しますか？"},
    FailureCase{"NoPrinter",
                [](TStartupOptions& o, const TempDir&) { o.Printers = std::make_shared<NoPrinters>(); },
                "通常使うプリンタがセットされていません コントロールパネルのプリンタを開いて設定してください"},
    FailureCase{"AlreadyRunning",
                [](TStartupOptions& o, const TempDir&) { o.AcquireExclusive = [] { return false; }; },
                "Orvellaは、すでに実行中です"},
    FailureCase{"MissingSystemPaper",
                [](TStartupOptions&, const TempDir& dir) { std::filesystem::remove(dir.File("share/orvella/orvella.ppr")); },
                "アプリケーションに必要なファイル「orvella.ppr」が開けませんでした"}),
    [](const auto& info) { return std::string(info.param.name); });

// The program's own data files, read-only as an installation leaves them
// for its users: the user's papers still come back in the next run.
TEST_F(Startup, AUserPaperImportedInOneRunIsThereInTheNext)
{
    const std::string system = dir_.File("share/orvella/orvella.ppr");
    {
        TPapersV2 catalog(system, true, false, true);
        catalog.AddStandardSections();
        auto paper = GridPaper("System card", 1, 1);
        paper->ReadOnly = true;
        catalog.Store(*paper);
        catalog.Close();
    }
    const std::string backup = dir_.File("backup.ppb");
    {
        TPapersV2 made(backup, true, false, true);
        made.AddStandardSections();
        made.Store(*GridPaper("Mine", 2, 1));
        made.Close();
    }
    namespace fs = std::filesystem;
    fs::permissions(system, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir_.File("share/orvella"), fs::perms::owner_read | fs::perms::owner_exec);
    options_.RegisterDataFiles = RegisterProgramDataFiles;
    const std::string userFile = dir_.File("data/Orvella/1.0/UserPaper.ppr");

    {
        TdataMain data(options_);
        bool started = false;
        EXPECT_EQ(start(data, started), "");
        ASSERT_TRUE(started);
        EXPECT_FALSE(ProgramPapers().Modified());
        ImportUserPapers(ProgramPapers(), backup);
    }
    EXPECT_TRUE(fs::exists(userFile));
    SetProgramPapers(nullptr);

    {
        TdataMain data(options_);
        bool started = false;
        EXPECT_EQ(start(data, started), "");
        ASSERT_TRUE(started);
        ASSERT_EQ(ProgramPapers().Count(), 2);
        EXPECT_EQ(ProgramPapers().Papers(1).PaperName, "Mine");
        EXPECT_EQ(ProgramPapers().Papers(1).GetFaceCount(), 2);
        EXPECT_FALSE(ProgramPapers().Modified());
        // Importing again stores the paper over itself, and the next run
        // still finds it once.
        ImportUserPapers(ProgramPapers(), backup);
    }
    SetProgramPapers(nullptr);
    {
        TdataMain data(options_);
        bool started = false;
        start(data, started);
        ASSERT_TRUE(started);
        EXPECT_EQ(ProgramPapers().Count(), 2);
    }
    SetProgramPapers(nullptr);
    fs::permissions(dir_.File("share/orvella"), fs::perms::owner_all);
}

// A later start hands its document to the running one, which has its own
// working folder: a relative name goes over as a full path.
TEST_F(Startup, ARelativeDocumentIsHandedOverWithItsFullPath)
{
    const std::string runtime = dir_.File("runtime");
    std::filesystem::create_directories(runtime);
    TInstanceLock running("Orvella.1.0.Karvane.Japan", runtime);
    ASSERT_TRUE(running.Acquire());
    QStringList received;
    running.OnDocument = [&received](const QString& document) { received << document; };

    options_.AcquireExclusive = {};
    options_.RuntimeFolder = runtime;
    options_.Document = QStringLiteral("label.ovd");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir_.Path())));
    {
        TdataMain data(options_);
        bool started = true;
        start(data, started);
        EXPECT_FALSE(started);
    }
    QDir::setCurrent(before);
    QTRY_COMPARE(received.size(), 1);
    EXPECT_EQ(received[0], QString::fromStdString(dir_.File("label.ovd")));
}

TEST_F(Startup, TheExitWorkRunsOnlyAfterASuccessfulStart)
{
    int saved = 0;
    options_.RegisterDataFiles = [&saved](TDataFileRegistry& registry) {
        registry.RegisterAtExit([&saved] { ++saved; });
    };
    {
        TdataMain data(options_);
        bool started = false;
        start(data, started);
        ASSERT_TRUE(started);
    }
    EXPECT_EQ(saved, 1);
    options_.AcquireExclusive = [] { return false; };
    {
        TdataMain data(options_);
        bool started = true;
        start(data, started);
        ASSERT_FALSE(started);
    }
    EXPECT_EQ(saved, 1);
}

}  // namespace
}  // namespace orvella::test
