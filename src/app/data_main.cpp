#include "app/data_main.h"

#include "app/about_window.h"
#include "frame/app_frame_client.h"
#include "frame/file_error.h"
#include "frame/help.h"
#include "app/instance_lock.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "print/system_printers.h"
#include "frame/startup_switches.h"
#include "app/window_placement.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QFileInfo>

namespace orvella {

TdataMain::TdataMain(TStartupOptions options) : options_(std::move(options))
{
    AppFrame1.Macro.Assign(ProgramMacroLines());
    AppFrame1.ExecuteCondition = ecNeedHighColor | ecNeedPrinter | ecExclusive;
    AppFrame1.Loaded(options_.Places);
    if (options_.Store)
        AppFrame1.SetSettingsStore(options_.Store);
    if (options_.UseMessageWindow)
        AppFrame1.OnMessageBox = ShowMessageWindow;
    AppFrame1.OnHelp = [this](int context) { ShowHelp(AppFrame1.HelpFile(), context); };
    QApplication::setApplicationName(QString::fromStdString(AppFrame1.Title()));
    GlobalNotify1.OnIdle = [this] { firstIdle(); };
}

TdataMain::~TdataMain()
{
    if (started_)
        DataFiles.RunAtExit();
    if (QWidget* main = mainWindow_ ? mainWindow_->Widget() : nullptr) {
        SetMainForm(nullptr);
        delete main;
    }
    delete splash_.data();
    if (host_)
        host_->Vtbl->Release(host_);
}

bool TdataMain::acquireExclusive()
{
    std::filesystem::path folder = options_.RuntimeFolder;
    if (folder.empty())
        folder = TInstanceLock::DefaultRuntimeFolder();
    if (folder.empty())
        return false;
    std::string id;
    try {
        id = ExpandMacros("$(SysMutexID)");
    } catch (const EMacroString&) {
        return false;
    }
    lock_ = std::make_unique<TInstanceLock>(id, folder);
    if (lock_->Acquire()) {
        lock_->OnDocument = [this](const QString& document) { OpenHandedDocument(document); };
        return true;
    }
    // The running instance has a working folder of its own: a relative name
    // means something only here.
    const QString& document = options_.Document;
    lock_->SendDocument(document.isEmpty() ? document : QFileInfo(document).absoluteFilePath());
    lock_.reset();
    return false;
}

bool TdataMain::Start()
{
    host_ = CreateAppFrameClient();
    try {
        const std::filesystem::path plugins = ExpandMacros("$(exeDir)Plugins");
        imagePlugins_.LoadFromFolder(plugins, host_);
        musicPlugins_.LoadFromFolder(plugins, host_);
    } catch (const EMacroString&) {
    }

    TSystemPrinterList systemPrinters;
    TExecuteProbes probes;
    probes.ScreenDepth = options_.ScreenDepth ? options_.ScreenDepth : PrimaryScreenDepth;
    probes.Printers = options_.Printers ? options_.Printers.get() : &systemPrinters;
    probes.AcquireExclusive = options_.AcquireExclusive ? options_.AcquireExclusive : [this] { return acquireExclusive(); };
    if (!AppFrame1.CheckExecuteCondition(probes))
        return false;

    if (options_.ShowSplash) {
        splash_ = new TfrmAbout(true);
        splash_->setAttribute(Qt::WA_DeleteOnClose);
        splash_->show();
    }

    ReadStartupSwitches();

    if (options_.RegisterDataFiles)
        options_.RegisterDataFiles(DataFiles);
    try {
        DataFiles.LoadAll();
    } catch (const EFileError& error) {
        if (splash_)
            splash_->close();
        ShowInfo(error.what());
        return false;
    }

    mainWindow_ = options_.CreateMainWindow ? options_.CreateMainWindow() : new TfrmMain;
    QWidget* main = mainWindow_->Widget();
    SetMainForm(main);
    main->show();
    if (splash_ && splash_->isVisible()) {
        main->setEnabled(false);
        splash_->raise();
    }
    started_ = true;
    return true;
}

void TdataMain::firstIdle()
{
    if (!started_ || firstIdleDone_)
        return;
    firstIdleDone_ = true;
    const QString& document = options_.Document;
    if (document.isEmpty() || !QFileInfo(document).isFile() || !mainWindow_->OpenDocument(document))
        mainWindow_->NewDocument();
    const QStringList pending = std::exchange(pendingDocuments_, {});
    for (const QString& handed : pending)
        OpenHandedDocument(handed);
}

void TdataMain::OpenHandedDocument(const QString& document)
{
    if (!started_ || !firstIdleDone_) {
        pendingDocuments_.append(document);
        return;
    }
    if (QWidget* main = mainWindow_->Widget()) {
        main->raise();
        main->activateWindow();
    }
    if (!document.isEmpty() && QFileInfo(document).isFile())
        mainWindow_->OpenDocument(document);
}

}  // namespace orvella
