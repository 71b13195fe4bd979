// The layout editor's commands: object creation, the edit and position
// commands over the selection, zoom, grid, guides and move modes, and the
// menus and tool bars that carry them.

#include "app/layout_window.h"

#include "app/draw_site_widget.h"
#include "app/layout_dialogs.h"
#include "app/layout_glyphs.h"
#include "app/main_actions.h"
#include "app/main_window.h"
#include "app/move_mode_bar.h"
#include "document/document_classes.h"
#include "document/do_group.h"
#include "document/grid.h"
#include "document/guide.h"
#include "document/label_data.h"
#include "document/layout_operations.h"
#include "document/paper_pattern.h"
#include "document/print_flag_actions.h"
#include "document/product_info.h"
#include "drawing/action_list.h"
#include "drawing/designer.h"
#include "drawing/do_actions.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_site.h"
#include "drawing/draw_site_action_edit.h"
#include "drawing/draw_site_action_object.h"
#include "drawing/ghost_list.h"
#include "drawing/universal_ghost.h"
#include "formats/component.h"
#include "frame/app_frame.h"
#include "objects/image_classes.h"
#include "objects/lo_back_image.h"
#include "objects/lo_image.h"
#include "objects/lo_text.h"
#include "objects/split_text.h"
#include "objects/text_fields.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QToolBar>

