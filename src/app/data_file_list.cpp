// The data files the program loads at start. Each floor that owns one adds
// its registration here, in the order of TDataFileStage: the thumbnail
// cache, the system paper catalog, the user paper catalog (with its writer
// at exit), the product database.

#include "app/data_main.h"
#include "frame/app_frame.h"
#include "paper/copy_papers.h"
#include "paper/program_catalog.h"

namespace orvella {

void RegisterProgramDataFiles(TDataFileRegistry& registry)
{
    registry.Register({TDataFileStage::SystemPaper, "$(SystemPaperInfo)", TDataFileRule::Required,
                       [](const std::filesystem::path& file) { SetProgramPapers(OpenProgramCatalog(file.string(), {})); }});
    registry.Register({TDataFileStage::UserPaper, "$(UserPaperInfo)", TDataFileRule::Written,
                       [](const std::filesystem::path& file) { MergeUserPaperFile(ProgramPapers(), file.string()); }});
    registry.RegisterAtExit([] {
        if (HasProgramPapers())
            SaveModifiedUserPapers(ProgramPapers(), ExpandMacros("$(UserPaperInfo)"));
    });
}

}  // namespace orvella
