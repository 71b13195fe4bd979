#include "app/main_window.h"
#include "app/printer_setup.h"

#include "app/about_window.h"
#include "frame/app_frame.h"
#include "app/drop_file.h"
#include "app/edit_targets.h"
#include "app/history_menu.h"
#include "app/hosted_view.h"
#include "app/layout_window.h"
#include "app/plain_sheet_view.h"
#include "app/prepare_form.h"
#include "app/start_wizard.h"
#include "app/window_placement.h"
#include "objects/object_classes.h"
#include "music/album_info.h"
#include "music/music_file_image.h"
#include "document/effective_paper.h"
#include "document/label_data.h"
#include "paper/paper_info.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>

namespace orvella {

namespace {

// The maker's web page (actHomepage).
constexpr const char* kHomepage = "https://www.tessmark.example/orvella/";

QString expanded(const char* text)
{
    try {
        return QString::fromStdString(ExpandMacros(text));
    } catch (const EMacroString&) {
        return QString::fromUtf8(text);
    }
}

}  // namespace

QString FormatText(QString pattern, const QStringList& arguments)
{
    qsizetype from = 0;
    for (const QString& argument : arguments) {
        const qsizetype at = pattern.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        pattern.replace(at, 2, argument);
        from = at + argument.size();
    }
    return pattern;
}

QString MainWindowTitle(const QString& fileName)
{
    const QString name = fileName.isEmpty() ? QStringLiteral("新規作成") : QFileInfo(fileName).fileName();
    return FormatText(expanded("$(TitleBarFormat)"), {name});
}

TfrmMain::TfrmMain(QWidget* parent, TViewFactory views)
    : QMainWindow(parent), document_(std::make_unique<TLabelData>())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("$(AppName)"));

    hmOpenFile.RegistryKey = "$(OpenFileHistory)";
    hmOpenFile.Limit = 10;
    hmFileFolder.RegistryKey = "$(LabelDataHistory)";

    RegisterObjectClasses();
    // Albums are read from the album store and covers from music files.
    RegisterAlbumClasses();
    RegisterMusicFileImages();
    // The edit commands of the views act on whatever has the focus.
    InstallEditCommandTargets();
    actions_ = std::make_unique<TMainActions>(this);
    const bool showHints = GetSettingBool("DefaultShowHint", true);
    for (const auto& [name, action] : actions_->All()) {
        addAction(action);
        if (!showHints)
            action->setToolTip(QStringLiteral(" "));
    }

    // The splash presses this when it closes.
    btnStartupFinished = new QPushButton(this);
    btnStartupFinished->setObjectName(QStringLiteral("btnStartupFinished"));
    btnStartupFinished->hide();
    connect(btnStartupFinished, &QPushButton::clicked, this, [this] { startupFinished(); });

    DropFile1 = new TDropFile(this);
    DropFile1->OneFileOnly = true;
    DropFile1->OnDrop = [this](const QStringList& files) { DropFiles(files); };

    FormPanel1 = new QStackedWidget(this);
    FormPanel1->setObjectName(QStringLiteral("FormPanel1"));
    setCentralWidget(FormPanel1);
    if (!views)
        views = [](TViewKind kind, QWidget* panel) -> THostedView* {
            if (kind == TViewKind::Layout)
                return new TfrmLayout(panel);
            return new TPlainSheetView(panel);
        };
    sheetView_ = views(TViewKind::Sheet, FormPanel1);
    layoutView_ = views(TViewKind::Layout, FormPanel1);
    FormPanel1->addWidget(sheetView_);
    if (layoutView_ != sheetView_)
        FormPanel1->addWidget(layoutView_);

    createMenus();
    connectActions();
    PrepareForm(this);
    UpdateTitle();
}

TfrmMain::~TfrmMain()
{
    // The views hold the document; they go first.
    delete FormPanel1;
    FormPanel1 = nullptr;
}

