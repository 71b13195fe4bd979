#pragma once
// TfrmLayout: the layout editor, the view in which the user designs one
// face of the current sheet. It shows the face on a draw site at a chosen
// zoom with rulers, guides and the snap grid, a miniature of the paper for
// switching faces, tabs for switching sheets, the creation and style tool
// bars and the status bar panels. Object editing itself (selection,
// handles, drag outlines, clipboard, undo) belongs to the drawing layer;
// this window loads the face's objects from the document, writes them
// back, and turns its commands into creation commands and operations over
// the selection.

#include "app/hosted_view.h"
#include "app/style_tool_bar.h"
#include "paper/face_info.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QScrollArea;
class QSlider;
class QStackedWidget;
class QToolBar;

namespace orvella {

class TDrawObject;
class TLOBackImage;
class TDrawSite;
class TDrawSiteEx;
class TDrawSiteWidget;
class TIdleNotify;
class TMoveModeBar;
class TPaperSite;
class TRuler;
class TSheetTabs;
class TShrinkPanel;
struct TSiteKeyEvent;
struct TSiteMouseEvent;

class TfrmLayout : public THostedView {
public:
    explicit TfrmLayout(QWidget* parent = nullptr);
    ~TfrmLayout() override;

    // --- the main window's calls ---
    void ShowDocument(TLabelData& data) override;
    void FlushFace() override;
    bool SiteModified() const override;
    void ClearSiteModified() override;
    void ResetView() override;
    QList<QMenu*> Menus() const override { return menus_; }
    bool AddImageFile(const QString& fileName) override;
    TDrawSite* CommandSite() const override;

    // Shows the current face of the current sheet.
    void LoadFace();

    // --- zoom ---
    // The fixed steps in percent, smallest first.
    static const std::array<int32_t, 7>& ZoomSteps();
    // The step Magnify or Reduce goes to from scale; scale itself at the ends.
    static int32_t NextZoom(int32_t scale, bool larger);
    int32_t Zoom() const;
    bool AutoZoom() const { return autoZoom_; }
    // A fixed zoom, or 0 for automatic.
    void SetZoom(int32_t scale);
    void Magnify();
    void Reduce();
    // The zoom the next layout window starts with: 0 for automatic.
    static int32_t RememberedZoom();
    // A document was opened: the next window starts automatic.
    static void ForgetZoom();

    // --- parts, for the program's tests and tools ---
    TDrawSiteEx& Site() const { return *site_; }
    TDrawSiteWidget* SiteWidget() const { return siteWidget_; }
    QScrollArea* ScrollBox() const { return scrollBox_; }
    TPaperSite& PaperSite() const { return *paperSite_; }
    TRuler* HorizontalRuler() const { return hRuler_; }
    TRuler* VerticalRuler() const { return vRuler_; }
    TSheetTabs* SheetTabs() const { return tabs_; }
    TStyleToolBar* StyleBar() const { return styleBar_; }
    TMoveModeBar* MoveModeBar() const { return moveBar_; }
    const TFaceInfo& Face() const { return face_; }
    TLabelData* Document() const { return data_; }
    // A command of the editor by name (actText, act100, actGroup …).
    QAction* Action(const std::string& name) const;
    const std::map<std::string, QAction*>& Actions() const { return actions_; }
    // The status bar's panel texts, 0 to 5.
    QString StatusText(int panel) const;
    // The defaults new objects get.
    const TStyleToolSpec& StyleDefaults() const { return defaults_; }

    // --- guides ---
    // Starts dragging a new guide from a ruler; false (after the message)
    // when every slot is taken.
    bool AddGuide(bool vertical);
    bool DraggingGuide() const { return guideSlot_ >= 0; }
    // What the drag hint shows.
    QString GuideHint() const;

    // Runs the idle work now (tests do not wait for idle moments).
    void Idle();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (layout_window.cpp).
    void buildSite();
    void buildSidePanel(QWidget* side);
    void buildStatusPanels();
    QWidget* buildMoveModePanel();

    // Commands (layout_commands.cpp).
    void createActions();
    void createMenus();
    void createToolBars();
    QAction* addAction(const char* name, const QString& caption, const char* shortcut = "");
    void createObject(const char* className);
    void selectTool();
    void adjustPosition();
    void alignObjects();
    void groupObjects();
    void ungroupObjects();
    void splitTexts();
    void gridSettings();
    void toggleGuides();
    void editCreator();
    void editBackground();
    void updateCommands();
    void mainAction(const char* name);
    void showContextMenu(QPoint globalPos);
    void showBackgroundPositions();
    // The face's backgrounds (a face normally has one), and the first whose
    // fill is a picture.
    std::vector<TLOBackImage*> backgrounds() const;
    TLOBackImage* pictureBackground() const;

    // The face on the site (layout_face.cpp).
    void objectCreated(TDrawObject& object);
    void applyStyle(TStyleChange change);
    void showSelectionStyle();
    void arrowKey(const TSiteKeyEvent& event);
    void faceClicked();
    void sheetChanged(int index);
    void fillSheetTabs();
    void installHooks();
    void removeHooks();

    // Zoom and overlay (layout_window.cpp).
    void applyZoom();
    void updateRulers();
    void scrollSelectionIntoView();
    void paintOverlay(TCanvas& canvas);
    void siteMouseMove(const TSiteMouseEvent& event);
    void updateStatus();

    // Guides (layout_guides.cpp).
    bool guideMouseDown(const TSiteMouseEvent& event);
    int guideAt(TPoint device, bool& vertical) const;
    void moveGuide(TPoint device, bool exact);
    void endGuideDrag(bool store);
    void showGuideHint(QPoint globalPos);

    TLabelData* data_ = nullptr;
    std::unique_ptr<TDrawSiteEx> site_;
    std::unique_ptr<TPaperSite> paperSite_;
    TDrawSiteWidget* siteWidget_ = nullptr;
    TDrawSiteWidget* paperWidget_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    TRuler* hRuler_ = nullptr;
    TRuler* vRuler_ = nullptr;
    TSheetTabs* tabs_ = nullptr;
    TStyleToolBar* styleBar_ = nullptr;
    TMoveModeBar* moveBar_ = nullptr;
    QSlider* blend_ = nullptr;
    QLabel* blendValue_ = nullptr;
    std::array<TShrinkPanel*, 3> panels_{};
    std::array<QLabel*, 6> statusPanels_{};
    QLabel* guideHint_ = nullptr;
    std::map<std::string, QAction*> actions_;
    QList<QMenu*> menus_;
    QList<QToolBar*> toolBars_;
    std::unique_ptr<TIdleNotify> idle_;
    // The paper's pattern shown on the miniature (owned by its site).
    std::vector<TDrawObject*> miniaturePatterns_;

    TFaceInfo face_;
    std::shared_ptr<const class TPaperInfo> paper_;
    TStyleToolSpec defaults_;
    bool autoZoom_ = true;
    bool hooksInstalled_ = false;
    bool selectionWasEmpty_ = true;
    TPoint mouse_{-1, -1};  // logical, in the face; x < 0 while outside
    bool mouseInside_ = false;

    int guideSlot_ = -1;
    bool guideVertical_ = false;
    int32_t guidePosition_ = 0;  // logical
};

}  // namespace orvella
