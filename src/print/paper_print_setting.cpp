#include "print/paper_print_setting.h"

#include "document/effective_paper.h"
#include "document/size_adjust.h"
#include "paper/paper_info.h"
#include "paper/papers.h"
#include "paper/program_catalog.h"
#include "print/canon_ext_ddi.h"
#include "print/direct_print.h"
#include "print/epson_epdi.h"
#include "print/printer_configuration.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace orvella {

namespace {

// Device-mode field bits.
constexpr uint32_t kFieldOrientation = 0x1;
constexpr uint32_t kFieldPaperSize = 0x2;
constexpr uint32_t kFieldPaperSizes = 0xE;  // size, length and width
constexpr uint32_t kFieldPaperSource = 0x200;
constexpr int16_t kPortrait = 1;
constexpr int16_t kLandscape = 2;
constexpr int32_t kUserPaperSize = 256;

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct TStandardSize {
    int32_t Width, Height;
    const char* Name;
};
constexpr TStandardSize kStandardSizes[] = {
    {2970, 4200, "A3"}, {2100, 2970, "A4"}, {1480, 2100, "A5"}, {1050, 1480, "A6"},
    {2570, 3640, "B4"}, {1820, 2570, "B5"}, {1280, 1820, "B6"},
};

bool Contains(const std::vector<int32_t>& list, int32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

TPrinterSettingTable::TPrinterSettingTable(const std::vector<std::string>& lines)
{
    std::map<std::string, std::string>* section = nullptr;
    for (const std::string& raw : lines) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            section = &sections_[line.substr(1, line.size() - 2)];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!section || equals == std::string::npos)
            continue;
        section->emplace(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
}

std::optional<std::string> TPrinterSettingTable::Value(const std::string& section, const std::string& name) const
{
    const auto found = sections_.find(section);
    if (found == sections_.end())
        return std::nullopt;
    const auto value = found->second.find(name);
    if (value == found->second.end())
        return std::nullopt;
    return value->second;
}

std::optional<int32_t> TPaperPrintSetting::FindMedia(const std::string& vendor, const std::string& driver,
                                                     const TPrintSettingData& data,
                                                     const std::vector<int32_t>& choices) const
{
    const std::string group = table_.Value(vendor + ".PrinterGroup", driver).value_or("");
    const std::pair<std::string, std::string> tries[] = {
        {vendor + "." + driver + ".Paper.", data.PaperName},
        {vendor + "." + group + ".Paper.", data.PaperName},
        {vendor + ".Paper.", data.PaperName},
        {vendor + ".Paper.", "@@" + data.Media + "default"},
        {vendor + ".Paper.", "@@default"},
    };
    for (const auto& [prefix, name] : tries) {
        for (int n = 0; n <= 9; ++n) {
            const std::optional<std::string> media = table_.Value(prefix + std::to_string(n), name);
            if (!media)
                break;
            int32_t number = -1;
            if (const auto text = table_.Value(vendor + ".Paper.ID", *media))
                if (std::sscanf(text->c_str(), "%d", &number) != 1)
                    number = -1;
            if (Contains(choices, number))
                return number;
        }
    }
    return std::nullopt;
}

std::string NewFormName(int32_t width, int32_t height)
{
    char text[96];
    for (const TStandardSize& size : kStandardSizes)
        if (size.Width == width && size.Height == height) {
            std::snprintf(text, sizeof text, "%s(%g x %gmm)", size.Name, width / 10.0, height / 10.0);
            return text;
        }
    std::snprintf(text, sizeof text, "%g x %gmm", width / 10.0, height / 10.0);
    return text;
}

bool ApplyPaperSize(TPrinterConfiguration& printer, const TPrintSettingData& data)
{
    TmDeviceMode copy;
    copy.Assign(printer.GetDeviceMode());
    uint32_t fields = kFieldOrientation;
    int16_t orientation = data.Landscape ? kLandscape : kPortrait;
    TPrinterForm& forms = printer.GetForms();
    int index = forms.FindNearSize(data.Width, data.Height);
    if (index < 0) {
        index = forms.FindNearSize(data.Height, data.Width);
        if (index >= 0)
            orientation = orientation == kLandscape ? kPortrait : kLandscape;
    }
    // CUPS takes no new forms from a program: a size the printer lacks
    // goes as the user size when the printer has one.
    fields |= kFieldPaperSource;
    const int32_t paper = index >= 0 ? forms.GetItem(index).GetPaperId() : -1;
    copy.SetOrientation(orientation);
    if (paper < 0 || paper == kUserPaperSize) {
        if (forms.FindById(kUserPaperSize) < 0)
            return false;
        copy.SetPaperSize(int16_t(kUserPaperSize));
        copy.SetPaperWidth(int16_t(std::clamp(data.Width, 0, 0x7FFF)));
        copy.SetPaperLength(int16_t(std::clamp(data.Height, 0, 0x7FFF)));
        copy.SetFields(fields | kFieldPaperSizes);
    } else {
        copy.SetPaperSize(int16_t(paper));
        copy.SetFields(fields | kFieldPaperSize);
    }
    printer.GetDeviceMode().Assign(copy);
    printer.UpdateDeviceMode();
    return true;
}

void TPaperPrintSetting::ApplyPaper(TPrinterConfiguration& printer, const TPaperInfo& paper, const std::string& media)
{
    TPrintSettingData data;
    data.Width = paper.PortraitWidth;
    data.Height = paper.PortraitHeight;
    data.Landscape = paper.Landscape;
    data.PaperName = paper.PaperName;
    data.Media = media;
    Apply(printer, data);
}

void TPaperPrintSetting::Apply(TPrinterConfiguration& printer, const TPrintSettingData& data)
{
    std::unique_ptr<ImCanonExtDDI> canon = CreateCanonExtDDI(printer);
    if (!canon->IsAvailable()) {
        TEPDI epson(printer);
        applyEpsonSource(epson, printer, data);
        ApplyPaperSize(printer, data);
        applyEpsonMedia(epson, printer, data);
        return;
    }
    const int32_t cartridge = canon->GetItemValue(canon::kCartridge);
    canon->ApplyDeviceMode();
    canon->SetItemValue(canon::kCartridge, cartridge, true);
    ApplyPaperSize(printer, data);

    const std::vector<int32_t> choices = canon->GetItemValues(canon::kMediaType);
    if (const std::optional<int32_t> media = FindMedia("Canon", printer.GetDriverName(), data, choices))
        canon->SetItemValue(canon::kMediaType, *media, true);
    for (const int32_t quality : {1, 2, 3})
        if (canon->SetItemValue(canon::kQuality, quality, true))
            break;
    if (canon->GetItemCount(canon::kTwoChoiceSetting) == 2)
        canon->SetItemValue(canon::kTwoChoiceSetting, 0, true);
}

void TPaperPrintSetting::applyEpsonSource(ImEpsonEPDI& epson, TPrinterConfiguration& printer,
                                          const TPrintSettingData& data)
{
    if (epson.GetCommandLevel(epson::kPaperSource) < 1)
        return;
    int32_t source = -1;
    if (data.DiscTray)
        source = epson::kDiscTraySource;
    else if (Contains(epson.GetPaperSourceRange(), epson::kNoPaperSource))
        source = epson::kNoPaperSource;
    if (source < 0)
        return;
    TmDeviceMode& mode = printer.GetDeviceMode();
    mode.SetDefaultSource(int16_t(source));
    mode.SetFields(kFieldPaperSource);
    printer.UpdateDeviceMode();
    if (source == epson::kDiscTraySource && printer.GetDeviceMode().DefaultSource() != epson::kDiscTraySource) {
        epson.SetPaperSource(epson::kDiscTraySource);
        epson.ReadDeviceMode();
    }
}

void TPaperPrintSetting::applyEpsonMedia(ImEpsonEPDI& epson, TPrinterConfiguration& printer,
                                         const TPrintSettingData& data)
{
    if (epson.GetCommandLevel(epson::kQuality) < 1)
        return;
    const std::vector<int32_t> choices = epson.GetMediaRange();
    std::optional<int32_t> media = FindMedia("Epson", printer.GetDriverName(), data, choices);
    if (!media && !choices.empty())
        media = choices.front();
    if (!media || !Contains(choices, *media))
        return;
    epson.SetQualitySetting({1, 1, uint16_t(*media), 2});
    epson.ReadDeviceMode();
}

void FillPrintSettingData(TPrintSettingData& data, TPrinterConfiguration& printer, const TPaperInfo& paper)
{
    const TPaperInfo* source = &paper;
    std::unique_ptr<TPaperInfo> onTray;
    data.DiscTray = false;
    data.Media.clear();
    if (IsDirectPrintPaper(paper)) {
        TDirectPrintArea area;
        GetDirectPrintArea(printer, paper, area);
        onTray = MakeDiscTrayPaper(paper, {area.CenterX, area.CenterY, area.TrayWidth, area.TrayHeight},
                                   ReadSizeAdjust(paper));
        source = onTray.get();
        data.DiscTray = true;
        data.Media = "CDR";
    }
    data.Width = source->PortraitWidth;
    data.Height = source->PortraitHeight;
    data.Landscape = source->Landscape;
    data.PaperName = source->PaperName;
}

ImPaperPrintSetting& ProgramPaperPrintSetting()
{
    static std::unique_ptr<TPaperPrintSetting> setting = [] {
        std::vector<std::string> lines;
        if (HasProgramPapers())
            ProgramPapers().ReadGlobalInfo("PrinterSetting", lines);
        return std::make_unique<TPaperPrintSetting>(TPrinterSettingTable(lines));
    }();
    return *setting;
}

}  // namespace orvella
