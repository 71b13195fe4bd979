#pragma once
// Paths as the program's catalogs and documents write them: backslash
// separated, matched without regard to case. They are resolved against a
// real folder component by component, and can never climb above it.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class EPathUtil : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The non-empty components of a path split at '\' (a '/' counts as a
// separator too, so paths typed on this system work as well).
std::vector<std::string> SplitBackslashPath(std::string_view path);

std::string JoinBackslashPath(const std::vector<std::string>& components);

// Drops "." and resolves ".." against the preceding component; a ".." with
// nothing before it raises EPathUtil, so a path never leaves its root.
std::vector<std::string> NormalizeBackslashPath(const std::vector<std::string>& components);

// Finds the entry of `folder` whose name equals `name` ignoring case (an exact
// match first); returns an empty path when there is none.
std::filesystem::path FindEntryIgnoringCase(const std::filesystem::path& folder, std::string_view name);

// Resolves a backslash path below `base`: each component that exists is
// taken with its real spelling, the first one that does not ends the search
// and the rest is appended as written. Check the result's existence to know
// whether the whole path was found. Raises EPathUtil for a path that climbs
// above `base`.
std::filesystem::path ResolveBackslashPath(const std::filesystem::path& base, std::string_view backslashPath);

}  // namespace orvella
