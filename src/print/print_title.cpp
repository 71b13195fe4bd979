#include "print/print_title.h"

#include "frame/app_frame.h"

#include <filesystem>

namespace orvella {

std::string PrintJobTitle(const std::string& documentFileName)
{
    const std::string name =
        documentFileName.empty() ? std::string("新規作成") : std::filesystem::path(documentFileName).filename().string();
    const std::string format = ExpandMacros("$(PrintTitleFormat)");
    // The format's one %s is the name; anything else in it stays as written.
    std::string title;
    bool placed = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's' && !placed) {
                title += name;
                placed = true;
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                title += '%';
                ++i;
                continue;
            }
        }
        title += format[i];
    }
    return title;
}

}  // namespace orvella
