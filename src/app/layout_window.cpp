#include "app/layout_window.h"

#include "app/draw_site_widget.h"
#include "app/layout_ruler.h"
#include "app/move_mode_bar.h"
#include "app/sheet_tabs.h"
#include "app/shrink_panel.h"
#include "document/face_overlay.h"
#include "document/face_snap.h"
#include "document/label_data.h"
#include "document/label_object.h"
#include "document/paper_site.h"
#include "drawing/do_interfaces.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_list.h"
#include "drawing/idle_notify.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "platform/win_math.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orvella {

namespace {

// The zoom of the last closed layout window: 0 for automatic.
int32_t rememberedZoom = 0;

constexpr int kSideWidth = 208;

}  // namespace

const std::array<int32_t, 7>& TfrmLayout::ZoomSteps()
{
    static const std::array<int32_t, 7> steps{25, 50, 75, 100, 150, 200, 400};
    return steps;
}

int32_t TfrmLayout::NextZoom(int32_t scale, bool larger)
{
    const auto& steps = ZoomSteps();
    if (larger) {
        for (int32_t step : steps)
            if (step > scale)
                return step;
    } else {
        for (auto it = steps.rbegin(); it != steps.rend(); ++it)
            if (*it < scale)
                return *it;
    }
    return scale;
}

int32_t TfrmLayout::RememberedZoom() { return rememberedZoom; }

void TfrmLayout::ForgetZoom() { rememberedZoom = 0; }

TfrmLayout::TfrmLayout(QWidget* parent)
    : THostedView(parent), site_(std::make_unique<TDrawSiteEx>()), paperSite_(std::make_unique<TPaperSite>())
{
    setObjectName(QStringLiteral("frmLayout"));
    defaults_ = TStyleToolSpec::FromSettings();

    styleBar_ = new TStyleToolBar(this);
    moveBar_ = new TMoveModeBar;
    buildSite();
    createActions();
    createToolBars();
    createMenus();

    auto* side = new QWidget(this);
    side->setObjectName(QStringLiteral("SidePanel"));
    side->setFixedWidth(kSideWidth);
    buildSidePanel(side);

    auto* editArea = new QWidget(this);
    auto* grid = new QGridLayout(editArea);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    auto* corner = new QWidget(editArea);
    corner->setFixedSize(vRuler_->sizeHint().width(), hRuler_->sizeHint().height());
    grid->addWidget(corner, 0, 0);
    grid->addWidget(hRuler_, 0, 1);
    grid->addWidget(vRuler_, 1, 0);
    grid->addWidget(scrollBox_, 1, 1);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(4);
    body->addWidget(side);
    body->addWidget(editArea, 1);

    // Objects and zoom on one row, the style of the selection below.
    auto* toolRow = new QVBoxLayout;
    toolRow->setContentsMargins(0, 0, 0, 0);
    toolRow->setSpacing(0);
    auto* firstRow = new QHBoxLayout;
    firstRow->setSpacing(0);
    auto* secondRow = new QHBoxLayout;
    secondRow->setSpacing(0);
    for (QToolBar* bar : toolBars_)
        (bar == styleBar_ ? secondRow : firstRow)->addWidget(bar);
    firstRow->addStretch();
    secondRow->addStretch();
    toolRow->addLayout(firstRow);
    toolRow->addLayout(secondRow);

    tabs_ = new TSheetTabs(this);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { sheetChanged(index); });

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(2, 0, 2, 0);
    root->setSpacing(2);
    root->addLayout(toolRow);
    root->addLayout(body, 1);
    root->addWidget(tabs_);

    guideHint_ = new QLabel(this, Qt::ToolTip);
    guideHint_->setObjectName(QStringLiteral("GuideHint"));
    guideHint_->setMargin(3);
    guideHint_->hide();

    styleBar_->ShowState(defaults_);
    styleBar_->OnChange = [this](TStyleChange change) { applyStyle(change); };
    moveBar_->OnChange = [this] {
        site_->Invalidate();
        updateCommands();
    };
    autoZoom_ = rememberedZoom == 0;
    if (!autoZoom_)
        site_->Scaler().SetScale(rememberedZoom);
    idle_ = std::make_unique<TIdleNotify>([this] {
        if (isVisible())
            Idle();
    });
}

