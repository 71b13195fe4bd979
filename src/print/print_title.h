#pragma once
// The title a print job carries in the printer's queue.

#include <string>

namespace orvella {

// "$(PrintTitleFormat)" with the document's file name without its folder,
// or "新規作成" for a document never saved (empty file name).
std::string PrintJobTitle(const std::string& documentFileName);

}  // namespace orvella
