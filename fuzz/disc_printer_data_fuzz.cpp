// The catalog's texts about disc printers, as a downloaded catalog may
// hold them: the printer description (XML) with every printer it lists
// selected and asked, and the paper-driven printer setting table.

#include "print/direct_print.h"
#include "print/paper_print_setting.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto info = orvella::TDirectPrinterInfo::FromText(text);
    std::vector<std::string> names;
    info->GetPrinterNames(names);
    for (const std::string& name : names) {
        info->SelectPrinter(name);
        info->GetTrayArea();
        orvella::TSize outer, inner;
        info->GetSizeLimits(outer, inner);
    }

    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    orvella::TPaperPrintSetting setting{orvella::TPrinterSettingTable(lines)};
    orvella::TPrintSettingData paper;
    paper.PaperName = lines.empty() ? std::string() : lines.front();
    paper.Media = "CDR";
    setting.FindMedia("Canon", names.empty() ? std::string() : names.front(), paper, {0, 31, 32});
    return 0;
}