namespace orvella {

namespace {

struct TCreationRow {
    const char* Name;
    const char* Caption;
    const char* ClassName;
};

// The creation commands; a kind whose class the program does not have yet
// stays disabled.
constexpr TCreationRow kCreationCommands[] = {
    {"actText", "文字(&T)...", "TLOText"},
    {"actDate", "日付・時間(&D)...", "TLODate"},
    {"actDecoString", "飾り文字(&I)...", "TLODecoString"},
    {"actLine", "直線(&L)", "TLOLine"},
    {"actArc", "円弧(&A)", "TLOCurve"},
    {"actRect", "四角(&R)", "TLORect"},
    {"actCircle", "円(&E)", "TLOCircle"},
    {"actDecoLine", "飾り罫線(&D)...", "TLODecoLine"},
    {"actAlphaMask", "塗りつぶしイラスト(&A)", "TLOAlphaMask"},
    {"actOnePoint", "ワンポイントイラスト(&O)...", "TLOOnePoint"},
    {"actImageFile", "イメージファイル(&F)...", "TLOImage"},
    {"actArrangedImage", "複数画像(&R)...", "TLOArrangedImage"},
    {"actTwain", "TWAIN取り込み(&T)...", "TLOTwain"},
    {"actJANCode", "JANコード(&J)...", "TLOJANCode"},
    {"actQRStd", "QRコード(&Q)...", "TLOQRStd"},
    {"actPasteText", "文字列(&T)", "TLOTextPaste"},
    {"actPasteBitmap", "ビットマップ(&B)", "TLOBitmapPaste"},
    {"actPasteMetafile", "メタファイル(&M)", "TLOMetafilePaste"},
    {"actPasteOLEObject", "OLEオブジェクト(&O)", "TLOOLEPaste"},
};

// Whether the designers can make an object for a creation command.
bool creatable(const char* className)
{
    static std::map<std::string, bool> known;
    const auto it = known.find(className);
    if (it != known.end())
        return it->second;
    bool result = false;
    try {
        result = DesignerList().CreateInstance(className) != nullptr;
    } catch (const std::exception&) {
    }
    known[className] = result;
    return result;
}

const char* const kMoveCommands[] = {"actFreeMove", "actCircumMove", "actToggleMoveMode", "actParallelMove",
                                     "actCircumRotate", "actRotateMove", "act60Phase", "act12Phase",
                                     "act8Phase", "actCircumPhased"};

}  // namespace

TDrawSite* TfrmLayout::CommandSite() const { return data_ ? site_.get() : nullptr; }

QAction* TfrmLayout::addAction(const char* name, const QString& caption, const char* shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (*shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setToolTip(ActionHint(caption));
    action->setIcon(LayoutGlyph(name));
    THostedView::addAction(action);
    actions_[name] = action;
    return action;
}

void TfrmLayout::createActions()
{
    for (const TCreationRow& row : kCreationCommands) {
        QAction* action = addAction(row.Name, QString::fromUtf8(row.Caption));
        action->setProperty("creates", QString::fromLatin1(row.ClassName));
        connect(action, &QAction::triggered, this, [this, className = row.ClassName] { createObject(className); });
    }
    connect(addAction("actBackground", QStringLiteral("背景柄(&B)...")), &QAction::triggered, this,
            [this] { editBackground(); });
    connect(addAction("actCreator", QStringLiteral("クリエーター情報の編集(&C)...")), &QAction::triggered, this,
            [this] { editCreator(); });
    addAction("actProduct", QStringLiteral("プロダクト情報の編集(&P)..."));
    connect(addAction("actAlign", QStringLiteral("位置合わせ(&A)...")), &QAction::triggered, this,
            [this] { adjustPosition(); });
    connect(addAction("actOrder", QStringLiteral("位置揃え(&O)...")), &QAction::triggered, this,
            [this] { alignObjects(); });
    QAction* group = addAction("actGroup", QStringLiteral("グループ化(&G)"), "Ctrl+G");
    connect(group, &QAction::triggered, this, [this] { groupObjects(); });
    connect(addAction("actUngroup", QStringLiteral("グループ化解除(&N)"), "Ctrl+U"), &QAction::triggered, this,
            [this] { ungroupObjects(); });
    connect(addAction("actGrid", QStringLiteral("グリッド設定(&G)...")), &QAction::triggered, this,
            [this] { gridSettings(); });
    QAction* snap = addAction("actSnapToGrid", QStringLiteral("グリッドに吸着(&R)"));
    snap->setCheckable(true);
    connect(snap, &QAction::triggered, this, [this](bool on) {
        if (!data_)
            return;
        data_->Grid().SetEnabled(on);
        if (on && data_->Grid().Size() <= 0)
            data_->Grid().SetSize(50);
        site_->Invalidate();
        updateCommands();
    });
    QAction* guides = addAction("actGuideBar", QStringLiteral("ガイドバーに吸着(&B)"));
    guides->setCheckable(true);
    connect(guides, &QAction::triggered, this, [this] { toggleGuides(); });

    auto* zooms = new QActionGroup(this);
    for (int32_t step : ZoomSteps()) {
        const std::string name = "act" + std::to_string(step);
        QAction* zoom = addAction(name.c_str(), QStringLiteral("%1%").arg(step));
        zoom->setCheckable(true);
        zoom->setProperty("zoom", step);
        zooms->addAction(zoom);
        connect(zoom, &QAction::triggered, this, [this, step] { SetZoom(step); });
    }
    QAction* autoScale = addAction("actAutoScale", QStringLiteral("自動(&A)"));
    autoScale->setCheckable(true);
    autoScale->setProperty("zoom", 0);
    zooms->addAction(autoScale);
    connect(autoScale, &QAction::triggered, this, [this] { SetZoom(0); });
    connect(addAction("actMagnify", QStringLiteral("拡大"), "Ctrl++"), &QAction::triggered, this, [this] { Magnify(); });
    connect(addAction("actReduce", QStringLiteral("縮小"), "Ctrl+-"), &QAction::triggered, this, [this] { Reduce(); });
    QAction* select = addAction("actSelectTool", QStringLiteral("選択"));
    select->setCheckable(true);
    select->setChecked(true);
    connect(select, &QAction::triggered, this, [this] { selectTool(); });

    for (const auto& [name, action] : styleBar_->Actions())
        actions_[name] = action;

    // Move modes.
    auto setCircum = [this](bool on) {
        MoveSettings().CircumMove = on;
        moveBar_->ShowState();
        updateCommands();
    };
    connect(addAction("actFreeMove", QStringLiteral("自由移動")), &QAction::triggered, this,
            [setCircum] { setCircum(false); });
    connect(addAction("actCircumMove", QStringLiteral("円周・直径上")), &QAction::triggered, this,
            [setCircum] { setCircum(true); });
    connect(addAction("actToggleMoveMode", QStringLiteral("自由移動")), &QAction::triggered, this,
            [setCircum] { setCircum(!MoveSettings().CircumMove); });
    auto toggle = [this](const char* name, const QString& caption, bool TMoveSettings::*field) {
        QAction* action = addAction(name, caption);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, field](bool on) {
            MoveSettings().*field = on;
            moveBar_->ShowState();
            updateCommands();
        });
    };
    toggle("actParallelMove", QStringLiteral("水平・垂直方向のみ"), &TMoveSettings::ParallelMove);
    toggle("actCircumRotate", QStringLiteral("オブジェクトの回転もする"), &TMoveSettings::CircumRotate);
    toggle("actRotateMove", QStringLiteral("回転移動"), &TMoveSettings::RotateMove);
    toggle("actCircumPhased", QStringLiteral("ステップ単位で移動"), &TMoveSettings::CircumPhased);
    const struct {
        const char* name;
        const char* caption;
        int32_t step;
    } phases[] = {{"act60Phase", "６０ステップ（６度）", 6},
                  {"act12Phase", "１２ステップ（３０度）", 30},
                  {"act8Phase", "８ステップ（４５度）", 45}};
    for (const auto& phase : phases) {
        QAction* action = addAction(phase.name, QString::fromUtf8(phase.caption));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, step = phase.step] {
            MoveSettings().PhaseStep = step;
            moveBar_->ShowState();
            updateCommands();
        });
    }
    connect(addAction("actBackPosAdjust", QStringLiteral("背景位置")), &QAction::triggered, this,
            [this] { showBackgroundPositions(); });
    connect(addAction("DSASeparateText", QStringLiteral("文字列の分割")), &QAction::triggered, this,
            [this] { splitTexts(); });

    // The standard edit commands of the drawing layer. Those that also
    // serve text fields follow the focus; the others act on this site.
    const auto standard = [this](const char* name, QAction* action, bool followsFocus) {
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        if (!followsFocus)
            static_cast<TDrawSiteActionBase*>(action)->SetDrawSite(site_.get());
        THostedView::addAction(action);
        actions_[name] = action;
    };
    standard("DSAUndo", new TDSAUndo(this), true);
    standard("DSARedo", new TDSARedo(this), true);
    standard("DSACut", new TDSACut(this), true);
    standard("DSACopy", new TDSACopy(this), true);
    standard("DSAPaste", new TDSAPaste(this), true);
    standard("DSAClear", new TDSAClear(this), true);
    standard("DSASelectAll", new TDSASelectAll(this), false);
    standard("DSABringToFront", new TDSABringToFront(this), false);
    standard("DSASendToBack", new TDSASendToBack(this), false);
    standard("DSALock", new TDSALock(this), false);
    standard("DSAUnlock", new TDSAUnlock(this), false);
    standard("DSADontPrint", new TDSADontPrint(this), false);
    standard("DSADoPrint", new TDSADoPrint(this), false);
    standard("DSAEditProperty", new TDSAEditProperty(this), false);
    standard("DSAVertText", new TDSAVertText(this), false);
    standard("DSAHorzText", new TDSAHorzText(this), false);
    standard("DSARotateRight", MakeRotateRight(this), false);
    standard("DSARotateHalf", MakeRotateHalf(this), false);
    standard("DSARotateLeft", MakeRotateLeft(this), false);
    actions_["DSASelectAll"]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
}

