#pragma once
// THistoryManager: a recent-items list kept in a registry subkey as string
// values "Item0", "Item1", ..., newest first. This is the storage side; the
// window floor's THistoryMenu shows a list in a menu.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TSettingsStore;

class EHistoryManager : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class THistoryManager {
public:
    // A macro text such as "$(OpenFileHistory)"; its expansion is the key
    // path whose last component is the subkey holding the items.
    std::string RegistryKey;
    int Limit = 10;
    // Called after every change of the list.
    std::function<void()> OnChange;
    // The store; null means the frame's.
    TSettingsStore* Store = nullptr;

    // The stored items, at most Limit of them, in the order of the numbers
    // in their value names.
    std::vector<std::string> Items() const;
    // Moves item to the front (an entry equal ignoring case is replaced).
    void Add(std::string_view item);
    void Remove(std::string_view item);
    void Clear();

private:
    std::string subkeyPath() const;
    TSettingsStore* store() const;
    void save(const std::vector<std::string>& items);
};

}  // namespace orvella