void TfrmMain::createMenus()
{
    const TMainActions& act = *actions_;
    fileMenu_ = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu_->setObjectName(QStringLiteral("FileMenu"));
    fileMenu_->addAction(act["actNew"]);
    fileMenu_->addAction(act["actOpen"]);
    fileMenu_->addAction(act["actTemplate"]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(act["actSave"]);
    fileMenu_->addAction(act["actSaveAs"]);
    fileMenu_->addAction(act["actExport"]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(act["actSelectPaper"]);
    fileMenu_->addAction(act["actAdjustCD"]);
    fileMenu_->addAction(act["actPrinterSetup"]);
    fileMenu_->addAction(act["actPrint"]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(act["actImportPaper"]);
    fileMenu_->addAction(act["actExportPaper"]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(act["actEnvironment"]);
    // The start menu under the name the user knows it by.
    QAction* startItem = fileMenu_->addAction(QStringLiteral("Pelsaナビの起動(&W)..."));
    startItem->setObjectName(QStringLiteral("mnuStartMenu"));
    connect(startItem, &QAction::triggered, act["actStartMenu"], &QAction::trigger);
    connect(act["actStartMenu"], &QAction::changed, startItem,
            [startItem, start = act["actStartMenu"]] { startItem->setEnabled(start->isEnabled()); });
    startItem->setEnabled(act["actStartMenu"]->isEnabled());
    fileMenu_->addSeparator();
    recentMenu_ = fileMenu_->addMenu(QStringLiteral("最近使ったファイル(&D)"));
    recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
    fileMenu_->addSeparator();
    fileMenu_->addAction(act["actExit"]);
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
        updateRecentMenu();
        updateDiscActions();
    });

    recentHistory_ = new THistoryMenu(hmOpenFile, recentMenu_, nullptr, this);
    recentHistory_->UseAccelerator = true;
    recentHistory_->ClearHistoryCaption = QStringLiteral("履歴の消去");
    recentHistory_->OnMenuClick = [this](const std::string& item) { OpenDocument(QString::fromStdString(item)); };
    hmOpenFile.OnChange = [this] {
        recentHistory_->Rebuild();
        updateRecentMenu();
    };
    recentHistory_->Rebuild();
    updateRecentMenu();

    viewMenu_ = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    viewMenu_->setObjectName(QStringLiteral("ViewMenu"));
    viewMenu_->addAction(act["actSheet"]);
    viewMenu_->addAction(act["actLayout"]);

    helpMenu_ = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    helpMenu_->setObjectName(QStringLiteral("HelpMenu"));
    helpMenu_->addAction(act["actHelp"]);
    helpMenu_->addAction(act["actHomepage"]);
    helpMenu_->addSeparator();
    helpMenu_->addAction(act["actUpdatePaper"]);
    helpMenu_->addAction(act["actAdvancedPaper"]);
    helpMenu_->addAction(act["actAdvancedURL"]);
    helpMenu_->addAction(act["actComponentViewer"]);
    helpMenu_->addSeparator();
    helpMenu_->addAction(act["actAbout"]);
    connect(helpMenu_, &QMenu::aboutToShow, this, [this] { updateHelpMenu(); });
    updateHelpMenu();
}

void TfrmMain::connectActions()
{
    const TMainActions& act = *actions_;
    connect(act["actNew"], &QAction::triggered, this, [this] { NewDocument(); });
    connect(act["actOpen"], &QAction::triggered, this, [this] { OpenDocument({}); });
    connect(act["actSave"], &QAction::triggered, this, [this] { Save(); });
    connect(act["actSaveAs"], &QAction::triggered, this, [this] { SaveAs(); });
    connect(act["actExit"], &QAction::triggered, this, &QWidget::close);
    connect(act["actExport"], &QAction::triggered, this, [this] { ExportImage(); });
    connect(act["actPrint"], &QAction::triggered, this, [this] { Print(); });
    act["actAdjustCD"]->setStatusTip(QStringLiteral("外円・内円のサイズ調整をします"));
    act["actAdjustCD"]->setToolTip(QStringLiteral("外円・内円のサイズ調整をします"));
    connect(act["actAdjustCD"], &QAction::triggered, this, [this] { AdjustDiscSize(); });
    connect(act["actPaperInfoToPrinter"], &QAction::triggered, this, [this] { PaperInfoToPrinter(); });
    connect(act["actPrinterSetup"], &QAction::triggered, this, [this] {
        TfrmPrinterSetup setup(this);
        setup.exec();
    });
    connect(act["actImportPaper"], &QAction::triggered, this, [this] { ImportPaper(); });
    connect(act["actExportPaper"], &QAction::triggered, this, [this] { ExportPaper(); });
    connect(act["actStartMenu"], &QAction::triggered, this, [this] { StartMenu(); });
    connect(act["actHelp"], &QAction::triggered, this, [] {
        if (TAppFrame* frame = AppFrame())
            frame->Help(0);
    });
    connect(act["actHomepage"], &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomepage))); });
    connect(act["actAbout"], &QAction::triggered, this, [this] {
        TfrmAbout about(false, this);
        about.exec();
    });
    connect(act["actSheet"], &QAction::triggered, this, [this] { switchView(TViewKind::Sheet); });
    connect(act["actLayout"], &QAction::triggered, this, [this] { switchView(TViewKind::Layout); });
}