void TfrmLayout::createMenus()
{
    auto* edit = new QMenu(QStringLiteral("編集(&E)"), this);
    edit->setObjectName(QStringLiteral("EditMenu"));
    for (const char* name : {"DSAUndo", "DSARedo", "", "DSACut", "DSACopy", "DSAPaste"})
        *name ? (void)edit->addAction(Action(name)) : (void)edit->addSeparator();
    QMenu* pasteAs = edit->addMenu(QStringLiteral("形式を指定して貼り付け(&S)"));
    pasteAs->setObjectName(QStringLiteral("PasteSpecialMenu"));
    for (const char* name : {"actPasteText", "actPasteBitmap", "actPasteMetafile", "actPasteOLEObject"})
        pasteAs->addAction(Action(name));
    for (const char* name : {"DSAClear", "", "DSASelectAll", "", "DSAEditProperty"})
        *name ? (void)edit->addAction(Action(name)) : (void)edit->addSeparator();

    auto* insert = new QMenu(QStringLiteral("挿入(&I)"), this);
    insert->setObjectName(QStringLiteral("InsertMenu"));
    for (const char* name : {"actText", "actDate", "actDecoString", "", "actLine", "actArc", "actRect", "actCircle",
                             "actDecoLine", "", "actAlphaMask", "actOnePoint", "actImageFile", "actArrangedImage",
                             "actTwain", "", "actJANCode", "actQRStd", "", "actBackground", "", "actCreator",
                             "actProduct"})
        *name ? (void)insert->addAction(Action(name)) : (void)insert->addSeparator();

    auto* arrange = new QMenu(QStringLiteral("配置(&A)"), this);
    arrange->setObjectName(QStringLiteral("ArrangeMenu"));
    for (const char* name : {"actAlign", "actOrder", "", "DSABringToFront", "DSASendToBack", "", "actGroup",
                             "actUngroup", ""})
        *name ? (void)arrange->addAction(Action(name)) : (void)arrange->addSeparator();
    QMenu* rotate = arrange->addMenu(QStringLiteral("回転(&T)"));
    for (const char* name : {"DSARotateRight", "DSARotateHalf", "DSARotateLeft"})
        rotate->addAction(Action(name));
    for (const char* name : {"DSAVertText", "DSAHorzText", "DSASeparateText", "", "DSALock", "DSAUnlock",
                             "DSADontPrint", "DSADoPrint", "", "actBackPosAdjust"})
        *name ? (void)arrange->addAction(Action(name)) : (void)arrange->addSeparator();

    auto* layout = new QMenu(QStringLiteral("レイアウト(&Y)"), this);
    layout->setObjectName(QStringLiteral("LayoutMenu"));
    QMenu* zoom = layout->addMenu(QStringLiteral("表示倍率(&Z)"));
    for (int32_t step : ZoomSteps())
        zoom->addAction(Action("act" + std::to_string(step)));
    zoom->addSeparator();
    zoom->addAction(Action("actAutoScale"));
    zoom->addAction(Action("actMagnify"));
    zoom->addAction(Action("actReduce"));
    layout->addSeparator();
    for (const char* name : {"actGrid", "actSnapToGrid", "actGuideBar"})
        layout->addAction(Action(name));
    layout->addSeparator();
    QMenu* move = layout->addMenu(QStringLiteral("移動方法(&M)"));
    for (const char* name : {"actFreeMove", "actCircumMove", "", "actParallelMove", "actCircumRotate",
                             "actRotateMove", "", "act60Phase", "act12Phase", "act8Phase", "actCircumPhased"})
        *name ? (void)move->addAction(Action(name)) : (void)move->addSeparator();
    menus_ = {edit, insert, arrange, layout};
}

