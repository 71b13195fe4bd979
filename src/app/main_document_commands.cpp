// The document commands of the main window: the dirty prompt, new, open,
// save and save as, the picture export, the user paper backup, the start
// menu, templates applied to the current face and dropped files.

#include "frame/app_frame.h"
#include "app/file_dialogs.h"
#include "app/hosted_view.h"
#include "app/image_export.h"
#include "app/main_window.h"
#include "app/print_dialog.h"
#include "document/effective_paper.h"
#include "print/cups_print_device.h"
#include "print/disc_print_windows.h"
#include "print/gutenprint_backend.h"
#include "print/paper_print_setting.h"
#include "print/printer_configuration.h"
#include "print/printer_selection.h"
#include "print/pdf_print_device.h"
#include "print/print_title.h"
#include "frame/printer_list.h"
#include "frame/message_box.h"
#include "app/start_wizard.h"
#include "app/user_paper_file.h"
#include "formats/compound_file.h"
#include "graphics/graphic.h"
#include "document/label_data.h"
#include "drawing/do_list.h"
#include "drawing/object_utils.h"
#include "paper/extra_info.h"
#include "paper/face_info.h"
#include "paper/paper_info.h"
#include "paper/program_catalog.h"
#include "platform/text_case.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

namespace orvella {

namespace {

constexpr const char* kDocumentExt = "ovd";

std::string appTitle() { return AppFrame() ? AppFrame()->Title() : std::string("Orvella"); }

void showFormatted(const char* pattern)
{
    ShowInfo(FormatMessage(pattern, appTitle()));
}

// The hourglass for the time of a long command.
class TWaitCursor {
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

QString documentFilter()
{
    QString pattern;
    try {
        pattern = QString::fromStdString(ExpandMacros("$(OpenDataFilter)"));
    } catch (const EMacroString&) {
        pattern = QStringLiteral("%sデータ(*.%s)|*.%s|すべてのファイル(*.*)|*.*");
    }
    const QString ext = QString::fromLatin1(kDocumentExt);
    return FormatText(pattern, {QString::fromStdString(appTitle()), ext, ext});
}

// Days since 1899-12-30, as the document keeps its times.
double nowAsDateTime()
{
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    const QDateTime now = QDateTime::currentDateTime();
    return double(epoch.msecsTo(now)) / 86400000.0;
}

// The default paper of a new document: the one the settings name, or the
// catalog's first; a copy that the document may change.
std::unique_ptr<TPaperInfo> defaultPaper(const TPapersV2& catalog)
{
    if (catalog.Count() == 0)
        throw std::runtime_error("the paper catalog holds no paper");
    int index = catalog.IndexOfName(GetSettingString("DefaultPaperName", ""));
    if (index < 0)
        index = 0;
    return catalog.Papers(index).Clone();
}

}  // namespace

bool TfrmMain::ConfirmDiscard()
{
    if (!Modified())
        return true;
    switch (ShowAppMessage("データが修正されています\r\n保存しますか？", {bkYes, bkNo, bkCancel}, 0, 2)) {
    case mrYes:
        Save();
        return !Modified();
    case mrNo:
        return true;
    default:
        return false;
    }
}

void TfrmMain::replaceDocument(std::unique_ptr<TLabelData>& document, const QString& fileName)
{
    // The caller keeps the old document until the views have let go of it,
    // and has it at hand should showing the new one fail.
    hosted_ = nullptr;
    std::swap(document_, document);
    fileName_ = fileName;
    sheetView_->ShowDocument(*document_);
    if (layoutView_ != sheetView_)
        layoutView_->ShowDocument(*document_);
    PaperInfoToPrinter();
}

void TfrmMain::PaperInfoToPrinter()
{
    TApplicationPrinter& application = ApplicationPrinterObject();
    const TPaperInfo* paper = document_->Paper();
    if (application.Device.empty() || !paper)
        return;
    // The printer follows the paper as far as it can; a printer that cannot
    // be asked keeps its settings, and printing tells the rest.
    try {
        TWaitCursor wait;
        TPrinterConfiguration printer(application.Device);
        printer.GetDeviceMode().Assign(application.DeviceMode);
        TPrintSettingData data;
        FillPrintSettingData(data, printer, *paper);
        ProgramPaperPrintSetting().Apply(printer, data);
        printer.ApplyToPrinter();
    } catch (const std::exception&) {
    }
}

void TfrmMain::NewDocument()
{
    if (!ConfirmDiscard())
        return;
    TPapersV2& catalog = ProgramPapers();
    std::unique_ptr<TPaperInfo> paper = defaultPaper(catalog);
    paper->Landscape = GetSettingBool("DefaultLandScape", false);
    const bool freelyPlaced = dynamic_cast<const TFreePaperInfo*>(paper.get()) != nullptr;

    auto document = std::make_unique<TLabelData>();
    document->SetPaperResetPreviews(*paper);
    document->SetSeparatelyDesign(freelyPlaced || GetSettingBool("DefaultDesign", true));
    const auto images = catalog.GetExtraInfo("PaperImages", paper->PaperName);
    document->SetImagePaperInfo(dynamic_cast<const TImagePaperInfo*>(images.get()));
    const auto extra = catalog.GetExtraInfo("ExtraInfos", paper->PaperName);
    document->SetExtraPaperInfo(dynamic_cast<const TExPaperInfo*>(extra.get()));
    document->SetModified(false);

    replaceDocument(document, {});
    UpdateTitle();
    layoutView_->ResetView();
    ShowView(layoutView_);
}

bool TfrmMain::loadDocument(const QString& fileName)
{
    const auto refuse = [this, &fileName] {
        hmOpenFile.Remove(fileName.toStdString());
        showFormatted("指定されたファイルは「%s」のデータではありません");
        return false;
    };
    auto document = std::make_unique<TLabelData>();
    try {
        document->LoadFromFile(fileName.toStdString());
        // Papers of the printer maker's direct-print group moved to its
        // common group.
        if (const TPaperInfo* paper = document->Paper(); paper && paper->GroupName == "Direct Print") {
            std::unique_ptr<TPaperInfo> renamed = paper->Clone();
            renamed->GroupName = "Canon (シリーズ共通)";
            document->SetPaper(*renamed);
            document->SetModified(false);
        }
    } catch (const std::exception&) {
        return refuse();
    }

    // Once the new document is in place, a failure must bring the current
    // one back, shown as it was: the user did not ask to lose it.
    THostedView* shownBefore = hosted_;
    const QString nameBefore = fileName_;
    const bool sheetMode = document->SheetMode();
    try {
        replaceDocument(document, fileName);  // document now holds the previous one
        UpdateTitle();
        layoutView_->ClearSiteModified();
        sheetView_->ResetView();
        layoutView_->ResetView();
        ShowView(sheetMode ? sheetView_ : layoutView_);
        rememberFile(fileName);
        return true;
    } catch (const std::exception&) {
        if (document) {
            replaceDocument(document, nameBefore);
            UpdateTitle();
            ShowView(shownBefore ? shownBefore : layoutView_);
        }
        return refuse();
    }
}

bool TfrmMain::OpenDocument(const QString& fileName)
{
    if (!ConfirmDiscard())
        return false;
    return openAsked(fileName);
}

bool TfrmMain::openAsked(const QString& fileName)
{
    QString name = fileName;
    if (name.isEmpty()) {
        TFileDialogRequest request;
        request.Kind = TFileDialogKind::Open;
        request.Title = QStringLiteral("ファイルを開く");
        request.Filter = documentFilter();
        request.DefaultExts = {QString::fromLatin1(kDocumentExt)};
        request.FileName = fileName_;
        const auto answer = ExecuteFileDialog(request, this);
        if (!answer)
            return false;
        name = answer->FileName;
    }
    if (!QFileInfo(name).isFile()) {
        hmOpenFile.Remove(name.toStdString());
        showFormatted("「%s」のファイルが見つかりません");
        return false;
    }
    return loadDocument(name);
}

void TfrmMain::rememberFile(const QString& fileName)
{
    hmOpenFile.Add(fileName.toStdString());
    hmFileFolder.Add(QFileInfo(fileName).absolutePath().toStdString());
}

bool TfrmMain::writeDocument(const QString& fileName)
{
    try {
        TWaitCursor wait;
        if (hosted_)
            hosted_->FlushFace();
        document_->SetLastSave(nowAsDateTime());
        document_->SaveToFile(fileName.toStdString());
    } catch (const std::exception&) {
        ShowInfo("データの保存に失敗しました");
        return false;
    }
    fileName_ = fileName;
    UpdateTitle();
    rememberFile(fileName);
    return true;
}

bool TfrmMain::Save()
{
    if (fileName_.isEmpty())
        return SaveAs();
    return writeDocument(fileName_);
}

bool TfrmMain::SaveAs()
{
    TFileDialogRequest request;
    request.Kind = TFileDialogKind::Save;
    request.Filter = documentFilter();
    request.DefaultExts = {QString::fromLatin1(kDocumentExt)};
    request.FileName = fileName_;
    request.OverwritePrompt = true;
    const auto answer = ExecuteFileDialog(request, this);
    if (!answer)
        return false;
    // The document takes the new name only once it was written under it.
    return writeDocument(answer->FileName);
}

void TfrmMain::ExportImage()
{
    TFileDialogRequest request;
    request.Kind = TFileDialogKind::Save;
    request.Filter = ImageExportFilter();
    for (const TImageExportType& type : ImageExportTypes())
        request.DefaultExts << QString::fromLatin1(type.Ext);
    request.OverwritePrompt = true;
    const auto answer = ExecuteFileDialog(request, this);
    if (!answer)
        return;
    const auto types = ImageExportTypes();
    const int index = std::clamp(answer->FilterIndex, 1, int(types.size())) - 1;
    try {
        TWaitCursor wait;
        if (hosted_)
            hosted_->FlushFace();
        ExportFaceImage(*document_, document_->CurrentLabelNo(), types[index], answer->FileName);
    } catch (...) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
}

void TfrmMain::Print()
{
    try {
        if (hosted_)
            hosted_->FlushFace();
        const std::shared_ptr<const TPaperInfo> paper = document_->EffectivePaper();
        if (!paper)
            return;
        const auto& direct = DirectPrintSupport().IsDirectPrintPaper;
        TfrmPrint dialog(*paper, direct && direct(*paper), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        std::unique_ptr<TPdfPrintDevice> device;
        if (dialog.PrinterName() == kPdfPrinterName) {
            TFileDialogRequest request;
            request.Kind = TFileDialogKind::Save;
            request.Filter = QStringLiteral("PDF ファイル (*.pdf)|*.pdf");
            request.DefaultExts << QStringLiteral("pdf");
            request.OverwritePrompt = true;
            const auto answer = ExecuteFileDialog(request, this);
            if (!answer)
                return;
            device = CreatePdfFilePrinter(answer->FileName.toStdString(), 360);
        } else {
            device = CreateCupsPrinter(dialog.PrinterName(), 360, DiscPrintJobOptions(dialog.PrinterName(), *paper));
        }
        // Date objects that follow the print time show this one.
        document_->SetLastPrint(nowAsDateTime());
        device->SetTitle(PrintJobTitle(fileName_.toStdString()));
        TfrmPrintProgress progress(*device, this);
        progress.show();
        QApplication::processEvents();
        TPrintSite site(*document_, *device, dialog.Options(), &progress);
        site.Banding = PrintBandingSetting();
        site.Print();
    } catch (...) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
}

void TfrmMain::AdjustDiscSize()
{
    try {
        const std::shared_ptr<const TPaperInfo> paper = document_->EffectivePaper();
        const auto& direct = DirectPrintSupport().IsDirectPrintPaper;
        const auto& adjust = DiscPrintWindows().AdjustDiscSize;
        if (!paper || !direct || !direct(*paper) || !adjust)
            return;
        if (hosted_)
            hosted_->FlushFace();
        if (adjust(*document_) && hosted_)
            hosted_->ShowDocument(*document_);
    } catch (...) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
}

void TfrmMain::ImportPaper()
{
    ImportUserPaperFile(this);
}

void TfrmMain::ExportPaper()
{
    ExportUserPaperFile(this);
}

void TfrmMain::ApplyTemplateObjects(const TRect& sourceFace, TDOList& objects)
{
    TWaitCursor wait;
    // Changes made before (on other sheets, or to the document's
    // information) must still be offered for saving; only the template's
    // own change to this face does not count. Unflushed edits of this face
    // are replaced by the template and do not count either.
    const bool changedBefore = document_->Modified();
    if (hosted_)
        hosted_->FlushFace();
    const std::shared_ptr<const TPaperInfo> paper = document_->EffectivePaper();
    if (!paper)
        return;
    TFaceInfo face;
    face.LoadFromPaper(*paper, document_->CurrentLabelNo());
    const TRect target = face.GetOuterRect();
    RemapObjects(objects, {0, 0, sourceFace.Right - sourceFace.Left, sourceFace.Bottom - sourceFace.Top},
                 {0, 0, target.Right - target.Left, target.Bottom - target.Top});
    document_->SaveFaceObjects(document_->CurrentLabelNo(), objects);
    document_->SetModified(changedBefore);
    if (layoutView_)
        layoutView_->ShowDocument(*document_);
    if (sheetView_ != layoutView_)
        sheetView_->ShowDocument(*document_);
}

void TfrmMain::StartMenu()
{
    if (!createStartWizard_ || !ConfirmDiscard())
        return;
    std::unique_ptr<IStartWizard> wizard = createStartWizard_();
    if (!wizard || !wizard->LoadData()) {
        ShowInfo(FormatMessage(ExpandMacros("$(SysMsgCDNotFound)"), "ウイザード情報"));
        return;
    }
    for (;;) {
        switch (wizard->Execute()) {
        case TStartChoice::Cancelled:
            return;
        case TStartChoice::CloseProgram:
            close();
            return;
        case TStartChoice::OpenDocument:
            // The dirty prompt was answered before the wizard opened.
            if (openAsked({}))
                return;
            break;
        case TStartChoice::NewDocument: {
            std::unique_ptr<TLabelData> document = wizard->TakeDocument();
            if (!document)
                return;
            document->SetModified(true);
            replaceDocument(document, {});
            UpdateTitle();
            layoutView_->ResetView();
            ShowView(layoutView_);
            return;
        }
        }
    }
}

void TfrmMain::DropFiles(const QStringList& files)
{
    if (files.isEmpty())
        return;
    const QString file = files.constFirst();
    raise();
    activateWindow();
    QFile in(file);
    QByteArray head;
    if (in.open(QIODevice::ReadOnly))
        head = in.read(8);
    if (IsCompoundFile(std::string_view(head.constData(), std::size_t(head.size())))) {
        OpenDocument(file);
        return;
    }
    if (IsImageFileName(file)) {
        if (hosted_ && hosted_ == layoutView_)
            hosted_->AddImageFile(file);
        return;
    }
    ShowInfo("指定された画像形式には対応していません。");
}

bool IsImageFileName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.isEmpty())
        return false;
    std::string list;
    try {
        list = ExpandMacros("$(ImageFileExtentions)");
    } catch (const EMacroString&) {
        return false;
    }
    // Every entry followed by ";", so ".jp" does not match ".jpg".
    const std::string extension = UpperCase(suffix.toStdString());
    if (UpperCase(list + ";").find("." + extension + ";") == std::string::npos)
        return false;
    // The list names kinds (Photo CD) that no reader of ours decodes yet;
    // such a file is refused like any other, not taken and then lost.
    const std::vector<TPictureFormat> formats = PictureFormats();
    return std::any_of(formats.begin(), formats.end(),
                       [&](const TPictureFormat& format) { return format.Extension == extension; });
}

}  // namespace orvella