TfrmLayout::~TfrmLayout()
{
    removeHooks();
    if (GhostList().Concerns(*site_))
        GhostList().Cancel();
    rememberedZoom = autoZoom_ ? 0 : site_->Scaler().Scale();
    defaults_.SaveToSettings();
    idle_.reset();
    // The windows go before the sites they show.
    siteWidget_->SetSite(nullptr);
    paperWidget_->SetSite(nullptr);
    paperSite_->ShowPaper(nullptr);
}

void TfrmLayout::buildSite()
{
    site_->SetName("DrawSite1");
    site_->Scaler().SetUnitDPI(254);
    site_->SetDoubleBuffered(true);
    site_->SetBorder(false);
    site_->OnPaintAfter = [this](TDrawSite&, TCanvas& canvas) { paintOverlay(canvas); };
    site_->OnMouseMove = [this](TDrawSite&, const TSiteMouseEvent& event) { siteMouseMove(event); };
    site_->OnKeyDown = [this](TDrawSite&, const TSiteKeyEvent& event) { arrowKey(event); };
    site_->OnScalerChanged = [this](TDrawSite&) { updateRulers(); };
    site_->OnModifyChanged = [this](TDrawSite&) { updateCommands(); };

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox_->setWidgetResizable(false);
    scrollBox_->setAlignment(Qt::AlignCenter);
    scrollBox_->setBackgroundRole(QPalette::Dark);
    siteWidget_ = new TDrawSiteWidget;
    siteWidget_->setObjectName(QStringLiteral("DrawSite1"));
    siteWidget_->SetSite(site_.get());
    siteWidget_->installEventFilter(this);
    scrollBox_->setWidget(siteWidget_);
    scrollBox_->viewport()->installEventFilter(this);
    for (QScrollBar* bar : {scrollBox_->horizontalScrollBar(), scrollBox_->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { updateRulers(); });

    hRuler_ = new TRuler(Qt::Horizontal, this);
    vRuler_ = new TRuler(Qt::Vertical, this);
    hRuler_->OnPress = [this](int) { AddGuide(false); };
    vRuler_->OnPress = [this](int) { AddGuide(true); };

    paperSite_->SetName("PaperSite1");
    paperSite_->SetMultiSelect(false);
    paperSite_->OnFaceClick = [this](TPaperSite&) { faceClicked(); };
}

void TfrmLayout::buildSidePanel(QWidget* side)
{
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(4);

    // The miniature is fitted into a fixed frame and centred there.
    auto* paperFrame = new QWidget;
    paperFrame->setFixedSize(kSideWidth - 8, 150);
    auto* paperLayout = new QHBoxLayout(paperFrame);
    paperLayout->setContentsMargins(0, 0, 0, 0);
    paperWidget_ = new TDrawSiteWidget(paperFrame);
    paperWidget_->setObjectName(QStringLiteral("PaperSite1"));
    paperWidget_->setFocusPolicy(Qt::NoFocus);
    paperWidget_->SetSite(paperSite_.get());
    paperLayout->addWidget(paperWidget_, 0, Qt::AlignCenter);
    panels_[0] = new TShrinkPanel(QStringLiteral("ShrinkPanelSheetImage"), QStringLiteral(" 用紙イメージ"), paperFrame, side);
    layout->addWidget(panels_[0]);

    auto* blendBox = new QWidget;
    auto* blendLayout = new QHBoxLayout(blendBox);
    blendLayout->setContentsMargins(4, 0, 4, 0);
    blend_ = new QSlider(Qt::Horizontal, blendBox);
    blend_->setObjectName(QStringLiteral("tbBlend"));
    blend_->setRange(0, 100);
    blend_->setToolTip(QStringLiteral("選択したオブジェクトの透過率"));
    blendValue_ = new QLabel(QStringLiteral("0%"), blendBox);
    blendValue_->setMinimumWidth(34);
    blendLayout->addWidget(blend_, 1);
    blendLayout->addWidget(blendValue_);
    // The panel shows transparency; objects keep their opacity.
    connect(blend_, &QSlider::sliderReleased, this, [this] { applyStyle(TStyleChange(-1)); });
    connect(blend_, &QSlider::valueChanged, this, [this] {
        if (!blend_->isSliderDown() && !blend_->signalsBlocked())
            applyStyle(TStyleChange(-1));
    });
    connect(blend_, &QSlider::valueChanged, this,
            [this](int value) { blendValue_->setText(QStringLiteral("%1%").arg(value)); });
    panels_[1] = new TShrinkPanel(QStringLiteral("ShrinkPanelBlend"), QStringLiteral(" 透過率"), blendBox, side);
    layout->addWidget(panels_[1]);

    auto* moveBox = new TShrinkPanel(QStringLiteral("ShrinkPanelMoveMode"), QStringLiteral(" 移動方法"), moveBar_, side);
    layout->addWidget(moveBox);

    auto* importBox = new QWidget;
    auto* importLayout = new QVBoxLayout(importBox);
    importLayout->setContentsMargins(4, 0, 4, 0);
    auto* importButton = new QPushButton(QStringLiteral("イメージファイル..."), importBox);
    importButton->setObjectName(QStringLiteral("btnImportImage"));
    connect(importButton, &QPushButton::clicked, Action("actImageFile"), &QAction::trigger);
    connect(Action("actImageFile"), &QAction::changed, importButton,
            [importButton, action = Action("actImageFile")] { importButton->setEnabled(action->isEnabled()); });
    importButton->setEnabled(Action("actImageFile")->isEnabled());
    importLayout->addWidget(importButton);
    panels_[2] = new TShrinkPanel(QStringLiteral("ShrinkPanelImageImport"), QStringLiteral("インポート"), importBox, side);
    layout->addWidget(panels_[2]);
    layout->addStretch();

    // The main window's commands beside the face.
    const struct {
        const char* caption;
        const char* action;
    } buttons[] = {{"素材を探す", nullptr},          {"シート全体画面", "actSheet"}, {"印  刷", "actPrint"},
                   {"用紙/メディア", "actSelectPaper"}, {"カタログ検索", nullptr},      {"ﾃﾝﾌﾟﾚｰﾄ", "actTemplate"},
                   {"ナビ起動", "actStartMenu"}};
    auto* buttonGrid = new QGridLayout;
    buttonGrid->setSpacing(2);
    int index = 0;
    for (const auto& entry : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(entry.caption), side);
        button->setObjectName(QStringLiteral("btnMain%1").arg(index));
        button->setFocusPolicy(Qt::NoFocus);
        button->setEnabled(false);
        if (entry.action) {
            const QString name = QString::fromLatin1(entry.action);
            connect(button, &QPushButton::clicked, this, [this, action = entry.action] { mainAction(action); });
            button->setProperty("mainAction", name);
        }
        buttonGrid->addWidget(button, index / 2, index % 2);
        ++index;
    }
    layout->addLayout(buttonGrid);
}

