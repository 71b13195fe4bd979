#pragma once
// The per-user registry as this system keeps it: one INI-style file in
// $XDG_CONFIG_HOME/Orvella/ whose sections are key paths ("Software\...\Settings",
// a subkey adds "\Name") and whose lines are typed values, written the way
// registry exports write them:
//
//   [Software\Tessmark\Orvella\1.0\Settings]
//   "CDPath"="/media/disc"
//   "CacheLimit"=dword:00000000
//
// Key and value names compare without regard to case, as in the registry.
// Every change rewrites the file atomically with mode 0600; a change made by
// another process is picked up at the next access.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace orvella {

class ESettingsStore : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TSettingType { String, Integer };

struct TSettingValue {
    TSettingType Type = TSettingType::String;
    std::string Text;    // String
    int32_t Number = 0;  // Integer
};

class TSettingsStore {
public:
    explicit TSettingsStore(std::filesystem::path fileName);

    // $XDG_CONFIG_HOME/Orvella/settings.ini ($HOME/.config when unset).
    static std::filesystem::path DefaultFileName();

    const std::filesystem::path& FileName() const noexcept { return fileName_; }

    bool KeyExists(std::string_view key);
    void CreateKey(std::string_view key);
    // Removes the key with all its values and subkeys; false when absent.
    bool DeleteKey(std::string_view key);

    std::optional<TSettingValue> ReadValue(std::string_view key, std::string_view name);
    // Typed reads: nothing when the key or value is missing or has the other type.
    std::optional<std::string> ReadString(std::string_view key, std::string_view name);
    std::optional<int32_t> ReadInteger(std::string_view key, std::string_view name);
    // Booleans are stored as integers; any non-zero value is true.
    std::optional<bool> ReadBool(std::string_view key, std::string_view name);

    // Writes create the key (and the file) as needed; a failure raises ESettingsStore.
    void WriteValue(std::string_view key, std::string_view name, const TSettingValue& value);
    void WriteString(std::string_view key, std::string_view name, std::string_view value);
    void WriteInteger(std::string_view key, std::string_view name, int32_t value);
    void WriteBool(std::string_view key, std::string_view name, bool value);
    bool DeleteValue(std::string_view key, std::string_view name);

    // Deletes key with its subkeys and creates it anew holding `values`, in
    // one write of the file.
    void ReplaceKey(std::string_view key, const std::vector<std::pair<std::string, TSettingValue>>& values);

    std::vector<std::string> ValueNames(std::string_view key);
    // Names of the direct subkeys of key.
    std::vector<std::string> SubKeyNames(std::string_view key);

    // The file's text for a set of keys, and the inverse; exposed for tests
    // and the fuzzer. Lines that do not parse are skipped.
    struct TKey {
        std::string Path;
        std::vector<std::pair<std::string, TSettingValue>> Values;
    };
    static std::string Format(const std::vector<TKey>& keys);
    static std::vector<TKey> Parse(std::string_view text);

private:
    void refresh();
    void save();
    TKey* findKey(std::string_view key);
    TKey& obtainKey(std::string_view key);
    bool removeKeyTree(std::string_view key);

    std::filesystem::path fileName_;
    std::vector<TKey> keys_;
    // What the file looked like when it was last read or written.
    bool loaded_ = false;
    struct timespec stamp_ {};
    off_t size_ = -1;
    ino_t inode_ = 0;
};

}  // namespace orvella
