#include "print/direct_print.h"

#include "document/effective_paper.h"
#include "paper/face_shape.h"
#include "paper/paper_info.h"
#include "paper/papers.h"
#include "paper/program_catalog.h"
#include "platform/win_math.h"
#include "print/canon_ext_ddi.h"
#include "print/driver_backend.h"
#include "print/pic.h"
#include "print/printer_configuration.h"
#include "print/printer_selection.h"

#include <algorithm>
#include <array>
#include <map>

namespace orvella {

namespace {

constexpr std::string_view kDirectPrintGenre = "ダイレクトプリント";

// "GenreInfo" read once per catalog release: a catalog update brings a new
// PPRNo, and the list is read again before the next question.
struct TGenreCache {
    bool Loaded = false;
    const TPapersV2* Catalog = nullptr;
    int32_t PPRNo = 0;
    std::map<std::string, std::string, std::less<>> Genres;
};

TGenreCache& GenreCache()
{
    static TGenreCache cache;
    return cache;
}

const std::map<std::string, std::string, std::less<>>* CurrentGenres()
{
    if (!HasProgramPapers())
        return nullptr;
    const TPapersV2& catalog = ProgramPapers();
    TGenreCache& cache = GenreCache();
    if (!cache.Loaded || cache.Catalog != &catalog || cache.PPRNo != catalog.UpdateInfo().PPRNo) {
        std::vector<std::string> lines;
        catalog.ReadGlobalInfo("GenreInfo", lines);
        cache.Genres.clear();
        for (const std::string& line : lines) {
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos)
                cache.Genres.emplace(line.substr(0, equals), line.substr(equals + 1));
        }
        cache.Loaded = true;
        cache.Catalog = &catalog;
        cache.PPRNo = catalog.UpdateInfo().PPRNo;
    }
    return &cache.Genres;
}

// The first element under section whose attribute has that value. Names
// come from printers and catalogs, so they are compared, never spliced
// into an XPath expression.
std::optional<TXMLIniSection> FindChild(TXMLIniSection& section, std::string_view tag, std::string_view attribute,
                                        std::string_view value)
{
    TXMLIniSectionList list = section.GetSections(tag);
    for (int i = 0; i < list.Count(); ++i) {
        TXMLIniSection child = list.Item(i);
        if (child.ReadString(attribute, "") == value)
            return child;
    }
    return std::nullopt;
}

std::string FaceShapeText(TFaceShape shape)
{
    const auto idents = FaceShapeIdents();
    return std::size_t(shape) < idents.size() ? idents[shape] : "";
}

// Moves a face of the given size so that its centre lies on the point.
int32_t CentredStart(int32_t centre, int32_t size) { return centre - size / 2; }

std::unique_ptr<TPrinterConfiguration> ApplicationPrinterConfiguration(std::shared_ptr<IPrinterQuery> query)
{
    TApplicationPrinter& application = ApplicationPrinterObject();
    const std::string device = application.Device.empty() ? std::string(kPdfPrinterName) : application.Device;
    auto printer = std::make_unique<TPrinterConfiguration>(device, std::move(query));
    if (!application.Device.empty())
        printer->GetDeviceMode().Assign(application.DeviceMode);
    return printer;
}

}  // namespace

const char* const kConfirmPrinterText =
    "このデータはダイレクト印刷用にデザインされていますが、\r\n"
    "選択されているプリンタはダイレクト印刷に対応していません。\r\n\r\n"
    "変更をする場合は[プリンタ設定変更]でプリンタを変更してください。";

bool IsDirectPrintGroup(const std::string& groupName)
{
    const auto* genres = CurrentGenres();
    if (!genres)
        return false;
    const auto found = genres->find(groupName);
    return found != genres->end() && found->second.starts_with(kDirectPrintGenre);
}

bool IsDirectPrintPaper(const TPaperInfo& paper) { return paper.ReadOnly && IsDirectPrintGroup(paper.GroupName); }

void RemoveDirectPrintGroups(std::vector<std::string>& names)
{
    for (std::size_t i = names.size(); i-- > 0;)
        if (IsDirectPrintGroup(names[i]))
            names.erase(names.begin() + std::ptrdiff_t(i));
}

std::string GetPrinterDriverName(const std::string& printer, std::shared_ptr<IPrinterQuery> query)
{
    return TPrinterConfiguration(printer, std::move(query)).GetDriverName();
}

