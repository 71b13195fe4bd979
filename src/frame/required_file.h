#pragma once
// FindRequiredFile: content files (libraries of pictures, fonts, templates)
// may live on the product's disc rather than in the program folder. The
// lookup tries the program folder, the folder of the "CDPath" setting, the
// folder found earlier in this run, the install source, and finally every
// mounted medium, asking the user to insert the disc when nothing is found.
// Paths are backslash paths matched without regard to case.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TRequiredFileFinder {
public:
    // Folders whose entries are mounted media; the system's are /media,
    // /run/media and /mnt, searched one and two levels deep (udisks mounts
    // at /media/<user>/<label>).
    std::vector<std::filesystem::path> MountRoots{"/media", "/run/media", "/mnt"};

    std::filesystem::path Find(std::string_view relativeName, std::string_view displayName);

    // The folder found earlier in this run.
    const std::filesystem::path& Remembered() const noexcept { return remembered_; }

private:
    std::filesystem::path searchOnce(std::string_view relativeName);
    std::vector<std::filesystem::path> mountPoints() const;

    std::filesystem::path remembered_;
};

// The lookup of this process (with the system's mount roots).
TRequiredFileFinder& RequiredFileFinder();

// Returns the path found, or an empty path when the file is nowhere and the
// user declined (or, for an empty displayName, was never asked). A display
// name "@" stands for "必要なファイル".
std::filesystem::path FindRequiredFile(std::string_view relativeName, std::string_view displayName);

}  // namespace orvella
