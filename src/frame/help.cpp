#include "frame/help.h"

#include <QDesktopServices>
#include <QUrl>

#include <system_error>

namespace orvella {

std::filesystem::path HelpPage(const std::string& helpFile, int context)
{
    if (helpFile.empty())
        return {};
    std::filesystem::path base(helpFile);
    base.replace_extension();
    std::error_code error;
    if (context != 0) {
        const std::filesystem::path topic = base.string() + "-" + std::to_string(context) + ".html";
        if (std::filesystem::is_regular_file(topic, error))
            return topic;
    }
    const std::filesystem::path contents = base.string() + ".html";
    if (std::filesystem::is_regular_file(contents, error))
        return contents;
    return {};
}

void ShowHelp(const std::string& helpFile, int context)
{
    const std::filesystem::path page = HelpPage(helpFile, context);
    if (!page.empty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string())));
}

}  // namespace orvella
