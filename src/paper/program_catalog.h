#pragma once
// The one paper catalog the running program uses: the system catalog with
// the user's papers merged in, loaded at start and replaced when a paper
// update is installed. User-interface thread only.

#include "paper/papers.h"

#include <memory>

namespace orvella {

bool HasProgramPapers();
// The loaded catalog; raises EPaperCatalog before one is loaded.
TPapersV2& ProgramPapers();
// Installs a catalog (null removes it); the previous one is freed.
void SetProgramPapers(std::unique_ptr<TPapersV2> catalog);

}  // namespace orvella