void TfrmLayout::createToolBars()
{
    auto* tools = new QToolBar(QStringLiteral("オブジェクト"), this);
    tools->setObjectName(QStringLiteral("tbObjects"));
    tools->setIconSize(QSize(20, 20));
    for (const char* name : {"actSelectTool", "", "actText", "actDate", "", "actLine", "actArc", "actRect",
                             "actCircle", "actDecoLine", "", "actImageFile", "actBackground", "", "actJANCode",
                             "actQRStd"})
        *name ? (void)tools->addAction(Action(name)) : (void)tools->addSeparator();
    auto* zoom = new QToolBar(QStringLiteral("表示倍率"), this);
    zoom->setObjectName(QStringLiteral("tbZoom"));
    zoom->setIconSize(QSize(20, 20));
    for (const char* name : {"actMagnify", "actReduce", "actAutoScale"})
        zoom->addAction(Action(name));
    toolBars_ = {tools, styleBar_, zoom};
}

void TfrmLayout::mainAction(const char* name)
{
    if (auto* main = dynamic_cast<TfrmMain*>(window()))
        main->Actions()[QString::fromLatin1(name)]->trigger();
}

std::vector<TLOBackImage*> TfrmLayout::backgrounds() const
{
    std::vector<TLOBackImage*> found;
    for (std::size_t i = 0; i < site_->ObjectCount(); ++i)
        if (auto* background = dynamic_cast<TLOBackImage*>(&site_->Objects(i));
            background && background->LayerGroup() != kPaperPatternLayerGroup)
            found.push_back(background);
    return found;
}

TLOBackImage* TfrmLayout::pictureBackground() const
{
    for (TLOBackImage* background : backgrounds())
        if (HasBackgroundPicture(*background))
            return background;
    return nullptr;
}

