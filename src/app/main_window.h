#pragma once
// TfrmMain: the program's main window. It owns the current label document,
// hosts one view at a time in its client panel and carries the document
// commands: new, open, save, save as, the picture export, the user paper
// backup, the start menu and help; it keeps the recent files and takes a
// file dropped on it.

#include "frame/history_manager.h"
#include "app/main_actions.h"
#include "app/main_window_interface.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QPushButton;
class QStackedWidget;

namespace orvella {

class IStartWizard;
class TDOList;
class TDropFile;
class THistoryMenu;
class THostedView;
class TLabelData;
struct TRect;

class TfrmMain : public QMainWindow, public IMainWindow {
public:
    // The views the panel can show; until the sheet and layout windows
    // exist both are plain views of the sheet.
    enum class TViewKind { Sheet, Layout };
    using TViewFactory = std::function<THostedView*(TViewKind, QWidget* parent)>;

    explicit TfrmMain(QWidget* parent = nullptr, TViewFactory views = {});
    ~TfrmMain() override;

    QWidget* Widget() override { return this; }
    // With an empty name the user chooses the file.
    bool OpenDocument(const QString& fileName) override;
    void NewDocument() override;
    // The dirty prompt: true when the caller may go on.
    bool ConfirmDiscard();
    // Saves under the document's name (asking for one when it has none);
    // true when the document was written.
    bool Save();
    bool SaveAs();
    void UpdateTitle();
    void ShowView(THostedView* view);
    // Replaces the current face's objects by objects made for a face with
    // the rectangle sourceFace; afterwards the document counts as unmodified.
    void ApplyTemplateObjects(const TRect& sourceFace, TDOList& objects);
    void ExportImage();
    void Print();
    // The size adjustment of a disc printed straight onto it.
    void AdjustDiscSize();
    // Sets the application printer to suit the document's paper.
    void PaperInfoToPrinter();
    void ImportPaper();
    void ExportPaper();
    void StartMenu();
    // What a drop of files onto the window does.
    void DropFiles(const QStringList& files);

    // The document counts as modified when it is, or the hosted view holds
    // edits not yet written into it.
    bool Modified() const;
    TLabelData& Document() const { return *document_; }
    const QString& DocumentFileName() const { return fileName_; }
    THostedView* HostedView() const { return hosted_; }
    THostedView* View(TViewKind kind) const { return kind == TViewKind::Sheet ? sheetView_ : layoutView_; }
    const TMainActions& Actions() const { return *actions_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }
    QMenu* RecentMenu() const { return recentMenu_; }

    THistoryManager hmOpenFile;
    THistoryManager hmFileFolder;
    TDropFile* DropFile1 = nullptr;
    QPushButton* btnStartupFinished = nullptr;
    // Makes the start wizard; without one (the wizard is not part of the
    // program yet) the start menu stays disabled.
    void SetStartWizardFactory(std::function<std::unique_ptr<IStartWizard>()> factory);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void createMenus();
    void connectActions();
    void startupFinished();
    void updateHelpMenu();
    void updateRecentMenu();
    // The disc size command only for a paper printed straight onto a disc.
    void updateDiscActions();
    void switchView(TViewKind kind);
    // Swaps document with the current one and shows it: document then holds
    // the one that was current.
    void replaceDocument(std::unique_ptr<TLabelData>& document, const QString& fileName);
    // The open command after the dirty prompt was answered.
    bool openAsked(const QString& fileName);
    bool loadDocument(const QString& fileName);
    bool writeDocument(const QString& fileName);
    void rememberFile(const QString& fileName);
    void forwardKey(QKeyEvent* event);

    std::unique_ptr<TLabelData> document_;
    QString fileName_;
    std::unique_ptr<TMainActions> actions_;
    QStackedWidget* FormPanel1 = nullptr;
    THostedView* sheetView_ = nullptr;
    THostedView* layoutView_ = nullptr;
    THostedView* hosted_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QList<QMenu*> viewMenus_;
    QMenu* recentMenu_ = nullptr;
    THistoryMenu* recentHistory_ = nullptr;
    std::function<std::unique_ptr<IStartWizard>()> createStartWizard_;
    bool forwardingKey_ = false;
};

// "$(TitleBarFormat)" with the document file's name (no folder), or
// "新規作成" for an untitled document.
QString MainWindowTitle(const QString& fileName);

// A picture file by its extension: one of "$(ImageFileExtentions)",
// ignoring case, that a registered picture reader reads; a name without
// extension is none.
bool IsImageFileName(const QString& fileName);

// Replaces each "%s" of pattern in turn by the next argument.
QString FormatText(QString pattern, const QStringList& arguments);

}  // namespace orvella
