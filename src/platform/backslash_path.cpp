#include "platform/backslash_path.h"

#include "platform/text_case.h"

#include <system_error>

namespace orvella {

std::vector<std::string> SplitBackslashPath(std::string_view path)
{
    std::vector<std::string> components;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (i > start)
                components.emplace_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return components;
}

std::string JoinBackslashPath(const std::vector<std::string>& components)
{
    std::string path;
    for (const std::string& component : components) {
        if (!path.empty())
            path += '\\';
        path += component;
    }
    return path;
}

std::vector<std::string> NormalizeBackslashPath(const std::vector<std::string>& components)
{
    std::vector<std::string> result;
    for (const std::string& component : components) {
        if (component == ".")
            continue;
        if (component == "..") {
            if (result.empty())
                throw EPathUtil("too many \"..\"");
            result.pop_back();
            continue;
        }
        result.push_back(component);
    }
    return result;
}

std::filesystem::path FindEntryIgnoringCase(const std::filesystem::path& folder, std::string_view name)
{
    std::error_code error;
    const std::filesystem::path exact = folder / std::string(name);
    if (std::filesystem::exists(exact, error))
        return exact;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return {};
    for (const auto& entry : entries) {
        if (SameText(entry.path().filename().string(), name))
            return entry.path();
    }
    return {};
}

std::filesystem::path ResolveBackslashPath(const std::filesystem::path& base, std::string_view backslashPath)
{
    const std::vector<std::string> components = NormalizeBackslashPath(SplitBackslashPath(backslashPath));
    std::filesystem::path resolved = base;
    std::size_t index = 0;
    for (; index < components.size(); ++index) {
        const std::filesystem::path found = FindEntryIgnoringCase(resolved, components[index]);
        if (found.empty())
            break;
        resolved = found;
    }
    for (; index < components.size(); ++index)
        resolved /= components[index];
    return resolved;
}

}  // namespace orvella