void TfrmLayout::updateCommands()
{
    const bool editing = data_ != nullptr;
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    for (const TCreationRow& row : kCreationCommands) {
        bool enabled = editing && creatable(row.ClassName);
        const std::string_view name = row.Name;
        if (name == "actPasteText")
            enabled = enabled && clip && clip->hasText();
        else if (name == "actPasteBitmap")
            enabled = enabled && clip && clip->hasImage();
        else if (name == "actPasteMetafile")
            enabled = enabled && clip && clip->hasFormat(QStringLiteral("image/x-emf"));
        Action(row.Name)->setEnabled(enabled);
    }
    Action("actBackground")->setEnabled(editing && (!backgrounds().empty() || creatable("TLOBackImage")));
    // Until the illustration library and image acquisition exist.
    Action("actOnePoint")->setEnabled(false);
    Action("actTwain")->setEnabled(false);
    Action("actCreator")->setEnabled(editing);
    Action("actProduct")->setEnabled(false);
    TDOList selected;
    site_->GetObjects(selected, true);
    bool bounded = false;
    for (std::size_t i = 0; i < selected.Count() && !bounded; ++i)
        bounded = static_cast<bool>(Supports<IDOEncloseBounds>(&selected[i]));
    Action("actAlign")->setEnabled(editing && bounded);
    Action("actOrder")->setEnabled(editing && CanAlignObjects(*site_));
    Action("actGroup")->setEnabled(editing && selected.Count() >= 2);
    bool groups = false;
    for (std::size_t i = 0; i < selected.Count() && !groups; ++i)
        groups = dynamic_cast<TDOGroup*>(&selected[i]) != nullptr;
    Action("actUngroup")->setEnabled(editing && groups);
    bool splittable = false;
    for (std::size_t i = 0; i < selected.Count() && !splittable; ++i)
        if (auto* text = dynamic_cast<TLOText*>(&selected[i]))
            splittable = text->Text().size() > 1;
    Action("DSASeparateText")->setEnabled(editing && splittable);
    Action("actGrid")->setEnabled(editing);
    Action("actSnapToGrid")->setEnabled(editing);
    Action("actSnapToGrid")->setChecked(editing && data_->Grid().Enabled());
    Action("actGuideBar")->setEnabled(editing);
    Action("actGuideBar")->setChecked(editing && data_->Guide().Enabled());
    Action("actMagnify")->setEnabled(editing && NextZoom(Zoom(), true) != Zoom());
    Action("actReduce")->setEnabled(editing && NextZoom(Zoom(), false) != Zoom());
    Action("actBackPosAdjust")->setEnabled(editing && pictureBackground() != nullptr);

    // Move modes, with the modifier that switches to each beside it.
    const TMoveSettings& move = MoveSettings();
    Action("actFreeMove")->setText(move.CircumMove ? QStringLiteral("自由移動\tAlt") : QStringLiteral("自由移動"));
    Action("actCircumMove")
        ->setText(move.CircumMove ? QStringLiteral("円周・直径上") : QStringLiteral("円周・直径上\tAlt"));
    Action("actToggleMoveMode")->setText(move.CircumMove ? QStringLiteral("円周・直径上") : QStringLiteral("自由移動"));
    Action("actParallelMove")->setText(QStringLiteral("水平・垂直方向のみ\tShift"));
    Action("actCircumPhased")->setText(QStringLiteral("ステップ単位で移動\tShift"));
    Action("actParallelMove")->setChecked(move.ParallelMove);
    Action("actCircumRotate")->setChecked(move.CircumRotate);
    Action("actRotateMove")->setChecked(move.RotateMove);
    Action("actCircumPhased")->setChecked(move.CircumPhased);
    Action("act60Phase")->setChecked(move.PhaseStep == 6);
    Action("act12Phase")->setChecked(move.PhaseStep == 30);
    Action("act8Phase")->setChecked(move.PhaseStep == 45);
    for (const char* name : kMoveCommands)
        Action(name)->setEnabled(editing);

    // The main window's commands on the side panel's buttons.
    auto* main = dynamic_cast<TfrmMain*>(window());
    for (QPushButton* button : findChildren<QPushButton*>()) {
        const QVariant name = button->property("mainAction");
        if (name.isValid())
            button->setEnabled(main && main->Actions()[name.toString()]->isEnabled());
    }
}

// --- the commands ---------------------------------------------------------------

