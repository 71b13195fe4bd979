#include "paper/copy_papers.h"

#include "paper/program_catalog.h"

#include <ctime>
#include <filesystem>

namespace orvella {

namespace {

// Days since 1899-12-30 with the time of day as the fraction, in local time.
double nowAsDateTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01
    const double seconds = double(now) + double(local.tm_gmtoff);
    return kUnixEpochDays + seconds / 86400.0;
}

}  // namespace

void CopyPapers(TPapersV2& destination, const TPapersV2& source, bool takeUser, const TCopyProgress& progress,
                bool takeSystem)
{
    const int count = source.Count();
    for (int i = 0; i < count; ++i) {
        if (progress)
            progress(i + 1, count);
        std::unique_ptr<TPaperInfo> paper = source.Papers(i).Clone();
        if (!(paper->ReadOnly ? takeSystem : takeUser))
            continue;
        const std::string oldName = paper->PaperName;
        // Once a system paper holds the name, every "$" name already taken
        // (by a user paper too) is passed over: stopping at a user paper's
        // name would overwrite that paper.
        if (!paper->ReadOnly) {
            const int existing = destination.IndexOfName(paper->PaperName);
            if (existing >= 0 && destination.Papers(existing).ReadOnly) {
                do
                    paper->PaperName += "$";
                while (destination.IndexOfName(paper->PaperName) >= 0);
            }
        }
        destination.Store(*paper);
        for (const std::string& sectionName : source.SectionNames()) {
            if (!destination.FindExtraInfo(sectionName))
                continue;
            if (std::unique_ptr<TExtraPaperInfo> record = source.GetExtraInfo(sectionName, oldName)) {
                record->PaperName = paper->PaperName;
                destination.StoreExtraInfo(sectionName, *record);
            }
        }
    }
    if (takeSystem) {
        destination.SetUpdateInfo(source.UpdateInfo().PPRNo, nowAsDateTime());
        destination.SetCompanyList(source.CompanyList());
        destination.SetGroupList(source.GroupList());
        destination.CopyGlobalInfoFrom(source);
    }
    destination.MarkModified();
}

std::unique_ptr<TPapersV2> OpenProgramCatalog(const std::string& systemFile, const std::string& userFile)
{
    auto catalog = std::make_unique<TPapersV2>(systemFile, true, true);
    catalog->AddStandardSections();
    if (!userFile.empty() && std::filesystem::exists(userFile))
        MergeUserPaperFile(*catalog, userFile);
    catalog->MarkUnmodified();
    return catalog;
}

void MergeUserPaperFile(TPapersV2& catalog, const std::string& userFile)
{
    ImportUserPapers(catalog, userFile);
    catalog.MarkUnmodified();
}

void SaveModifiedUserPapers(TPapersV2& catalog, const std::string& userFile)
{
    if (!catalog.Modified())
        return;
    std::filesystem::create_directories(std::filesystem::path(userFile).parent_path());
    SaveUserPapers(catalog, userFile);
    catalog.MarkUnmodified();
}

void ImportUserPapers(TPapersV2& catalog, const std::string& fileName)
{
    TPapersV2 user(fileName, true, true);
    user.AddStandardSections();
    CopyPapers(catalog, user, true, {}, false);
}

void SaveUserPapers(const TPapersV2& catalog, const std::string& fileName)
{
    TPapersV2 user(fileName, true, false, true);
    user.AddStandardSections();
    CopyPapers(user, catalog, true, {}, false);
    user.Flush();
}

void ReloadProgramPapers(const std::string& systemFile, const std::string& userFile)
{
    if (HasProgramPapers())
        SaveModifiedUserPapers(ProgramPapers(), userFile);
    SetProgramPapers(OpenProgramCatalog(systemFile, userFile));
}

}  // namespace orvella
