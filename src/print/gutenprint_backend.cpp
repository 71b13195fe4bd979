#include "print/gutenprint_backend.h"

#include "paper/paper_info.h"
#include "platform/text_case.h"
#include "print/direct_print.h"
#include "platform/win_math.h"
#include "print/printer_configuration.h"

// The PPD interface is the one way libcups reads a driver's own options;
// CUPS marks it deprecated in favour of IPP attributes, which do not carry
// Gutenprint's disc options.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/cups.h>
#include <cups/ppd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace orvella {

namespace {

constexpr int32_t kTrayDpi = 720;
constexpr int32_t kPointsPerInch = 72;

struct TPpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

std::optional<TPpdRange> ReadRange(ppd_file_t* ppd, const char* keyword)
{
    ppd_option_t* option = ppdFindOption(ppd, keyword);
    if (!option || option->num_choices <= 0)
        return std::nullopt;
    TPpdRange range{INT32_MAX, INT32_MIN, 0};
    bool any = false;
    for (int i = 0; i < option->num_choices; ++i) {
        int value = 0;
        if (std::sscanf(option->choices[i].choice, "%d", &value) != 1)
            continue;
        range.Minimum = std::min(range.Minimum, int32_t(value));
        range.Maximum = std::max(range.Maximum, int32_t(value));
        any = true;
    }
    if (!any)
        return std::nullopt;
    int defaultValue = 0;
    range.Default = std::sscanf(option->defchoice, "%d", &defaultValue) == 1 ? int32_t(defaultValue) : range.Maximum;
    return range;
}

int32_t PointsToTenths(int32_t points) { return MulDiv(points, 254, kPointsPerInch); }

int32_t TenthsToPoints(int32_t tenths) { return MulDiv(tenths, kPointsPerInch, 254); }

std::string Option(const char* name, int32_t value) { return std::string(name) + "=" + std::to_string(value); }

// The printing-information library as the back-end offers it: one object
// per question, knowing the queue once PrinterSpecifies named it.
struct TDiscPic {
    std::optional<TGutenprintDisc> Disc;
};

std::string NameFromBuffer(TPicBytes bytes)
{
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t(0));
    return std::string(bytes.begin(), end);
}

std::shared_ptr<const TPicLibrary> MakeDiscPicLibrary(
    std::function<std::optional<TGutenprintDisc>(const std::string&)> discOf)
{
    auto library = std::make_shared<TPicLibrary>();
    const auto create = [](int32_t) -> TPicHandle { return new TDiscPic; };
    const auto destroy = [](TPicHandle handle) { delete static_cast<TDiscPic*>(handle); };
    library->Create_CPic = create;
    library->Create_CPicPreset = create;
    library->Destroy_CPic = destroy;
    library->Destroy_CPicPreset = destroy;
    library->PrinterSpecifies = [discOf](TPicHandle handle, TPicBytes status, TPicBytes deviceName) {
        auto* pic = static_cast<TDiscPic*>(handle);
        pic->Disc = discOf(NameFromBuffer(deviceName));
        WriteInt32(status, 4, pic->Disc ? 0 : pic::kNotSupported);
        return 0;
    };
    library->GetPrintingInfo = [](TPicHandle handle, TPicBytes record) {
        const auto* pic = static_cast<TDiscPic*>(handle);
        if (!pic->Disc)
            return 1;
        const int32_t width = MulDiv(pic->Disc->PageWidthPt, kTrayDpi, kPointsPerInch);
        const int32_t height = MulDiv(pic->Disc->PageHeightPt, kTrayDpi, kPointsPerInch);
        WriteInt32(record, pic::kHorizontalDpi, kTrayDpi);
        WriteInt32(record, pic::kVerticalDpi, kTrayDpi);
        WriteInt32(record, pic::kTrayWidthDots, width);
        WriteInt32(record, pic::kTrayHeightDots, height);
        WriteInt32(record, pic::kCenterXDots, width / 2);
        WriteInt32(record, pic::kCenterYDots, height / 2);
        return 0;
    };
    // The driver has no presets and keeps no device mode of ours: the rest
    // succeeds without effect.
    library->SelectPreset = [](TPicHandle, int32_t& found, TPicBytes, TPicBytes) {
        found = 0;
        return 0;
    };
    library->SetToDriver = [](TPicHandle) { return 0; };
    library->GetDevMode = [](TPicHandle, TPicBytes, TPicBytes) { return 0; };
    library->SetDevMode = [](TPicHandle, TPicBytes) { return 0; };
    library->PrintDialog = [](TPicHandle, TPicBytes) { return 0; };
    library->SetData = [](TPicHandle, TPicBytes, TPicBytes) { return 0; };
    library->GetData = [](TPicHandle, TPicBytes, TPicBytes) { return 0; };
    library->GetRange = [](TPicHandle, TPicBytes) { return 0; };
    library->GetString = [](TPicHandle, TPicBytes, TPicBytes, TPicBytes) { return 0; };
    const auto preset = [](TPicHandle, int32_t, int32_t) { return 0; };
    library->GetPresetOfIndex = preset;
    library->GetPresetOfPresetID = preset;
    library->SetPresetOfIndex = preset;
    library->SetPresetOfPresetID = preset;
    return library;
}

}  // namespace

