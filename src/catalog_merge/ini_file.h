#pragma once
// An INI file kept as the bytes it was read from: sections and keys stay in
// file order, comments and blank lines stay where they were, and text is
// never converted (the catalogs are CP932, and only ASCII letters fold when
// names are compared; see cp932_fold.h). Lines end in CR LF when written.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella::velmont {

class TIniFile {
public:
    // Reads `path`; raises std::runtime_error when it cannot be read.
    static TIniFile Load(const std::filesystem::path& path);
    static TIniFile Parse(std::string_view bytes);

    std::vector<std::string> SectionNames() const;
    bool HasSection(std::string_view section) const;

    // The first value of `key` in `section`, trimmed; nothing when absent.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    // "key=value" for every key of the section, in file order.
    std::vector<std::string> ReadSectionValues(std::string_view section) const;

    // Replaces the value in place, or appends the key to the section,
    // creating the section at the end of the file when needed.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void DeleteKey(std::string_view section, std::string_view key);

    std::string Serialize() const;
    // Writes through a temporary file in the same folder and a rename, so an
    // interrupted write leaves the old file whole.
    void Save(const std::filesystem::path& path) const;

private:
    struct Line {
        std::string text;  // as read, without its line end
        bool isKey = false;
        std::string key;   // trimmed, for key lines
    };
    struct Section {
        std::string name;          // empty for the lines before the first section
        std::string header;        // the "[name]" line as read
        std::vector<Line> lines;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    static Line makeKeyLine(std::string_view key, std::string_view value);

    std::vector<Section> sections_;  // sections_[0] holds the preamble
};

}  // namespace orvella::velmont
