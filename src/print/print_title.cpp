#include "print/print_title.h"

#include "frame/app_frame.h"
#include "frame/message_box.h"

#include <filesystem>

namespace orvella {

std::string PrintJobTitle(const std::string& documentFileName)
{
    const std::string name =
        documentFileName.empty() ? std::string("新規作成") : std::filesystem::path(documentFileName).filename().string();
    return FormatMessage(ExpandMacros("$(PrintTitleFormat)"), name);
}

}  // namespace orvella