int32_t TGutenprintDisc::TrayWidth() const { return PointsToTenths(PageWidthPt); }

int32_t TGutenprintDisc::TrayHeight() const { return PointsToTenths(PageHeightPt); }

bool TGutenprintDisc::DiscSelected() const
{
    return DefaultInputSlot == "CD" ||
           std::find(DiscMediaTypes.begin(), DiscMediaTypes.end(), DefaultMediaType) != DiscMediaTypes.end();
}

std::optional<TGutenprintDisc> ReadGutenprintDisc(const std::string& ppdFile)
{
    std::unique_ptr<ppd_file_t, TPpdCloser> ppd(ppdOpenFile(ppdFile.c_str()));
    if (!ppd)
        return std::nullopt;
    ppd_option_t* slot = ppdFindOption(ppd.get(), "InputSlot");
    if (!slot || !ppdFindChoice(slot, "CD"))
        return std::nullopt;
    TGutenprintDisc disc;
    for (const char* name : {"CDCustom", "CD5Inch"}) {
        if (ppd_size_t* size = ppdPageSize(ppd.get(), name); size && size->width > 0 && size->length > 0) {
            disc.PageSize = name;
            disc.PageWidthPt = int32_t(std::lround(size->width));
            disc.PageHeightPt = int32_t(std::lround(size->length));
            break;
        }
    }
    if (disc.PageSize.empty())
        return std::nullopt;
    disc.DefaultInputSlot = slot->defchoice;
    disc.OuterDiameter = ReadRange(ppd.get(), "StpCDOuterDiameter");
    disc.InnerDiameter = ReadRange(ppd.get(), "StpCDInnerDiameter");
    if (ppd_option_t* media = ppdFindOption(ppd.get(), "MediaType")) {
        disc.DefaultMediaType = media->defchoice;
        for (int i = 0; i < media->num_choices; ++i)
            if (UpperCase(media->choices[i].choice).find("CD") != std::string::npos)
                disc.DiscMediaTypes.push_back(media->choices[i].choice);
    }
    return disc;
}

std::vector<std::string> DiscJobOptions(const TGutenprintDisc& disc, int32_t outerWidth, int32_t innerWidth)
{
    std::vector<std::string> options{"InputSlot=CD", "PageSize=" + disc.PageSize};
    const auto within = [](const TPpdRange& range, int32_t value) {
        return std::clamp(value, range.Minimum, range.Maximum);
    };
    if (disc.OuterDiameter)
        options.push_back(Option("StpCDOuterDiameter", within(*disc.OuterDiameter, TenthsToPoints(outerWidth))));
    if (disc.InnerDiameter)
        options.push_back(Option("StpCDInnerDiameter", within(*disc.InnerDiameter, TenthsToPoints(innerWidth))));
    return options;
}

std::vector<std::string> DiscPrintJobOptions(const std::string& printer, const TPaperInfo& effectivePaper)
{
    if (!IsDirectPrintPaper(effectivePaper) || effectivePaper.GetFaceCount() < 1)
        return {};
    const std::optional<TGutenprintDisc> disc = QueueGutenprintDisc(printer);
    if (!disc)
        return {};
    const TRect face = effectivePaper.GetFaceRect(0);
    return DiscJobOptions(*disc, face.Right - face.Left, effectivePaper.GetCutCenterSize(0).cx);
}

std::string FetchQueuePpd(const std::string& printer)
{
    char file[1024] = "";
    time_t modified = 0;
    if (cupsGetPPD3(CUPS_HTTP_DEFAULT, printer.c_str(), &modified, file, sizeof file) != HTTP_STATUS_OK)
        return {};
    return file;
}

std::optional<TGutenprintDisc> QueueGutenprintDisc(const std::string& printer)
{
    if (printer.empty() || printer == kPdfPrinterName)
        return std::nullopt;
    const std::string file = FetchQueuePpd(printer);
    if (file.empty())
        return std::nullopt;
    std::optional<TGutenprintDisc> disc = ReadGutenprintDisc(file);
    ::unlink(file.c_str());
    return disc;
}

TDriverBackend GutenprintDriverBackend(std::function<std::optional<TGutenprintDisc>(const std::string&)> discOf)
{
    if (!discOf)
        discOf = QueueGutenprintDisc;
    TDriverBackend backend;
    backend.PicLibrary = [library = MakeDiscPicLibrary(discOf)] { return library; };
    backend.DiscMediaSelected = [discOf](TPrinterConfiguration& printer) {
        const std::optional<TGutenprintDisc> disc = discOf(printer.GetDeviceName());
        return disc && disc->DiscSelected();
    };
    return backend;
}

}  // namespace orvella

#pragma GCC diagnostic pop
