#include "catalog_merge/dat_updater.h"

#include "frame/macro_string.h"
#include "frame/split_tokens.h"
#include "catalog_merge/cp932_fold.h"
#include "platform/backslash_path.h"
#include "platform/cp932.h"

#include <algorithm>
#include <stdexcept>

namespace orvella::velmont {

namespace {

std::string_view nameOf(std::string_view entry) { return entry.substr(0, entry.find('=')); }

std::string_view valueOf(std::string_view entry)
{
    const std::size_t equals = entry.find('=');
    return equals == std::string_view::npos ? std::string_view() : entry.substr(equals + 1);
}

std::string joinWithCommas(const TEntryList& entries, std::string_view (*part)(std::string_view))
{
    std::string joined;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            joined += ',';
        joined += part(entries[i]);
    }
    return joined;
}

}  // namespace

std::filesystem::path ResolveCatalogPath(std::string_view path)
{
    if (!path.empty() && (path.front() == '/' || path.front() == '\\'))
        return ResolveBackslashPath("/", path);
    // A relative folder is taken from the current folder, so its ".." may
    // climb out of it (an installer passes "..\\new\\" as readily as a full path).
    return ResolveBackslashPath("/", std::filesystem::current_path().string() + "/" + std::string(path));
}

void TDatUpdater::OpenPair(std::string_view newCatalog, std::string_view installedCatalog)
{
    const std::filesystem::path newPath = ResolveCatalogPath(macro_.Expand(newCatalog));
    installedPath_ = ResolveCatalogPath(macro_.Expand(installedCatalog));
    if (std::filesystem::is_regular_file(newPath))
        new_ = TIniFile::Load(newPath);
    if (std::filesystem::is_regular_file(installedPath_))
        installed_ = TIniFile::Load(installedPath_);
}

void TDatUpdater::Update()
{
    if (!new_ || !installed_)
        return;
    const std::string before = installed_->Serialize();
    for (const std::string& section : new_->SectionNames()) {
        const TEntryList installedEntries = ReadEntries(*installed_, section);
        TEntryList changed = ReadEntries(*new_, section);
        std::erase_if(changed, [&](const std::string& entry) {
            return std::any_of(installedEntries.begin(), installedEntries.end(),
                               [&](const std::string& have) { return SameCp932Text(have, entry); });
        });

        TEntryList merged = ReadEntries(*installed_, section);
        for (const std::string& entry : changed) {
            const auto same = std::find_if(merged.begin(), merged.end(), [&](const std::string& have) {
                return SameCp932Text(nameOf(have), nameOf(entry));
            });
            if (same != merged.end())
                merged.erase(same);
            merged.push_back(entry);
        }
        std::stable_sort(merged.begin(), merged.end(),
                         [](const std::string& a, const std::string& b) { return CompareCp932Text(a, b) < 0; });
        WriteEntries(merged, *installed_, section);
    }
    // Untouched, the file keeps its bytes, its line ends and its link.
    if (installed_->Serialize() != before)
        installed_->Save(installedPath_);
}

TTemplateDatUpdater::TTemplateDatUpdater(TMacroString& macro) : TDatUpdater(macro) { OpenFiles(); }

void TTemplateDatUpdater::OpenFiles()
{
    OpenPair("$(srcDir)Data\\Template\\Template.dat", "$(dstDir)Data\\Template\\Template.dat");
}

TEntryList TTemplateDatUpdater::ReadEntries(const TIniFile& ini, std::string_view section)
{
    // Empty items keep their places: the i-th name goes with the i-th folder.
    const std::vector<std::string> names = SplitTokensKeepEmpty(ini.ReadString(section, "Name").value_or(""), ",");
    const std::vector<std::string> folders = SplitTokensKeepEmpty(ini.ReadString(section, "Dir").value_or(""), ",");
    if (folders.size() < names.size())
        throw std::runtime_error("Template.dat の [" + DecodeCp932(section) + "] で、Dir の数が Name の数より少なくなっています");
    TEntryList entries;
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.push_back(names[i] + "=" + folders[i]);
    return entries;
}

void TTemplateDatUpdater::WriteEntries(const TEntryList& entries, TIniFile& ini, std::string_view section)
{
    ini.WriteString(section, "Name", joinWithCommas(entries, nameOf));
    ini.WriteString(section, "Dir", joinWithCommas(entries, valueOf));
}

TBackGroundDatUpdater::TBackGroundDatUpdater(TMacroString& macro) : TDatUpdater(macro) { OpenFiles(); }

void TBackGroundDatUpdater::OpenFiles()
{
    OpenPair("$(srcDir)Data\\Backgrnd\\BackGrnd.dat", "$(dstDir)Data\\Backgrnd\\BackGrnd.dat");
}

TEntryList TBackGroundDatUpdater::ReadEntries(const TIniFile& ini, std::string_view section)
{
    return ini.ReadSectionValues(section);
}

void TBackGroundDatUpdater::WriteEntries(const TEntryList& entries, TIniFile& ini, std::string_view section)
{
    for (const std::string& entry : entries) {
        ini.DeleteKey(section, nameOf(entry));
        ini.WriteString(section, nameOf(entry), valueOf(entry));
    }
}

}  // namespace orvella::velmont