std::string DirectPrinterText(const TPapersV2& catalog)
{
    std::vector<std::string> lines;
    catalog.ReadGlobalInfo("DirectPrinter", lines);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TDirectPrinterInfo::TDirectPrinterInfo()
{
    load(HasProgramPapers() ? DirectPrinterText(ProgramPapers()) : std::string());
}

TDirectPrinterInfo::TDirectPrinterInfo(const TPapersV2& catalog) { load(DirectPrinterText(catalog)); }

TDirectPrinterInfo::TDirectPrinterInfo(std::string_view xml, FromTextTag) { load(xml); }

std::unique_ptr<TDirectPrinterInfo> TDirectPrinterInfo::FromText(std::string_view xml)
{
    return std::unique_ptr<TDirectPrinterInfo>(new TDirectPrinterInfo(xml, FromTextTag{}));
}

void TDirectPrinterInfo::load(std::string_view xml)
{
    // The catalog stores the text in CP932 and declares Shift_JIS; it
    // reaches us already decoded, so the declaration no longer holds.
    if (xml.starts_with("<?xml")) {
        const std::size_t end = xml.find("?>");
        xml = end == std::string_view::npos ? std::string_view() : xml.substr(end + 2);
    }
    // The text comes from a downloaded catalog: one that does not parse
    // describes no printer rather than stopping the question.
    bool parsed = false;
    if (xml.find_first_not_of(" \t\r\n") != std::string_view::npos) {
        try {
            document_.LoadFromString(xml);
            parsed = true;
        } catch (const std::exception&) {
        }
    }
    if (!parsed)
        document_ = TXMLIniFile();
    root_ = document_.GetSection("DirectPrinterInfo");
}

void TDirectPrinterInfo::SelectPrinter(const std::string& name)
{
    selected_.reset();
    selectedName_ = name;
    selected_ = FindChild(*root_, "PrinterData", "PrinterName", name);
}

bool TDirectPrinterInfo::SupportsPaper(const TPaperInfo& paper)
{
    if (!selected_ || !IsDirectPrintPaper(paper) || paper.GetFaceCount() < 1)
        return false;
    return FindChild(*selected_, "FaceShape", "ShapeName", FaceShapeText(paper.GetFaceShape(0))) &&
           FindChild(*selected_, "Purpose", "PurposeName", paper.GetFacePurpose(0));
}

TDirectPrintArea TDirectPrinterInfo::GetTrayArea() const
{
    TDirectPrintArea area;
    if (selected_) {
        area.TrayWidth = selected_->ReadInteger("TrayWidth", 0);
        area.TrayHeight = selected_->ReadInteger("TrayHeight", 0);
        area.CenterX = selected_->ReadInteger("CenterX", 0);
        area.CenterY = selected_->ReadInteger("CenterY", 0);
    }
    return area;
}

void TDirectPrinterInfo::GetSizeLimits(TSize& maxOuter, TSize& minInner) const
{
    if (!selected_)
        return;
    maxOuter = {selected_->ReadInteger("MaxOuterWidth", 0), selected_->ReadInteger("MaxOuterHeight", 0)};
    minInner = {selected_->ReadInteger("MinInnerWidth", 0), selected_->ReadInteger("MinInnerHeight", 0)};
}

void TDirectPrinterInfo::GetPrinterNames(std::vector<std::string>& names)
{
    TXMLIniSectionList list = root_->GetSections("PrinterData");
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Item(i).ReadString("PrinterName", ""));
}

std::unique_ptr<TPaperInfo> TDirectPrinterInfo::CreateDirectPaper(const TPaperInfo& paper) const
{
    if (!selected_ || !IsDirectPrintPaper(paper))
        return nullptr;
    const TDirectPrintArea area = GetTrayArea();
    TSize maxOuter;
    TSize minInner;
    GetSizeLimits(maxOuter, minInner);

    std::unique_ptr<TPaperInfo> copy = paper.Clone();
    copy->GroupName = selectedName_;
    copy->SetWidth(area.TrayWidth);
    copy->SetHeight(area.TrayHeight);

    // A description without an outer limit leaves the face as large as it
    // is, rather than shrinking it to nothing.
    const auto cut = [](int32_t size, int32_t limit) { return limit > 0 && size > limit ? limit : size; };
    if (auto* free = dynamic_cast<TFreePaperInfo*>(copy.get()); free && free->Faces.Count() > 0) {
        TFaceItem& face = free->Faces.Items(0);
        face.Face.CutCenterWidth = std::max(face.Face.CutCenterWidth, minInner.cx);
        face.Face.CutCenterHeight = std::max(face.Face.CutCenterHeight, minInner.cy);
        face.SetWidth(cut(face.Width(), maxOuter.cx));
        face.SetHeight(cut(face.Height(), maxOuter.cy));
        face.SetLeft(CentredStart(area.CenterX, face.Width()));
        face.SetTop(CentredStart(area.CenterY, face.Height()));
    } else if (auto* matrix = dynamic_cast<TMatrixPaperInfo*>(copy.get())) {
        matrix->Face.CutCenterWidth = std::max(matrix->Face.CutCenterWidth, minInner.cx);
        matrix->Face.CutCenterHeight = std::max(matrix->Face.CutCenterHeight, minInner.cy);
        matrix->FaceWidth = cut(matrix->FaceWidth, maxOuter.cx);
        matrix->FaceHeight = cut(matrix->FaceHeight, maxOuter.cy);
        matrix->LeftOffset = CentredStart(area.CenterX, matrix->FaceWidth);
        matrix->TopOffset = CentredStart(area.CenterY, matrix->FaceHeight);
    }
    return copy;
}

