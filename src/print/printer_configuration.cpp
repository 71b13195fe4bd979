#include "print/printer_configuration.h"

#include "frame/printer_list.h"
#include "print/printer_selection.h"

#include <cups/cups.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace orvella {

namespace {

TPrinterMedia fromCups(const cups_size_t& size)
{
    // CUPS measures in hundredths of a millimetre.
    TPrinterMedia media;
    media.Name = size.media;
    media.Width = size.width / 10;
    media.Height = size.length / 10;
    media.MarginLeft = size.left / 10;
    media.MarginTop = size.top / 10;
    media.Custom = media.Name.rfind("custom_", 0) == 0;
    return media;
}

class TCupsQuery : public IPrinterQuery {
public:
    bool Exists(const std::string& printer) override
    {
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr);
        cupsFreeDests(dest ? 1 : 0, dest);
        return dest != nullptr;
    }

    std::string MakeAndModel(const std::string& printer) override
    {
        std::string answer;
        withDest(printer, [&](cups_dest_t* dest, cups_dinfo_t*) {
            if (const char* value = cupsGetOption("printer-make-and-model", dest->num_options, dest->options))
                answer = value;
        });
        return answer;
    }

    std::vector<TPrinterMedia> Media(const std::string& printer) override
    {
        std::vector<TPrinterMedia> media;
        withDest(printer, [&](cups_dest_t* dest, cups_dinfo_t* info) {
            const int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
            for (int i = 0; i < count; ++i) {
                cups_size_t size;
                if (cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size))
                    media.push_back(fromCups(size));
            }
        });
        return media;
    }

    std::optional<TPrinterMedia> DefaultMedia(const std::string& printer) override
    {
        std::optional<TPrinterMedia> media;
        withDest(printer, [&](cups_dest_t* dest, cups_dinfo_t* info) {
            cups_size_t size;
            if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size))
                media = fromCups(size);
        });
        return media;
    }

    std::vector<std::string> Options(const std::string& printer) override
    {
        std::vector<std::string> options;
        withDest(printer, [&](cups_dest_t* dest, cups_dinfo_t*) {
            for (int i = 0; i < dest->num_options; ++i)
                options.push_back(std::string(dest->options[i].name) + "=" + dest->options[i].value);
        });
        return options;
    }

private:
    template <class Use>
    void withDest(const std::string& printer, Use use)
    {
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr);
        if (!dest)
            return;
        cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
        if (info)
            use(dest, info);
        cupsFreeDestInfo(info);
        cupsFreeDests(1, dest);
    }
};

}  // namespace

std::shared_ptr<IPrinterQuery> CupsPrinterQuery() { return std::make_shared<TCupsQuery>(); }

TPrinterConfiguration::TPrinterConfiguration(std::string printer, std::shared_ptr<IPrinterQuery> query)
    : name_(std::move(printer)), query_(std::move(query))
{
    if (name_ != kPdfPrinterName) {
        if (!query_ || !query_->Exists(name_))
            throw std::runtime_error("the printer " + name_ + " cannot be opened");
        driver_ = query_->MakeAndModel(name_);
    }
    default_.SetDeviceName(name_);
    RestoreDefaults();
}

void TPrinterConfiguration::ApplyToPrinter()
{
    TApplicationPrinter& printer = ApplicationPrinterObject();
    printer.Device = name_;
    printer.Driver.clear();
    printer.Port.clear();
    printer.DeviceMode.Assign(current_);
}

void TPrinterConfiguration::UpdateDeviceMode()
{
    TmDeviceMode merged;
    merged.Assign(current_);
    merged.SetFields((default_.Fields() | devmode::kFieldPaperLength | devmode::kFieldPaperWidth) & current_.Fields());
    // CUPS has no driver to merge a record through: the merge is its input.
    current_.Assign(merged);
    forms_.reset();
}

TPrinterForm& TPrinterConfiguration::GetForms()
{
    if (!forms_) {
        forms_ = std::make_unique<TPrinterForm>();
        if (name_ != kPdfPrinterName)
            for (const TPrinterMedia& media : query_->Media(name_))
                forms_->Add(TFormInfo(media.Name, forms_->Count() + 1, media.Width, media.Height));
    }
    return *forms_;
}

std::optional<TPrinterMedia> TPrinterConfiguration::CurrentMedia()
{
    if (name_ == kPdfPrinterName)
        return std::nullopt;
    return query_->DefaultMedia(name_);
}

std::string MediaSizeText(const std::optional<TPrinterMedia>& current, int32_t paperWidth, int32_t paperHeight)
{
    const auto size = [](int32_t width, int32_t height) {
        char text[64];
        std::snprintf(text, sizeof text, "%g x %gmm", width / 10.0, height / 10.0);
        return std::string(text);
    };
    if (current && current->Width > 0 && current->Height > 0) {
        if (current->Custom)
            return size(current->Width, current->Height);
        if (std::abs(current->Width - paperWidth) <= kNearSizeTolerance &&
            std::abs(current->Height - paperHeight) <= kNearSizeTolerance)
            return current->Name;
    }
    if (paperWidth > 0 && paperHeight > 0)
        return size(paperWidth, paperHeight);
    return {};
}

}  // namespace orvella
