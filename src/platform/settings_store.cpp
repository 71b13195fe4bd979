#include "platform/settings_store.h"

#include "platform/atomic_file.h"
#include "platform/text_case.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orvella {

namespace {

// Keys are compared as registry keys: case-insensitive, with no empty
// components ("A\\B\" is "A\B").
std::string normalizeKey(std::string_view key)
{
    std::string result;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= key.size(); ++i) {
        if (i == key.size() || key[i] == '\\') {
            if (i > start) {
                if (!result.empty())
                    result += '\\';
                result += key.substr(start, i - start);
            }
            start = i + 1;
        }
    }
    return result;
}

void appendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    out += '"';
}

// Reads a quoted text starting at text[pos] == '"'; returns the position after
// the closing quote, or npos when the text is not properly quoted.
std::size_t readQuoted(std::string_view text, std::size_t pos, std::string& out)
{
    for (std::size_t i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            return i + 1;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= text.size())
            return std::string_view::npos;
        switch (text[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: out += text[i];
        }
    }
    return std::string_view::npos;
}

bool parseValueLine(std::string_view line, std::string& name, TSettingValue& value)
{
    std::size_t pos = 0;
    if (line.starts_with('@')) {
        pos = 1;  // the key's default value
    } else if (line.starts_with('"')) {
        pos = readQuoted(line, 0, name);
        if (pos == std::string_view::npos)
            return false;
    } else {
        return false;
    }
    if (pos >= line.size() || line[pos] != '=')
        return false;
    const std::string_view data = line.substr(pos + 1);
    if (data.starts_with('"')) {
        value.Type = TSettingType::String;
        return readQuoted(data, 0, value.Text) == data.size();
    }
    if (data.starts_with("dword:")) {
        const std::string_view digits = data.substr(6);
        uint32_t number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
            return false;
        value.Type = TSettingType::Integer;
        value.Number = int32_t(number);
        return true;
    }
    return false;
}

}  // namespace

TSettingsStore::TSettingsStore(std::filesystem::path fileName) : fileName_(std::move(fileName)) {}

std::filesystem::path TSettingsStore::DefaultFileName()
{
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        base = "/tmp";
    return base / "Orvella" / "settings.ini";
}

std::string TSettingsStore::Format(const std::vector<TKey>& keys)
{
    std::string text = "; Orvella settings: registry keys and their values\n";
    for (const TKey& key : keys) {
        text += "\n[";
        text += key.Path;
        text += "]\n";
        for (const auto& [name, value] : key.Values) {
            if (name.empty())
                text += '@';
            else
                appendQuoted(text, name);
            text += '=';
            if (value.Type == TSettingType::String) {
                appendQuoted(text, value.Text);
            } else {
                char digits[16];
                std::snprintf(digits, sizeof digits, "dword:%08x", uint32_t(value.Number));
                text += digits;
            }
            text += '\n';
        }
    }
    return text;
}

std::vector<TSettingsStore::TKey> TSettingsStore::Parse(std::string_view text)
{
    std::vector<TKey> keys;
    TKey* current = nullptr;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.starts_with('[')) {
            const std::size_t close = line.rfind(']');
            current = nullptr;
            if (close == std::string_view::npos)
                continue;
            const std::string path = normalizeKey(line.substr(1, close - 1));
            if (path.empty())
                continue;
            for (TKey& key : keys)
                if (SameText(key.Path, path))
                    current = &key;
            if (!current)
                current = &keys.emplace_back(TKey{path, {}});
            continue;
        }
        std::string name;
        TSettingValue value;
        if (!current || !parseValueLine(line, name, value))
            continue;
        bool replaced = false;
        for (auto& [existing, old] : current->Values)
            if (SameText(existing, name)) {
                old = value;
                replaced = true;
            }
        if (!replaced)
            current->Values.emplace_back(std::move(name), std::move(value));
    }
    return keys;
}