bool GetPicTrayArea(TPrinterConfiguration& printer, TDirectPrintArea& area)
{
    area = {655, 1510, 2100, 2970};
    const TDriverBackend& backend = DriverBackend();
    std::shared_ptr<const TPicLibrary> library = backend.PicLibrary ? backend.PicLibrary() : nullptr;
    if (!library || !library->Complete())
        return false;
    try {
        TPicPreset pic(library);
        std::array<uint8_t, pic::kStatusSize> status{};
        std::array<uint8_t, pic::kNameSize> deviceName{};
        const std::string& name = printer.GetDeviceName();
        std::copy_n(name.begin(), std::min(name.size(), deviceName.size() - 1), deviceName.begin());
        pic.PrinterSpecifies(status, deviceName);
        if (ReadInt32(status, 4) == pic::kNotSupported)
            return false;
        std::vector<uint8_t> devMode = printer.GetDeviceMode().GetDevModeA();
        pic.SetDevMode(devMode);

        std::array<uint8_t, pic::kCriteriaSize> criteria{};
        const int32_t wanted[] = {-1, -1, -1, 4, -1, 0};
        for (std::size_t i = 0; i < std::size(wanted); ++i)
            WriteInt32(criteria, 4 * i, wanted[i]);
        std::array<uint8_t, pic::kNameSize> presetName{};
        if (pic.SelectPreset(presetName, criteria)) {
            pic.SetPresetOfIndex(0, 1);
        } else {
            std::vector<uint8_t> dataA(pic::kDataASize);
            std::vector<uint8_t> dataB(pic::kDataBSize);
            pic.GetData(dataA, dataB);
            WriteInt32(dataB, 120, 9);
            WriteInt32(dataB, 124, -1);
            WriteInt32(dataB, 280, pic::kMediaDiscLabel);
            WriteInt32(dataB, 284, -1);
            pic.SetData(dataA, dataB);
        }

        std::vector<uint8_t> info(pic::kPrintingInfoSize);
        pic.GetPrintingInfo(info);
        const int32_t centerX = ReadInt32(info, pic::kCenterXDots);
        if (centerX <= 0)
            return false;
        const int32_t dpiX = ReadInt32(info, pic::kHorizontalDpi);
        const int32_t dpiY = ReadInt32(info, pic::kVerticalDpi);
        area.CenterX = MulDiv(254, centerX, dpiX);
        area.CenterY = MulDiv(254, ReadInt32(info, pic::kCenterYDots), dpiY);
        area.TrayWidth = MulDiv(254, ReadInt32(info, pic::kTrayWidthDots), dpiX);
        area.TrayHeight = MulDiv(254, ReadInt32(info, pic::kTrayHeightDots), dpiY);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

namespace {

// The Canon answer: true when the driver told a disc centre.
bool CanonDiscArea(TPrinterConfiguration& printer, TDirectPrintArea& area)
{
    area = {655, 1510, 1357, 2557};
    std::unique_ptr<ImCanonExtDDI> canon = CreateCanonExtDDI(printer);
    if (!canon->IsAvailable())
        return false;
    const TCanonDiscInfo disc = canon->GetDiscInfo();
    if (disc.FormId == 0 || disc.CenterX == 0 || disc.CenterY == 0)
        return false;
    area.CenterX = int32_t(disc.CenterX / 10);
    area.CenterY = int32_t(disc.CenterY / 10);
    TPrinterForm& forms = printer.GetForms();
    // Form identifiers beyond int32 cannot name a form of ours.
    if (disc.FormId <= uint32_t(INT32_MAX)) {
        const int index = forms.FindById(int32_t(disc.FormId));
        if (index >= 0) {
            area.TrayWidth = forms.GetItem(index).Width();
            area.TrayHeight = forms.GetItem(index).Height();
        }
    }
    return true;
}

}  // namespace

void GetDirectPrintArea(TPrinterConfiguration& printer, const TPaperInfo& paper, TDirectPrintArea& area)
{
    if (CanonDiscArea(printer, area))
        return;
    TDirectPrinterInfo info;
    info.SelectPrinter(printer.GetDriverName());
    if (!GetPicTrayArea(printer, area)) {
        if (!info.SupportsPaper(paper))
            info.SelectPrinter(paper.GroupName);
        area = info.GetTrayArea();
    } else if (info.SupportsPaper(paper)) {
        const TDirectPrintArea tray = info.GetTrayArea();
        area.TrayWidth = tray.TrayWidth;
        area.TrayHeight = tray.TrayHeight;
    }
}

bool IsDirectPrinterFor(TPrinterConfiguration& printer, const TPaperInfo& paper)
{
    TDirectPrinterInfo info;
    info.SelectPrinter(printer.GetDriverName());
    if (info.SupportsPaper(paper))
        return true;
    TDirectPrintArea area;
    if (CanonDiscArea(printer, area))
        return true;
    return GetPicTrayArea(printer, area);
}

bool IsDiscMediaSelected(TPrinterConfiguration& printer)
{
    std::unique_ptr<ImCanonExtDDI> canon = CreateCanonExtDDI(printer);
    if (canon->IsAvailable()) {
        const int32_t media = canon->GetItemValue(canon::kMediaType);
        return media == canon::kMediaDisc1 || media == canon::kMediaDisc2;
    }
    // Drivers without the Canon extension may tell it their own way
    // (a CUPS queue set to its disc tray).
    const TDriverBackend& backend = DriverBackend();
    return backend.DiscMediaSelected && backend.DiscMediaSelected(printer);
}

bool IsDiscMediaSelected()
{
    try {
        return IsDiscMediaSelected(*ApplicationPrinterConfiguration(CupsPrinterQuery()));
    } catch (const std::exception&) {
        return false;
    }
}

bool CheckDirectPrinter(const TPaperInfo& effectivePaper, const TDirectPrinterCheck& check)
{
    if (!IsDirectPrintPaper(effectivePaper))
        return true;
    for (;;) {
        std::unique_ptr<TPrinterConfiguration> printer =
            check.CurrentPrinter ? check.CurrentPrinter() : ApplicationPrinterConfiguration(CupsPrinterQuery());
        if (printer && IsDirectPrinterFor(*printer, effectivePaper))
            return true;
        const TConfirmPrinterAnswer answer = check.Confirm ? check.Confirm() : TConfirmPrinterAnswer::Cancel;
        if (answer == TConfirmPrinterAnswer::Print)
            return true;
        if (answer != TConfirmPrinterAnswer::ChangePrinter)
            return false;
        if (check.ChangePrinter)
            check.ChangePrinter();
    }
}

void InstallDirectPrintSupport(std::shared_ptr<IPrinterQuery> query)
{
    TDirectPrintSupport support;
    support.IsDirectPrintPaper = [](const TPaperInfo& paper) { return IsDirectPrintPaper(paper); };
    support.PrintableDiscArea = [query](const TPaperInfo& paper) -> std::optional<TDiscArea> {
        try {
            std::unique_ptr<TPrinterConfiguration> printer = ApplicationPrinterConfiguration(query);
            TDirectPrintArea area;
            GetDirectPrintArea(*printer, paper, area);
            if (area.TrayWidth <= 0 || area.TrayHeight <= 0)
                return std::nullopt;
            return TDiscArea{area.CenterX, area.CenterY, area.TrayWidth, area.TrayHeight};
        } catch (const std::exception&) {
            return std::nullopt;
        }
    };
    // The application printer's name may change alone (the printer setup,
    // ApplyToPrinter), leaving its driver behind: the driver is asked for
    // anew whenever the name differs from the last one asked for.
    support.GetPrinterDriverName = [query, device = std::string(), driver = std::string()]() mutable {
        const TApplicationPrinter& application = ApplicationPrinterObject();
        if (application.Device != device) {
            device = application.Device;
            driver.clear();
            if (!device.empty() && device != kPdfPrinterName) {
                try {
                    driver = GetPrinterDriverName(device, query);
                } catch (const std::exception&) {
                }
            }
        }
        return driver;
    };
    SetDirectPrintSupport(std::move(support));
}

}  // namespace orvella
