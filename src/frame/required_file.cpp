#include "frame/required_file.h"

#include "frame/app_frame.h"
#include "frame/message_box.h"
#include "platform/backslash_path.h"
#include "platform/settings_store.h"
#include "platform/text_case.h"

#include <algorithm>
#include <fnmatch.h>
#include <optional>
#include <system_error>

namespace orvella {

namespace {

bool isFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

std::string expandOrEmpty(std::string_view text)
{
    try {
        return ExpandMacros(text);
    } catch (const EMacroString&) {
        return {};
    }
}

// The file in folder: the first match of a wildcard pattern, else the path
// itself when it exists. The name may have backslash folders before it.
std::filesystem::path lookIn(const std::filesystem::path& folder, std::string_view relativeName)
{
    try {
        std::vector<std::string> parts = NormalizeBackslashPath(SplitBackslashPath(relativeName));
        if (parts.empty())
            return {};
        const std::string last = parts.back();
        parts.pop_back();
        const std::filesystem::path parent = ResolveBackslashPath(folder, JoinBackslashPath(parts));
        std::error_code error;
        if (last.find_first_of("*?") != std::string::npos) {
            std::vector<std::filesystem::path> matches;
            for (std::filesystem::directory_iterator entries(parent, error), end; !error && entries != end;
                 entries.increment(error))
                if (fnmatch(last.c_str(), entries->path().filename().c_str(), FNM_CASEFOLD) == 0)
                    matches.push_back(entries->path());
            if (matches.empty())
                return {};
            return *std::min_element(matches.begin(), matches.end());
        }
        const std::filesystem::path file = FindEntryIgnoringCase(parent, last);
        return !file.empty() && std::filesystem::exists(file, error) ? file : std::filesystem::path();
    } catch (const EPathUtil&) {
        return {};
    }
}

bool hasMarker(const std::filesystem::path& folder)
{
    const std::string marker = expandOrEmpty("$(SysKeyFile)");
    return !marker.empty() && !FindEntryIgnoringCase(folder, marker).empty();
}

// A content folder holds the marker file; a folder named "disk..." of a
// multi-volume set sends the search on to its siblings disk1 to disk9.
std::filesystem::path searchFolder(const std::filesystem::path& folder, std::string_view relativeName,
                                   std::filesystem::path& foundIn)
{
    if (!isFolder(folder) || !hasMarker(folder))
        return {};
    if (std::filesystem::path file = lookIn(folder, relativeName); !file.empty()) {
        foundIn = folder;
        return file;
    }
    const std::string name = folder.filename().string();
    if (name.size() < 4 || !SameText(name.substr(0, 4), "disk"))
        return {};
    for (int n = 1; n <= 9; ++n) {
        const std::filesystem::path sibling =
            FindEntryIgnoringCase(folder.parent_path(), "disk" + std::to_string(n));
        if (sibling.empty() || !isFolder(sibling) || !hasMarker(sibling))
            continue;
        if (std::filesystem::path file = lookIn(sibling, relativeName); !file.empty()) {
            foundIn = sibling;
            return file;
        }
    }
    return {};
}

// The install source: the default value of "<SysInstallKey>\srcDir" below
// the classes root, then "srcDir0" to "srcDir9" until one is missing. The
// classes root of this user is the settings key "Software\Classes".
std::vector<std::string> installSources()
{
    std::vector<std::string> sources;
    TAppFrame* frame = AppFrame();
    const std::string installKey = expandOrEmpty("$(SysInstallKey:inessential)");
    if (!frame || installKey.empty())
        return sources;
    TSettingsStore& store = frame->SettingsStore();
    const std::string key = "Software\\Classes\\" + installKey + "\\srcDir";
    if (std::optional<std::string> source = store.ReadString(key, ""); source && !source->empty())
        sources.push_back(*source);
    for (int n = 0; n <= 9; ++n) {
        const std::optional<std::string> source = store.ReadString(key, "srcDir" + std::to_string(n));
        if (!source)
            break;
        if (!source->empty())
            sources.push_back(*source);
    }
    return sources;
}

}  // namespace

std::vector<std::filesystem::path> TRequiredFileFinder::mountPoints() const
{
    std::vector<std::filesystem::path> points;
    std::error_code error;
    for (const std::filesystem::path& root : MountRoots) {
        for (std::filesystem::directory_iterator entries(root, error), end; !error && entries != end;
             entries.increment(error)) {
            if (!isFolder(entries->path()))
                continue;
            points.push_back(entries->path());
            std::error_code inner;
            for (std::filesystem::directory_iterator children(entries->path(), inner), none;
                 !inner && children != none; children.increment(inner))
                if (isFolder(children->path()))
                    points.push_back(children->path());
        }
        error.clear();
    }
    std::sort(points.begin(), points.end(),
              [](const auto& a, const auto& b) { return CompareText(a.string(), b.string()) < 0; });
    return points;
}

std::filesystem::path TRequiredFileFinder::searchOnce(std::string_view relativeName)
{
    // The program folder needs no marker.
    if (const std::string exeDir = expandOrEmpty("$(ExeDir:inessential)"); !exeDir.empty())
        if (std::filesystem::path file = lookIn(exeDir, relativeName); !file.empty())
            return file;

    std::filesystem::path foundIn;
    if (const std::string cdPath = GetSettingString("CDPath", ""); !cdPath.empty())
        if (std::filesystem::path file = searchFolder(cdPath, relativeName, foundIn); !file.empty())
            return file;
    if (std::filesystem::path file = searchFolder(remembered_, relativeName, foundIn); !file.empty())
        return file;

    const std::vector<std::string> sources = installSources();
    for (const std::string& source : sources) {
        if (std::filesystem::path file = searchFolder(source, relativeName, foundIn); !file.empty()) {
            remembered_ = foundIn;
            return file;
        }
    }

    // Every mounted medium: its root, then the install source's folder on
    // it, then the program's folder name on it.
    const std::vector<std::filesystem::path> points = mountPoints();
    std::vector<std::string> relativeFolders;
    for (const std::string& source : sources) {
        const std::filesystem::path path(source);
        if (path.has_relative_path())
            relativeFolders.push_back(path.relative_path().string());
    }
    if (const std::string folder = expandOrEmpty("$(SysApplicationFolder:inessential)"); !folder.empty())
        relativeFolders.push_back(folder);

    for (const std::filesystem::path& point : points)
        if (std::filesystem::path file = searchFolder(point, relativeName, foundIn); !file.empty()) {
            remembered_ = foundIn;
            return file;
        }
    for (const std::string& folder : relativeFolders)
        for (const std::filesystem::path& point : points) {
            std::filesystem::path candidate;
            try {
                candidate = ResolveBackslashPath(point, folder);
            } catch (const EPathUtil&) {
                continue;
            }
            if (std::filesystem::path file = searchFolder(candidate, relativeName, foundIn); !file.empty()) {
                remembered_ = foundIn;
                return file;
            }
        }
    return {};
}

std::filesystem::path TRequiredFileFinder::Find(std::string_view relativeName, std::string_view displayName)
{
    const std::string shown =
        displayName == "@" ? std::string("必要なファイル") : std::string(displayName.empty() ? relativeName : displayName);
    for (;;) {
        if (std::filesystem::path file = searchOnce(relativeName); !file.empty())
            return file;
        if (displayName.empty())
            return {};
        bool retry = false;
        TAppFrame* frame = AppFrame();
        if (frame && frame->OnCDNotFound) {
            frame->OnCDNotFound(shown, retry);
        } else {
            std::string pattern;
            try {
                pattern = ExpandMacros("$(SysMsgCDNotFound)");
            } catch (const EMacroString&) {
                pattern = "%s";
            }
            const TButtonKind buttons[] = {bkYes, bkCancel};
            retry = ShowExpandedMessage(FormatMessage(pattern, shown), buttons, 0, 1) != mrCancel;
        }
        if (!retry)
            return {};
    }
}

TRequiredFileFinder& RequiredFileFinder()
{
    static TRequiredFileFinder finder;
    return finder;
}

std::filesystem::path FindRequiredFile(std::string_view relativeName, std::string_view displayName)
{
    return RequiredFileFinder().Find(relativeName, displayName);
}

}  // namespace orvella
