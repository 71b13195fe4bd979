#include "dialogs/property_dialog.h"

#include "dialogs/color_panel.h"
#include "dialogs/position_panel.h"
#include "dialogs/position_record.h"
#include "dialogs/preview_site_widget.h"
#include "drawing/designer.h"
#include "drawing/do_actions.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/object_copy.h"
#include "frame/message_box.h"
#include "graphics/bitmap.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace orvella {

namespace {

std::map<QString, int>& rememberedPages()
{
    static std::map<QString, int> pages;
    return pages;
}

constexpr int kPreviewMargin = 2;

}  // namespace

TfrmPropertyDialog::TfrmPropertyDialog(QString kind, QWidget* parent)
    : QDialog(parent), kind_(std::move(kind)), previewSite_(std::make_unique<TDrawSite>())
{
    setObjectName(QStringLiteral("frmProperty"));
    previewSite_->Scaler().SetUnitDPI(254);
    previewSite_->SetColor(clWhite);

    pages_ = new QTabWidget(this);
    previewBox_ = new QScrollArea(this);
    previewBox_->setAlignment(Qt::AlignCenter);
    previewBox_->setMinimumSize(240, 200);
    previewBox_->setBackgroundRole(QPalette::Dark);
    previewWidget_ = new TPreviewSiteWidget;
    previewWidget_->SetSite(previewSite_.get());
    previewBox_->setWidget(previewWidget_);
    actualSize_ = new QCheckBox(QStringLiteral("実際の大きさで表示する(&Y)"), this);
    connect(actualSize_, &QCheckBox::toggled, this, [this] { layoutPreview(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(previewBox_, 1);
    previewColumn->addWidget(actualSize_);
    auto* body = new QHBoxLayout;
    body->addWidget(pages_, 3);
    body->addLayout(previewColumn, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);
}

TfrmPropertyDialog::~TfrmPropertyDialog()
{
    // The preview widget paints the site: it goes first.
    previewWidget_->SetSite(nullptr);
}

int TfrmPropertyDialog::RememberedPage(const QString& kind)
{
    const auto found = rememberedPages().find(kind);
    return found == rememberedPages().end() ? -1 : found->second;
}

int TfrmPropertyDialog::AddPage(QWidget* page, const QString& caption) { return pages_->addTab(page, caption); }

TfrmPosition* TfrmPropertyDialog::AddPositionPage()
{
    position_ = new TfrmPosition;
    position_->OnChange = [this] { InputChanged(); };
    AddPage(position_, QStringLiteral("位置"));
    return position_;
}

TfrmColorSpec* TfrmPropertyDialog::AddColorPage(const QString& caption)
{
    auto* panel = new TfrmColorSpec;
    panel->OnChange = [this](TColorSpec&) { InputChanged(); };
    AddPage(panel, caption);
    return panel;
}

void TfrmPropertyDialog::LoadInputs(TDrawObject&) {}
void TfrmPropertyDialog::CommitInputs(TDrawObject&) {}
bool TfrmPropertyDialog::CheckInputs() { return true; }
QString TfrmPropertyDialog::Caption(const TDrawObject&, bool) const { return windowTitle(); }

void TfrmPropertyDialog::Load(TDrawObject& object)
{
    loading_ = true;
    struct Loaded {
        bool& flag;
        ~Loaded() { flag = false; }
    } loaded{loading_};

    if (preview_)
        previewSite_->RemoveObject(*preview_);
    preview_ = &previewSite_->InsertOwnedObject(CloneObject(object));
    previewSite_->AddObject(*preview_);
    preview_->SetSelected(false);
    LoadInputs(object);
    if (position_)
        position_->ReadFrom(ReadPositionRecord(object));
    setWindowTitle(Caption(object, object.Parent() == nullptr));
    layoutPreview();
    const int page = RememberedPage(kind_);
    if (page >= 0 && page < pages_->count())
        pages_->setCurrentIndex(page);
}

void TfrmPropertyDialog::Commit(TDrawObject& object)
{
    CommitInputs(object);
    if (position_) {
        TPositionRecord record = ReadPositionRecord(object);
        position_->WriteTo(record);
        WritePositionRecord(object, record);
    }
}

void TfrmPropertyDialog::InputChanged()
{
    if (loading_ || !preview_)
        return;
    previewing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{previewing_};
    Commit(*preview_);
    layoutPreview();
}

void TfrmPropertyDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    layoutPreview();
}

void TfrmPropertyDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutPreview();
}

void TfrmPropertyDialog::layoutPreview()
{
    if (!preview_)
        return;
    // The copy sits at the preview's origin, whatever its place on the face.
    if (const TIntfRef<IDOEncloseBounds> bounds = Supports<IDOEncloseBounds>(preview_)) {
        const TRect r = bounds->GetLogicalBounds();
        if (r.Left != 0 || r.Top != 0)
            bounds->MoveBy(-r.Left, -r.Top);
    }
    const TRect r = preview_->GetLogicalBounds();
    previewSite_->SetLogWidth(std::max(1, r.Right));
    previewSite_->SetLogHeight(std::max(1, r.Bottom));
    int32_t zoom = 100;
    if (!actualSize_->isChecked()) {
        const QSize area = previewBox_->viewport()->size();
        TBitmap measure(1, 1);
        zoom = previewSite_->ZoomToFit(measure.Canvas(),
                                       {0, 0, std::max(1, area.width() - 2 * kPreviewMargin),
                                        std::max(1, area.height() - 2 * kPreviewMargin)},
                                       true, true);
    }
    previewSite_->Scaler().SetScale(zoom);
    previewSite_->Rescale();
    previewWidget_->Refresh();
}

void TfrmPropertyDialog::Refuse(QWidget* page, const QString& message)
{
    if (page)
        pages_->setCurrentWidget(page);
    ShowInfo(message.toStdString());
}

void TfrmPropertyDialog::accept()
{
    if (CheckInputs())
        QDialog::accept();
}

void TfrmPropertyDialog::done(int result)
{
    rememberedPages()[kind_] = pages_->currentIndex();
    QDialog::done(result);
}

bool EditObjectInDialog(TDrawObject& object, TfrmPropertyDialog& dialog)
{
    auto step = std::make_unique<TDOChangeAction>(object, "設定変更");
    dialog.Load(object);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    if (confirmed)
        dialog.Commit(object);
    RecordChange(std::move(step));
    return confirmed;
}

std::shared_ptr<TDODesigner> MakePropertyDialogDesigner(
    const TClassInfo& objectClass, std::function<std::unique_ptr<TfrmPropertyDialog>(QWidget* parent)> make)
{
    return std::make_shared<TDialogDesigner>(objectClass, [make = std::move(make)](TDrawObject& object) {
        const std::unique_ptr<TfrmPropertyDialog> dialog = make(QApplication::activeWindow());
        return EditObjectInDialog(object, *dialog);
    });
}

}  // namespace orvella