void TfrmLayout::buildStatusPanels()
{
    auto* main = qobject_cast<QMainWindow*>(window());
    if (!main || statusPanels_[0])
        return;
    QStatusBar* bar = main->statusBar();
    const char* widest[] = {"ﾏｳｽ-(999.9mm,999.9mm)", "位置-(999.9mm,999.9mm),ｻｲｽﾞ-(999.9mm,999.9mm)", "固定しない",
                            "印刷しない", "999%", nullptr};
    const QFontMetrics metrics(main->font());
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        if (widest[i])
            panel->setFixedWidth(metrics.horizontalAdvance(QString::fromUtf8(widest[i])) + 8);
        // The sheet name takes what is left.
        bar->addPermanentWidget(panel, widest[i] ? 0 : 1);
        statusPanels_[std::size_t(i)] = panel;
    }
}

QString TfrmLayout::StatusText(int panel) const
{
    if (panel < 0 || panel > 5 || !statusPanels_[std::size_t(panel)])
        return {};
    return statusPanels_[std::size_t(panel)]->text();
}

void TfrmLayout::updateStatus()
{
    if (!statusPanels_[0])
        return;
    auto show = [this](int panel, const QString& text) {
        QLabel* label = statusPanels_[std::size_t(panel)];
        if (label->text() != text)
            label->setText(text);
    };
    auto mm = [](int32_t value) { return QString::fromStdString(FormatTenthsMm(value)); };
    show(0, mouseInside_ ? QStringLiteral("ﾏｳｽ(%1,%2)").arg(mm(mouse_.x), mm(mouse_.y)) : QString());
    TDOList selected;
    site_->GetObjects(selected, true);
    TDrawObject* first = selected.Count() > 0 ? &selected[0] : nullptr;
    QString position;
    if (first)
        if (auto rect = Supports<IDORect>(first)) {
            const TRect r = rect->GetRect();
            position = QStringLiteral("位置(%1,%2),ｻｲｽﾞ(%3,%4)")
                           .arg(mm(r.Left), mm(r.Top), mm(r.Right - r.Left), mm(r.Bottom - r.Top));
        }
    show(1, position);
    auto* label = dynamic_cast<TLabelObject*>(first);
    show(2, label && !label->Movable() ? QStringLiteral("固定") : QString());
    show(3, label && label->DontPrint() ? QStringLiteral("印刷しない") : QString());
    show(4, QStringLiteral("%1%").arg(site_->Scaler().Scale()));
    show(5, data_ ? tabs_->SheetName(tabs_->currentIndex()) : QString());
}

