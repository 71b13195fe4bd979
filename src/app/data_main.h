#pragma once
// TdataMain: the first object the program creates. It holds the application
// frame and runs the start-up sequence: plug-ins, execution conditions, the
// splash, the data files, the main window; at the first idle moment it opens
// the document named on the command line (or a new one), and at the end it
// runs the data files' exit work.

#include "frame/app_frame.h"
#include "frame/data_files.h"
#include "frame/global_notify.h"
#include "app/main_window_interface.h"
#include "frame/plugin_list.h"
#include "frame/program_macros.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>

namespace orvella {

class IPrinterList;
class TInstanceLock;
class TSettingsStore;
class TfrmAbout;

// The data files of the program, registered in their order (the one place
// where floors that own data files plug into the start-up).
void RegisterProgramDataFiles(TDataFileRegistry& registry);

struct TStartupOptions {
    // The document named on the command line (empty: none).
    QString Document;
    TProgramPlaces Places = ProgramPlaces();
    // The settings store; null opens the user's.
    std::shared_ptr<TSettingsStore> Store;
    // Probes for the execution conditions; unset ones use the system's.
    std::function<int()> ScreenDepth;
    std::shared_ptr<const IPrinterList> Printers;
    std::function<bool()> AcquireExclusive;
    // Where the single-instance lock lives (empty: the user's runtime folder).
    std::filesystem::path RuntimeFolder;
    std::function<void(TDataFileRegistry&)> RegisterDataFiles = RegisterProgramDataFiles;
    std::function<IMainWindow*()> CreateMainWindow;
    bool ShowSplash = true;
    // Message boxes through the message window (off: through standard error only).
    bool UseMessageWindow = true;
};

class TdataMain : public QObject {
public:
    explicit TdataMain(TStartupOptions options);
    ~TdataMain() override;

    // The creation handler: true when the main window was created; false
    // when a condition or a data file failed (the message has been shown).
    bool Start();

    TAppFrame AppFrame1;
    TGlobalNotify GlobalNotify1;
    TDataFileRegistry DataFiles;

    bool Started() const noexcept { return started_; }
    IMainWindow* MainWindow() const noexcept { return mainWindow_; }
    const TPluginList& ImagePlugins() const noexcept { return imagePlugins_; }
    const TPluginList& MusicPlugins() const noexcept { return musicPlugins_; }

    // A document handed over by a later start: opened now when the main
    // window exists, else after the first idle moment.
    void OpenHandedDocument(const QString& document);

private:
    bool acquireExclusive();
    void firstIdle();

    TStartupOptions options_;
    IAppFrameClient* host_ = nullptr;
    TPluginList imagePlugins_{CATID_ImageImport};
    TPluginList musicPlugins_{CATID_MusicDisc};
    std::unique_ptr<TInstanceLock> lock_;
    QPointer<TfrmAbout> splash_;
    IMainWindow* mainWindow_ = nullptr;
    QStringList pendingDocuments_;
    bool started_ = false;
    bool firstIdleDone_ = false;
};

}  // namespace orvella
