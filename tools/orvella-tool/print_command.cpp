// orvella-tool print DOC [--printer NAME | --pdf OUT.pdf] [--sheet N]
//   [--faces I,J,...] [--copies N] [--offset X,Y] [--frame] [--cut-line]
//   [--paper-image] [--soft-edge] [--dpi D]
// Prints a sheet of a label document through the program's print path,
// without a display: to a CUPS queue, or through the built-in PDF printer to
// a file. Faces count from 0, the offset is in 0.1 mm, D is the PDF
// printer's resolution (360 unless given). The "Banding" setting applies.

#include "commands.h"

#include "document/label_data.h"
#include "paper/paper_info.h"
#include "frame/app_frame.h"
#include "frame/printer_list.h"
#include "frame/program_macros.h"
#include "paper/copy_papers.h"
#include "paper/program_catalog.h"
#include "print/cups_print_device.h"
#include "print/direct_print.h"
#include "print/gutenprint_backend.h"
#include "print/printer_configuration.h"
#include "print/printer_selection.h"
#include "print/pdf_print_device.h"
#include "print/print_site.h"
#include "print/print_title.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>

namespace orvella::tool {

namespace {

constexpr int32_t kMaxPrintDpi = 2400;
constexpr int32_t kMaxCopies = 99;
constexpr int32_t kMaxOffset = 999;

std::optional<int32_t> number(std::string_view text)
{
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::vector<int32_t>> numberList(const std::string& text)
{
    std::vector<int32_t> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::optional<int32_t> value = number(std::string_view(text).substr(start, comma - start));
        if (!value)
            return std::nullopt;
        values.push_back(*value);
        start = comma + 1;
    }
    return values;
}

struct TPrintRequest {
    std::string document;
    std::string printer;
    std::string pdf;
    int32_t sheet = 0;
    int32_t dpi = 360;
    std::optional<std::vector<int32_t>> faces;
    TPrintSpec options;
};

// False on a usage error.
bool parse(const Arguments& args, TPrintRequest& request)
{
    if (args.empty())
        return false;
    request.document = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--frame")
            request.options.PrintFrame = true;
        else if (word == "--cut-line")
            request.options.PrintCutLine = true;
        else if (word == "--paper-image")
            request.options.PrintPaperImage = true;
        else if (word == "--soft-edge")
            request.options.SoftEdge = true;
        else {
            if (i + 1 >= args.size())
                return false;
            const std::string& value = args[++i];
            if (word == "--printer")
                request.printer = value;
            else if (word == "--pdf")
                request.pdf = value;
            else if (word == "--faces")
                request.faces = numberList(value);
            else if (word == "--offset") {
                const auto pair = numberList(value);
                if (!pair || pair->size() != 2)
                    return false;
                request.options.Offset = {(*pair)[0], (*pair)[1]};
            } else {
                const std::optional<int32_t> n = number(value);
                if (!n)
                    return false;
                if (word == "--sheet")
                    request.sheet = *n;
                else if (word == "--copies")
                    request.options.Copies = *n;
                else if (word == "--dpi")
                    request.dpi = *n;
                else
                    return false;
            }
            if (word == "--faces" && !request.faces)
                return false;
        }
    }
    return request.printer.empty() != request.pdf.empty() || (request.printer == kPdfPrinterName && !request.pdf.empty());
}

std::string checkRequest(const TPrintRequest& request)
{
    if (request.dpi <= 0 || request.dpi > kMaxPrintDpi)
        return "--dpi must lie between 1 and " + std::to_string(kMaxPrintDpi);
    if (request.options.Copies < 1 || request.options.Copies > kMaxCopies)
        return "--copies must lie between 1 and " + std::to_string(kMaxCopies);
    if (std::abs(request.options.Offset.x) > kMaxOffset || std::abs(request.options.Offset.y) > kMaxOffset)
        return "--offset must lie between -999 and 999 in both directions";
    if (request.printer == kPdfPrinterName && request.pdf.empty())
        return "the PDF printer needs --pdf OUT.pdf";
    return {};
}

}  // namespace

int RunPrint(const Arguments& args)
{
    TPrintRequest request;
    if (!parse(args, request))
        return UsageError("print");
    if (const std::string problem = checkRequest(request); !problem.empty()) {
        std::cerr << "orvella-tool: " << problem << '\n';
        return 2;
    }
    try {
        TAppFrame frame;
        frame.Macro.Assign(ProgramMacroLines());
        frame.Loaded(ProgramPlaces());
        RegisterToolClasses();
        // Disc papers are told by the system catalog and laid on the
        // printer's tray, as the program does.
        if (const std::string system = ProgramPlaces().ExeDir + "orvella.ppr"; std::filesystem::exists(system))
            SetProgramPapers(OpenProgramCatalog(system, {}));
        SetDriverBackend(GutenprintDriverBackend());
        InstallDirectPrintSupport(CupsPrinterQuery());
        ApplicationPrinterObject().Device = request.pdf.empty() ? request.printer : std::string(kPdfPrinterName);
        TLabelData data;
        data.LoadFromFile(request.document);
        if (request.sheet < 0 || request.sheet >= data.SheetCount()) {
            std::cerr << "orvella-tool: the document has no sheet " << request.sheet << '\n';
            return 1;
        }
        data.SelectSheet(request.sheet);
        const auto paper = data.EffectivePaper();
        if (!paper)
            throw std::runtime_error("the sheet has no paper");
        if (request.faces) {
            request.options.AllFaces = false;
            request.options.FaceSelection.assign(std::size_t(paper->GetFaceCount()), 0);
            for (const int32_t face : *request.faces) {
                if (face < 0 || face >= paper->GetFaceCount()) {
                    std::cerr << "orvella-tool: the paper has no face " << face << '\n';
                    return 1;
                }
                request.options.FaceSelection[std::size_t(face)] = 1;
            }
        }
        std::unique_ptr<TPdfPrintDevice> device = request.pdf.empty()
                                                      ? CreateCupsPrinter(request.printer, request.dpi,
                                                                          DiscPrintJobOptions(request.printer, *paper))
                                                      : CreatePdfFilePrinter(request.pdf, request.dpi);
        device->SetTitle(PrintJobTitle(request.document));
        TPrintSite site(data, *device, request.options);
        site.Banding = PrintBandingSetting();
        site.Print();
    } catch (const std::exception& error) {
        std::cerr << "orvella-tool: " << request.document << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace orvella::tool