void TfrmLayout::showEvent(QShowEvent* event)
{
    THostedView::showEvent(event);
    buildStatusPanels();
    for (QLabel* panel : statusPanels_)
        if (panel)
            panel->show();
    installHooks();
    if (autoZoom_)
        applyZoom();
}

void TfrmLayout::hideEvent(QHideEvent* event)
{
    if (DraggingGuide())
        endGuideDrag(false);
    if (GhostList().Concerns(*site_))
        GhostList().Cancel();
    removeHooks();
    for (QLabel* panel : statusPanels_)
        if (panel)
            panel->hide();
    THostedView::hideEvent(event);
}

void TfrmLayout::resizeEvent(QResizeEvent* event)
{
    THostedView::resizeEvent(event);
    if (autoZoom_)
        QTimer::singleShot(0, this, [this] { applyZoom(); });
}

int32_t TfrmLayout::Zoom() const { return site_->Scaler().Scale(); }

void TfrmLayout::SetZoom(int32_t scale)
{
    autoZoom_ = scale <= 0;
    if (!autoZoom_)
        site_->Scaler().SetScale(scale);
    applyZoom();
}

void TfrmLayout::Magnify() { SetZoom(NextZoom(Zoom(), true)); }

void TfrmLayout::Reduce() { SetZoom(NextZoom(Zoom(), false)); }