void TfrmLayout::createObject(const char* className)
{
    if (!data_)
        return;
    if (DraggingGuide())
        endGuideDrag(false);
    try {
        siteWidget_->setFocus(Qt::OtherFocusReason);
        DesignerList().CreateObject(*site_, className);
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    updateCommands();
}

void TfrmLayout::selectTool()
{
    if (GhostList().Concerns(*site_) || GhostList().Site() == site_.get())
        GhostList().Cancel();
    site_->CancelMode();
    site_->SetCursor(crDefault);
    Action("actSelectTool")->setChecked(true);
}

void TfrmLayout::adjustPosition()
{
    const int choice = AskLayoutChoice(
        this, QStringLiteral("位置合わせ"),
        {QStringLiteral("左端に移動する"), QStringLiteral("右端に移動する"), QStringLiteral("上端に移動する"),
         QStringLiteral("下端に移動する"), QStringLiteral("上下中央に移動する"), QStringLiteral("左右中央に移動する"),
         QStringLiteral("中心に対して垂直にする"), QStringLiteral("中心に対して水平にする")});
    if (choice < 0)
        return;
    try {
        AdjustPosition(*site_, choice, face_);
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->RefreshHandles();
}

void TfrmLayout::alignObjects()
{
    if (!CanAlignObjects(*site_))
        return;
    const int choice = AskLayoutChoice(
        this, QStringLiteral("位置揃え"),
        {QStringLiteral("左端で揃える"), QStringLiteral("右端で揃える"), QStringLiteral("上端で揃える"),
         QStringLiteral("下端で揃える"), QStringLiteral("左右中央で揃える"), QStringLiteral("上下中央で揃える"),
         QStringLiteral("左右間隔を均等にする"), QStringLiteral("上下間隔を均等にする")});
    if (choice < 0)
        return;
    try {
        AlignObjects(*site_, choice);
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->RefreshHandles();
}

void TfrmLayout::groupObjects()
{
    site_->RefreshHandles();
    try {
        const TActionGroupGuard undo("グループ化");
        if (TDOGroup* group = GroupSelected(*site_))
            group->SetCursor(crHandPoint);
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->RefreshHandles();
    updateCommands();
}

void TfrmLayout::ungroupObjects()
{
    site_->RefreshHandles();
    try {
        const TActionGroupGuard undo("グループ化解除");
        UngroupSelected(*site_);
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->RefreshHandles();
    updateCommands();
}

void TfrmLayout::splitTexts()
{
    try {
        SplitTexts(*site_, {site_->LogWidth(), site_->LogHeight()}, [this](TDrawObject& object) {
            objectCreated(object);
            object.SetCursor(crHandPoint);
        });
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    TMoveSettings& move = MoveSettings();
    move.CircumMove = false;
    move.ParallelMove = false;
    move.RotateMove = false;
    site_->RefreshHandles();
    updateCommands();
}

void TfrmLayout::gridSettings()
{
    if (data_ && EditGrid(this, data_->Grid())) {
        site_->Invalidate();
        moveBar_->ShowState();
        updateCommands();
    }
}

void TfrmLayout::toggleGuides()
{
    if (!data_)
        return;
    TGuide& guide = data_->Guide();
    const bool on = !guide.Enabled();
    guide.SetEnabled(on);
    guide.SetVisible(on);
    if (on && guide.AllEmpty()) {
        guide.SetGuide(0, 0, site_->LogHeight() / 2);
        guide.SetGuide(1, site_->LogWidth() / 2, 0);
        guide.SetEnabled(true);
        guide.SetVisible(true);
    }
    site_->Invalidate();
    updateCommands();
}

void TfrmLayout::editCreator()
{
    if (!data_)
        return;
    TProductInfo japanese;
    japanese.Assign(data_->CreatorInfoJ());
    TProductInfo english;
    english.Assign(data_->CreatorInfoE());
    if (!EditCreatorRecords(this, japanese, english))
        return;
    try {
        data_->CreatorInfoJ().Assign(japanese);
        data_->CreatorInfoE().Assign(english);
        data_->SetModified(true);
        TDOList all;
        site_->GetObjects(all, false);
        const TActionGroupGuard undo("設定変更");
        for (std::size_t i = 0; i < all.Count(); ++i)
            if (auto* text = dynamic_cast<TLOText*>(&all[i]); text && text->FieldNo() > 0 && text->FieldType() != TFieldType::ftProduct) {
                TDOList one;
                one.Add(*text);
                RunRecorded(TActionType::atChange, *site_, *text, [&] {
                    RefreshFields(one, *data_, {TFieldType::ftCreatorJapanese, TFieldType::ftCreatorEnglish});
                });
            }
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->Invalidate();
}

void TfrmLayout::editBackground()
{
    const std::vector<TLOBackImage*> existing = backgrounds();
    if (existing.empty()) {
        createObject("TLOBackImage");
        return;
    }
    try {
        const TActionGroupGuard undo("背景変更");
        for (TLOBackImage* background : existing) {
            bool cancelled = false;
            DesignerList().EditObject(*background, cancelled);
            if (cancelled)
                break;
        }
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->Invalidate();
    updateCommands();
}

void TfrmLayout::showBackgroundPositions()
{
    TLOBackImage* background = pictureBackground();
    if (!background)
        return;
    const TSize faceSize{site_->LogWidth(), site_->LogHeight()};
    QMenu menu(this);
    for (const TBackgroundPositionItem& item : BackgroundPositionItems(*background, faceSize)) {
        QAction* choice = menu.addAction(QString::fromStdString(item.Caption));
        choice->setEnabled(item.Enabled);
        connect(choice, &QAction::triggered, this, [this, background, faceSize, position = item.Choice] {
            try {
                ApplyBackgroundPositionStep(*background, position, faceSize);
            } catch (const std::exception&) {
                if (TAppFrame* frame = AppFrame())
                    frame->HandleException(std::current_exception());
            }
            site_->Invalidate();
        });
    }
    // The background editor comes with the background designer.
    menu.addSeparator()->setVisible(true);
    menu.addAction(QStringLiteral("詳細設定..."))->setEnabled(false);
    menu.exec(QCursor::pos());
}

bool TfrmLayout::AddImageFile(const QString& fileName)
{
    if (!data_)
        return false;
    try {
        std::unique_ptr<TLOImage> image =
            CreateImageObjectFromFile(fileName.toStdString(), {site_->LogWidth(), site_->LogHeight()});
        TDrawObject& object = site_->InsertOwnedObject(std::move(image));
        objectCreated(object);
        object.SetCursor(crSizeAll);
        site_->AddObject(object);
        ActionList().Add(std::make_unique<TDOAddAction>(object, "追加"));
        site_->SetAllSelected(false);
        object.SetSelected(true);
        site_->RefreshHandles();
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
        return false;
    }
    updateCommands();
    return true;
}

void TfrmLayout::showContextMenu(QPoint globalPos)
{
    if (!data_)
        return;
    QMenu menu(this);
    TDOList selected;
    site_->GetObjects(selected, true);
    if (selected.Count() > 0) {
        for (const char* name : {"DSACut", "DSACopy", "DSAPaste"})
            menu.addAction(Action(name));
        QMenu* pasteAs = menu.addMenu(QStringLiteral("形式を指定して貼り付け(&S)"));
        for (const char* name : {"actPasteText", "actPasteBitmap", "actPasteMetafile", "actPasteOLEObject"})
            pasteAs->addAction(Action(name));
        menu.addAction(Action("DSAClear"));
        menu.addSeparator();
        for (const char* name : {"DSABringToFront", "DSASendToBack", "DSALock", "DSAUnlock", "DSADontPrint", "DSADoPrint"})
            menu.addAction(Action(name));
        QMenu* rotate = menu.addMenu(QStringLiteral("回転(&T)"));
        for (const char* name : {"DSARotateRight", "DSARotateHalf", "DSARotateLeft"})
            rotate->addAction(Action(name));
        menu.addSeparator();
        menu.addAction(Action("DSAEditProperty"));
    } else {
        menu.addAction(Action("DSAPaste"));
        QMenu* pasteAs = menu.addMenu(QStringLiteral("形式を指定して貼り付け(&S)"));
        for (const char* name : {"actPasteText", "actPasteBitmap", "actPasteMetafile", "actPasteOLEObject"})
            pasteAs->addAction(Action(name));
        menu.addSeparator();
        for (const char* name : {"actFreeMove", "actCircumMove", "", "actParallelMove", "actCircumPhased", "",
                                 "actSnapToGrid", "actGuideBar"})
            *name ? (void)menu.addAction(Action(name)) : (void)menu.addSeparator();
    }
    for (QAction* action : menu.actions())
        if (auto* siteAction = dynamic_cast<TDrawSiteActionBase*>(action))
            siteAction->Update();
    menu.exec(globalPos);
}

}  // namespace orvella
