#include "drawing/draw_site_action_edit.h"

#include "frame/app_frame.h"
#include "drawing/action_list.h"
#include "drawing/designer.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"
#include "drawing/object_utils.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace orvella {

namespace {

const QMimeData* clipboardData()
{
    return QGuiApplication::clipboard()->mimeData();
}

bool isPictureFormat(const QString& format)
{
    return format.startsWith(QLatin1String("image/")) || format == QLatin1String("application/x-qt-image");
}

bool isTextFormat(const QString& format)
{
    return format == QLatin1String("text/plain") || format.startsWith(QLatin1String("text/plain;"));
}

// Restores a flag however the scope is left.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagGuard() { flag_ = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

QString ClipboardMimeType(const std::string& formatName)
{
    std::string name;
    try {
        name = ExpandMacros(formatName);
    } catch (const std::exception&) {
        name.clear();
    }
    if (name.empty() || name.find("$(") != std::string::npos)
        return DrawObjectClipboardFormat();
    return QStringLiteral("application/x-%1-drawobjects").arg(QString::fromStdString(name).toLower());
}

std::string ClipboardCreationCommand()
{
    const QMimeData* data = clipboardData();
    if (!data)
        return {};
    for (const QString& format : data->formats()) {
        if (isTextFormat(format))
            return "TLOTextPaste";
        if (isPictureFormat(format))
            return "TLOImagePaste";
    }
    return {};
}

// --- TStandardEditDSA -------------------------------------------------------------

void TStandardEditDSA::SetClipboardFormat(std::string format)
{
    clipboardFormat_ = std::move(format);
    mime_.clear();
}

QString TStandardEditDSA::ClipboardMime() const
{
    // Expanded on first use: the macro table is filled after the commands
    // are made.
    if (mime_.isEmpty())
        mime_ = ClipboardMimeType(clipboardFormat_);
    return mime_;
}

// --- copy, cut, clear -------------------------------------------------------------

TDSACopy::TDSACopy(QObject* parent) : TStandardEditDSA("コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), parent) {}

void TDSACopy::ExecuteFirst(TDrawSite&)
{
    Targets().CopyToClipboard(ClipboardMime());
}

TDSACut::TDSACut(QObject* parent) : TStandardEditDSA("切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X), parent)
{
    ActionType = TActionType::atDelete;
    ActionString = "切り取り";
}

void TDSACut::ExecuteFirst(TDrawSite&)
{
    Targets().CopyToClipboard(ClipboardMime());
}

void TDSACut::EachObject(TDrawSite& site, TDrawObject& object)
{
    object.Changed();
    site.RemoveObject(object);
}

TDSAClear::TDSAClear(QObject* parent) : TStandardEditDSA("クリア(&D)", QKeySequence(Qt::Key_Delete), parent)
{
    ActionType = TActionType::atDelete;
    ActionString = "クリア";
}

void TDSAClear::EachObject(TDrawSite& site, TDrawObject& object)
{
    object.Changed();
    site.RemoveObject(object);
}

// --- paste --------------------------------------------------------------------------

TDSAPaste::TDSAPaste(QObject* parent) : TStandardEditDSA("貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V), parent)
{
    ActionType = TActionType::atAdd;
    ActionString = "貼り付け";
}

void TDSAPaste::MakeList(TDrawSite& site)
{
    Targets().Clear();
    if (!Targets().PasteClipboard(ClipboardMime()))
        return;
    KeepCentresInside(Targets(), {0, 0, site.LogWidth(), site.LogHeight()});
}

bool TDSAPaste::CanExecute(TDrawSite&)
{
    if (listReady_)
        return !Targets().Empty();
    const QMimeData* data = clipboardData();
    return data && (data->hasFormat(ClipboardMime()) || data->hasImage() || data->hasText());
}

bool TDSAPaste::CanExecuteText(TTextEditTarget&)
{
    const QMimeData* data = clipboardData();
    return data && data->hasText();
}

void TDSAPaste::ExecuteOn(TDrawSite& site)
{
    if (!CanExecute(site))
        return;
    MakeList(site);
    if (Targets().Empty()) {
        // The designer records the new object as its own step.
        site.SetAllSelected(false);
        const std::string command = ClipboardCreationCommand();
        if (!command.empty())
            DesignerList().CreateObject(site, command);
        site.RefreshHandles();
        return;
    }
    const TFlagGuard ready(listReady_);
    TStandardEditDSA::ExecuteOn(site);
}

void TDSAPaste::ExecuteFirst(TDrawSite& site)
{
    site.SetAllSelected(false);
}

void TDSAPaste::EachObject(TDrawSite& site, TDrawObject& object)
{
    if (std::unique_ptr<TDrawObject> pasted = Targets().Take(object))
        site.InsertOwnedObject(std::move(pasted));
    site.AddObject(object);
    object.SetSelected(true);
}

// --- undo, redo ---------------------------------------------------------------------

namespace {

constexpr char kUndoCaption[] = "取り消し(&U)";
constexpr char kUndoCaptionOf[] = "%sの取り消し(&U)";
constexpr char kRedoCaption[] = "やり直し(&R)";
constexpr char kRedoCaptionOf[] = "%sのやり直し(&R)";

QString withStepCaption(const char* format, const std::string& stepCaption)
{
    return QString::fromUtf8(format).replace(QLatin1String("%s"), QString::fromStdString(stepCaption));
}

}  // namespace

TDSAUndo::TDSAUndo(QObject* parent) : TStandardDSA(kUndoCaption, QKeySequence(Qt::CTRL | Qt::Key_Z), parent) {}

void TDSAUndo::MakeList(TDrawSite&)
{
    Targets().Clear();
}

bool TDSAUndo::CanExecute(TDrawSite&)
{
    return ActionList().CanUndo();
}

void TDSAUndo::ExecuteFirst(TDrawSite& site)
{
    site.SetAllSelected(false);
    ActionList().Undo();
}

void TDSAUndo::UpdateFor(const TCommandTarget& target)
{
    if (target.Text) {
        setEnabled(target.Text->CanUndo());
        setText(QString::fromUtf8(kUndoCaption));
    } else if (target.Site && ActionList().CanUndo()) {
        setEnabled(true);
        setText(withStepCaption(kUndoCaptionOf, ActionList().UndoCaption()));
    } else {
        setEnabled(false);
        setText(QString::fromUtf8(kUndoCaption));
    }
}

TDSARedo::TDSARedo(QObject* parent)
    : TStandardDSA(kRedoCaption, QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z), parent)
{
}

void TDSARedo::MakeList(TDrawSite&)
{
    Targets().Clear();
}

bool TDSARedo::CanExecute(TDrawSite&)
{
    return ActionList().CanRedo();
}

void TDSARedo::ExecuteFirst(TDrawSite& site)
{
    site.SetAllSelected(false);
    ActionList().Redo();
}

void TDSARedo::UpdateFor(const TCommandTarget& target)
{
    if (!target.Text && target.Site && ActionList().CanRedo()) {
        setEnabled(true);
        setText(withStepCaption(kRedoCaptionOf, ActionList().RedoCaption()));
    } else {
        setEnabled(false);
        setText(QString::fromUtf8(kRedoCaption));
    }
}

}  // namespace orvella