void TSettingsStore::refresh()
{
    struct stat info {};
    if (::stat(fileName_.c_str(), &info) != 0) {
        keys_.clear();
        loaded_ = true;
        size_ = -1;
        return;
    }
    if (loaded_ && info.st_size == size_ && info.st_ino == inode_ && info.st_mtim.tv_sec == stamp_.tv_sec &&
        info.st_mtim.tv_nsec == stamp_.tv_nsec)
        return;
    std::ifstream file(fileName_, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    keys_ = Parse(content.str());
    loaded_ = true;
    stamp_ = info.st_mtim;
    size_ = info.st_size;
    inode_ = info.st_ino;
}

void TSettingsStore::save()
{
    std::error_code error;
    const std::filesystem::path folder = fileName_.parent_path();
    if (!folder.empty() && !std::filesystem::exists(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (error)
            throw ESettingsStore("cannot create the settings folder " + folder.string() + ": " + error.message());
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    }
    try {
        WriteFileAtomically(fileName_, Format(keys_), 0600);
    } catch (const EAtomicFile& failure) {
        throw ESettingsStore(failure.what());
    }
    struct stat info {};
    if (::stat(fileName_.c_str(), &info) == 0) {
        stamp_ = info.st_mtim;
        size_ = info.st_size;
        inode_ = info.st_ino;
    }
}

TSettingsStore::TKey* TSettingsStore::findKey(std::string_view key)
{
    const std::string path = normalizeKey(key);
    for (TKey& candidate : keys_)
        if (SameText(candidate.Path, path))
            return &candidate;
    return nullptr;
}

TSettingsStore::TKey& TSettingsStore::obtainKey(std::string_view key)
{
    if (TKey* existing = findKey(key))
        return *existing;
    const std::string path = normalizeKey(key);
    if (path.empty())
        throw ESettingsStore("empty settings key");
    return keys_.emplace_back(TKey{path, {}});
}

bool TSettingsStore::KeyExists(std::string_view key)
{
    refresh();
    if (findKey(key))
        return true;
    // A key exists when a subkey below it does, as in the registry.
    const std::string prefix = normalizeKey(key) + '\\';
    for (const TKey& candidate : keys_)
        if (candidate.Path.size() > prefix.size() && SameText(candidate.Path.substr(0, prefix.size()), prefix))
            return true;
    return false;
}

void TSettingsStore::CreateKey(std::string_view key)
{
    refresh();
    if (findKey(key))
        return;
    obtainKey(key);
    save();
}

bool TSettingsStore::DeleteKey(std::string_view key)
{
    refresh();
    if (!removeKeyTree(key))
        return false;
    save();
    return true;
}

bool TSettingsStore::removeKeyTree(std::string_view key)
{
    const std::string path = normalizeKey(key);
    const std::string prefix = path + '\\';
    const auto old = keys_.size();
    std::erase_if(keys_, [&](const TKey& candidate) {
        return SameText(candidate.Path, path) ||
               (candidate.Path.size() > prefix.size() && SameText(candidate.Path.substr(0, prefix.size()), prefix));
    });
    return keys_.size() != old;
}

void TSettingsStore::ReplaceKey(std::string_view key, const std::vector<std::pair<std::string, TSettingValue>>& values)
{
    refresh();
    removeKeyTree(key);
    obtainKey(key).Values = values;
    save();
}

std::optional<TSettingValue> TSettingsStore::ReadValue(std::string_view key, std::string_view name)
{
    refresh();
    const TKey* found = findKey(key);
    if (!found)
        return std::nullopt;
    for (const auto& [valueName, value] : found->Values)
        if (SameText(valueName, name))
            return value;
    return std::nullopt;
}

std::optional<std::string> TSettingsStore::ReadString(std::string_view key, std::string_view name)
{
    const std::optional<TSettingValue> value = ReadValue(key, name);
    if (!value || value->Type != TSettingType::String)
        return std::nullopt;
    return value->Text;
}

std::optional<int32_t> TSettingsStore::ReadInteger(std::string_view key, std::string_view name)
{
    const std::optional<TSettingValue> value = ReadValue(key, name);
    if (!value || value->Type != TSettingType::Integer)
        return std::nullopt;
    return value->Number;
}

std::optional<bool> TSettingsStore::ReadBool(std::string_view key, std::string_view name)
{
    const std::optional<int32_t> number = ReadInteger(key, name);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

void TSettingsStore::WriteValue(std::string_view key, std::string_view name, const TSettingValue& value)
{
    refresh();
    TKey& target = obtainKey(key);
    bool replaced = false;
    for (auto& [valueName, old] : target.Values)
        if (SameText(valueName, name)) {
            old = value;
            replaced = true;
        }
    if (!replaced)
        target.Values.emplace_back(std::string(name), value);
    save();
}

void TSettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view value)
{
    WriteValue(key, name, TSettingValue{TSettingType::String, std::string(value), 0});
}

void TSettingsStore::WriteInteger(std::string_view key, std::string_view name, int32_t value)
{
    WriteValue(key, name, TSettingValue{TSettingType::Integer, {}, value});
}

void TSettingsStore::WriteBool(std::string_view key, std::string_view name, bool value)
{
    WriteInteger(key, name, value ? 1 : 0);
}

bool TSettingsStore::DeleteValue(std::string_view key, std::string_view name)
{
    refresh();
    TKey* found = findKey(key);
    if (!found)
        return false;
    const auto old = found->Values.size();
    std::erase_if(found->Values, [&](const auto& entry) { return SameText(entry.first, name); });
    if (found->Values.size() == old)
        return false;
    save();
    return true;
}

std::vector<std::string> TSettingsStore::ValueNames(std::string_view key)
{
    refresh();
    std::vector<std::string> names;
    if (const TKey* found = findKey(key))
        for (const auto& entry : found->Values)
            names.push_back(entry.first);
    return names;
}

std::vector<std::string> TSettingsStore::SubKeyNames(std::string_view key)
{
    refresh();
    const std::string prefix = normalizeKey(key) + '\\';
    std::vector<std::string> names;
    for (const TKey& candidate : keys_) {
        if (candidate.Path.size() <= prefix.size() || !SameText(candidate.Path.substr(0, prefix.size()), prefix))
            continue;
        std::string child = candidate.Path.substr(prefix.size());
        child = child.substr(0, child.find('\\'));
        bool known = false;
        for (const std::string& name : names)
            known = known || SameText(name, child);
        if (!known)
            names.push_back(child);
    }
    return names;
}

}  // namespace orvella
