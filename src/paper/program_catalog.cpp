#include "paper/program_catalog.h"

namespace orvella {

namespace {

std::unique_ptr<TPapersV2>& installed()
{
    static std::unique_ptr<TPapersV2> catalog;
    return catalog;
}

}  // namespace

bool HasProgramPapers() { return installed() != nullptr; }

TPapersV2& ProgramPapers()
{
    if (!installed())
        throw EPaperCatalog("用紙情報が読み込まれていません");
    return *installed();
}

void SetProgramPapers(std::unique_ptr<TPapersV2> catalog) { installed() = std::move(catalog); }

}  // namespace orvella