void TfrmMain::SetStartWizardFactory(std::function<std::unique_ptr<IStartWizard>()> factory)
{
    createStartWizard_ = std::move(factory);
    (*actions_)["actStartMenu"]->setEnabled(bool(createStartWizard_));
}

void TfrmMain::updateHelpMenu()
{
    const bool special = GetSettingBool("EnableSpecialMenu", false);
    for (const char* name : {"actAdvancedPaper", "actAdvancedURL", "actComponentViewer"})
        (*actions_)[name]->setVisible(special);
}

void TfrmMain::updateDiscActions()
{
    const std::shared_ptr<const TPaperInfo> paper = document_->EffectivePaper();
    const auto& direct = DirectPrintSupport().IsDirectPrintPaper;
    (*actions_)["actAdjustCD"]->setEnabled(paper && direct && direct(*paper));
}

void TfrmMain::updateRecentMenu()
{
    recentMenu_->setEnabled(!hmOpenFile.Items().empty());
}

void TfrmMain::startupFinished()
{
    if (GetSettingBool("StartWizard", true) && createStartWizard_)
        StartMenu();
}

void TfrmMain::UpdateTitle() { setWindowTitle(MainWindowTitle(fileName_)); }

bool TfrmMain::Modified() const { return document_->Modified() || (hosted_ && hosted_->SiteModified()); }

void TfrmMain::ShowView(THostedView* view)
{
    if (hosted_ && hosted_ == layoutView_)
        hosted_->FlushFace();
    // The view's own menus stand before the view menu while it is shown.
    if (view->Menus() != viewMenus_) {
        for (QMenu* menu : viewMenus_)
            menuBar()->removeAction(menu->menuAction());
        viewMenus_ = view->Menus();
        for (QMenu* menu : viewMenus_)
            menuBar()->insertMenu(viewMenu_->menuAction(), menu);
    }
    hosted_ = view;
    FormPanel1->setCurrentWidget(view);
    view->ShowDocument(*document_);
}

void TfrmMain::switchView(TViewKind kind)
{
    if (hosted_ && !hosted_->CloseQuery())
        return;
    THostedView* view = View(kind);
    // Which view the document was left in is remembered with it, but
    // looking at it another way is no change that asks to be saved.
    const bool modified = document_->Modified();
    document_->SetSheetMode(kind == TViewKind::Sheet);
    document_->SetModified(modified);
    ShowView(view);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!ConfirmDiscard()) {
        event->ignore();
        return;
    }
    SaveMainWindowPlacement(this);
    QMainWindow::closeEvent(event);
}

void TfrmMain::forwardKey(QKeyEvent* event)
{
    // An event the view leaves unaccepted comes back up to this window.
    if (!hosted_ || forwardingKey_ || hosted_->isAncestorOf(focusWidget())) {
        event->ignore();
        return;
    }
    forwardingKey_ = true;
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat());
    QCoreApplication::sendEvent(hosted_, &copy);
    forwardingKey_ = false;
    event->setAccepted(copy.isAccepted());
}

void TfrmMain::keyPressEvent(QKeyEvent* event) { forwardKey(event); }

void TfrmMain::keyReleaseEvent(QKeyEvent* event) { forwardKey(event); }

}  // namespace orvella
