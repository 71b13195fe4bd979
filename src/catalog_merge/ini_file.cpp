#include "catalog_merge/ini_file.h"

#include "catalog_merge/cp932_fold.h"
#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>

namespace orvella::velmont {

namespace {

std::string_view trim(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The first ']' that is a character of its own: in CP932 it is also the
// second byte of many double-byte characters (転 is 0x935D).
std::size_t findSectionEnd(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == ']')
            return i;
        if (((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) && i + 1 < text.size())
            ++i;
    }
    return std::string_view::npos;
}

std::runtime_error fileError(const char* what, const std::filesystem::path& path)
{
    return std::runtime_error("「" + path.string() + "」" + what + " (" + std::strerror(errno) + ")");
}

}  // namespace

TIniFile TIniFile::Load(const std::filesystem::path& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw fileError("を読み込めません", path);
    std::string bytes;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throw fileError("を読み込めません", path);
    return Parse(bytes);
}

TIniFile TIniFile::Parse(std::string_view bytes)
{
    TIniFile ini;
    ini.sections_.push_back(Section{});
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view text = bytes.substr(start, end - start);
        const std::string_view trimmed = trim(text);
        const std::size_t close = findSectionEnd(trimmed);
        if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos) {
            ini.sections_.push_back(Section{std::string(trim(trimmed.substr(1, close - 1))), std::string(text), {}});
        } else {
            Line line{std::string(text)};
            const std::size_t equals = text.find('=');
            if (ini.sections_.size() > 1 && equals != std::string_view::npos && !trimmed.starts_with(";")) {
                line.isKey = true;
                line.key = std::string(trim(text.substr(0, equals)));
            }
            ini.sections_.back().lines.push_back(std::move(line));
        }
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return ini;
}

TIniFile::Section* TIniFile::findSection(std::string_view name)
{
    for (std::size_t i = 1; i < sections_.size(); ++i)
        if (SameCp932Text(sections_[i].name, name))
            return &sections_[i];
    return nullptr;
}

const TIniFile::Section* TIniFile::findSection(std::string_view name) const
{
    return const_cast<TIniFile*>(this)->findSection(name);
}

std::vector<std::string> TIniFile::SectionNames() const
{
    std::vector<std::string> names;
    for (std::size_t i = 1; i < sections_.size(); ++i)
        names.push_back(sections_[i].name);
    return names;
}

bool TIniFile::HasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::optional<std::string> TIniFile::ReadString(std::string_view section, std::string_view key) const
{
    if (const Section* found = findSection(section)) {
        for (const Line& line : found->lines)
            if (line.isKey && SameCp932Text(line.key, key))
                return std::string(trim(std::string_view(line.text).substr(line.text.find('=') + 1)));
    }
    return std::nullopt;
}

std::vector<std::string> TIniFile::ReadSectionValues(std::string_view section) const
{
    std::vector<std::string> entries;
    if (const Section* found = findSection(section)) {
        for (const Line& line : found->lines)
            if (line.isKey)
                entries.push_back(line.key + "=" + std::string(trim(std::string_view(line.text).substr(line.text.find('=') + 1))));
    }
    return entries;
}

TIniFile::Line TIniFile::makeKeyLine(std::string_view key, std::string_view value)
{
    return Line{std::string(key) + "=" + std::string(value), true, std::string(key)};
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Section* target = findSection(section);
    if (!target) {
        sections_.push_back(Section{std::string(section), "[" + std::string(section) + "]", {}});
        target = &sections_.back();
    }
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < target->lines.size(); ++i) {
        Line& line = target->lines[i];
        if (!line.isKey)
            continue;
        if (SameCp932Text(line.key, key)) {
            line = makeKeyLine(line.key, value);
            return;
        }
        insertAt = i + 1;
    }
    // After the section's last key, so blank lines that separate it from the
    // next section stay where they are.
    target->lines.insert(target->lines.begin() + std::ptrdiff_t(insertAt), makeKeyLine(key, value));
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    if (Section* target = findSection(section)) {
        std::erase_if(target->lines, [&](const Line& line) { return line.isKey && SameCp932Text(line.key, key); });
    }
}

std::string TIniFile::Serialize() const
{
    std::string bytes;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0)
            bytes += sections_[i].header + "\r\n";
        for (const Line& line : sections_[i].lines)
            bytes += line.text + "\r\n";
    }
    return bytes;
}

void TIniFile::Save(const std::filesystem::path& path) const
{
    // A symbolic link stays a link: the file it points to is replaced.
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    if (error)
        target = path;
    // Keep the permissions of the file being replaced.
    mode_t mode = 0644;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0)
        mode = existing.st_mode & 07777;
    try {
        WriteFileAtomically(target, Serialize(), mode);
    } catch (const EAtomicFile&) {
        throw fileError("に書き込めません", target);
    }
}

}  // namespace orvella::velmont
