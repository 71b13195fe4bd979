#pragma once
// Help: HTML pages shipped in the program folder, opened in the user's
// browser. The frame's help file "<name>.chm" stands for the page
// "<name>.html" (the contents) and "<name>-<context>.html" for a context
// topic (the contents when that page is missing).

#include <filesystem>
#include <string>

namespace orvella {

// The page for a context (0: the contents); empty when the help file name
// is empty or no page exists.
std::filesystem::path HelpPage(const std::string& helpFile, int context);

// Opens HelpPage in the browser; nothing happens without a page.
void ShowHelp(const std::string& helpFile, int context);

}  // namespace orvella