void TfrmLayout::applyZoom()
{
    if (autoZoom_) {
        scrollBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        const int edge = scrollBox_->frameWidth();
        const QSize client = scrollBox_->viewport()->size();
        if (site_->LogWidth() > 0 && site_->LogHeight() > 0 && client.width() > 2 * edge &&
            client.height() > 2 * edge) {
            TCanvas screen;
            const TRect fit{edge, edge, client.width() - edge, client.height() - edge};
            const int32_t scale = site_->ZoomToFit(screen, fit, true, true);
            if (scale != site_->Scaler().Scale())
                site_->Scaler().SetScale(scale);
        }
    } else {
        scrollBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        scrollBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        scrollBox_->horizontalScrollBar()->setValue(0);
        scrollBox_->verticalScrollBar()->setValue(0);
    }
    site_->Rescale();
    siteWidget_->resize(site_->Width(), site_->Height());
    for (const auto& [name, action] : actions_)
        if (action->property("zoom").isValid())
            action->setChecked(autoZoom_ ? action->property("zoom").toInt() == 0
                                         : action->property("zoom").toInt() == site_->Scaler().Scale());
    scrollSelectionIntoView();
    updateRulers();
    updateCommands();
    updateStatus();
}

void TfrmLayout::scrollSelectionIntoView()
{
    TDOList selected;
    site_->GetObjects(selected, true);
    if (selected.Count() == 0)
        return;
    const TRect device = selected[0].BoundsRect();
    scrollBox_->ensureVisible((device.Left + device.Right) / 2, (device.Top + device.Bottom) / 2,
                              (device.Right - device.Left) / 2, (device.Bottom - device.Top) / 2);
}

void TfrmLayout::updateRulers()
{
    if (!hRuler_)
        return;
    const double widthMm = site_->LogWidth() / 10.0;
    const double heightMm = site_->LogHeight() / 10.0;
    hRuler_->SetLength(widthMm);
    vRuler_->SetLength(heightMm);
    const QPoint origin = siteWidget_->mapTo(scrollBox_, QPoint(0, 0));
    hRuler_->SetMapping(widthMm > 0 ? site_->Width() / widthMm : 1, origin.x());
    vRuler_->SetMapping(heightMm > 0 ? site_->Height() / heightMm : 1, origin.y());
}

void TfrmLayout::paintOverlay(TCanvas& canvas)
{
    if (!data_)
        return;
    PaintFaceOverlay(canvas, face_, &data_->Grid(), &data_->Guide(), {site_->LogWidth(), site_->LogHeight()});
    if (DraggingGuide()) {
        // The guide being dragged, in red.
        const TCanvasSaver saved(canvas, false);
        canvas.Pen() = TPen{0x0000FF, 0, TPenStyle::psSolid, R2_COPYPEN};
        if (guideVertical_) {
            canvas.MoveTo(guidePosition_, 0);
            canvas.LineTo(guidePosition_, site_->LogHeight());
        } else {
            canvas.MoveTo(0, guidePosition_);
            canvas.LineTo(site_->LogWidth(), guidePosition_);
        }
    }
}

void TfrmLayout::siteMouseMove(const TSiteMouseEvent& event)
{
    const TPoint logical = site_->DeviceToLogical(event.Pos);
    mouse_ = logical;
    mouseInside_ = true;
    const QPoint inBox = siteWidget_->mapTo(scrollBox_, QPoint(event.Pos.x, event.Pos.y));
    hRuler_->SetMarker(inBox.x());
    vRuler_->SetMarker(inBox.y());
    if (!GhostList().Active()) {
        bool vertical = false;
        if (guideAt(event.Pos, vertical) >= 0)
            siteWidget_->setCursor(vertical ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    }
    updateStatus();
}

void TfrmLayout::Idle()
{
    if (!data_)
        return;
    if (site_->HandlesDirty())
        site_->RefreshHandles();
    showSelectionStyle();
    moveBar_->ShowState();
    updateStatus();
    updateCommands();
    if (!GhostList().Active() && !GhostList().Concerns(*site_)) {
        if (QAction* select = Action("actSelectTool"))
            select->setChecked(true);
    }
}

void TfrmLayout::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Cancels a creation waiting for its place.
        selectTool();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        scrollBox_->setFocus(Qt::OtherFocusReason);
        return;
    default: THostedView::keyPressEvent(event);
    }
}

QAction* TfrmLayout::Action(const std::string& name) const
{
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

}  // namespace orvella
