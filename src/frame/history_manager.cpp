#include "frame/history_manager.h"

#include "frame/app_frame.h"
#include "platform/settings_store.h"
#include "platform/text_case.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace orvella {

namespace {

// The number of an "ItemN" value name; nothing for other names.
std::optional<long long> itemNumber(std::string_view name)
{
    if (name.size() <= 4 || !SameText(name.substr(0, 4), "Item"))
        return std::nullopt;
    const std::string_view digits = name.substr(4);
    long long number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

}  // namespace

std::string THistoryManager::subkeyPath() const
{
    const std::string path = ExpandMacros(RegistryKey);
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos || slash == 0 || slash + 1 == path.size())
        throw EHistoryManager("History用のキーがセットされていません");
    return path;
}

TSettingsStore* THistoryManager::store() const
{
    if (Store)
        return Store;
    if (TAppFrame* frame = AppFrame())
        return &frame->SettingsStore();
    return nullptr;
}

std::vector<std::string> THistoryManager::Items() const
{
    const std::string path = subkeyPath();
    TSettingsStore* settings = store();
    if (!settings)
        return {};
    std::vector<std::string> names = settings->ValueNames(path);
    // "Item10" comes after "Item9": by number, not as text; other names last.
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::optional<long long> na = itemNumber(a);
        const std::optional<long long> nb = itemNumber(b);
        if (na && nb)
            return *na < *nb;
        if (na || nb)
            return bool(na);
        return CompareText(a, b) < 0;
    });
    std::vector<std::string> items;
    for (const std::string& name : names) {
        if (int(items.size()) >= std::max(Limit, 0))
            break;
        if (std::optional<std::string> value = settings->ReadString(path, name))
            items.push_back(std::move(*value));
    }
    return items;
}

void THistoryManager::save(const std::vector<std::string>& items)
{
    const std::string path = subkeyPath();
    TSettingsStore* settings = store();
    if (!settings)
        return;
    std::vector<std::pair<std::string, TSettingValue>> values;
    for (std::size_t i = 0; i < items.size(); ++i)
        values.emplace_back("Item" + std::to_string(i), TSettingValue{TSettingType::String, items[i], 0});
    settings->ReplaceKey(path, values);
    if (OnChange)
        OnChange();
}

void THistoryManager::Add(std::string_view item)
{
    std::vector<std::string> items = Items();
    std::erase_if(items, [&](const std::string& existing) { return SameText(existing, item); });
    items.insert(items.begin(), std::string(item));
    if (int(items.size()) > std::max(Limit, 0))
        items.resize(std::size_t(std::max(Limit, 0)));
    save(items);
}

void THistoryManager::Remove(std::string_view item)
{
    std::vector<std::string> items = Items();
    std::erase_if(items, [&](const std::string& existing) { return SameText(existing, item); });
    save(items);
}

void THistoryManager::Clear() { save({}); }

}  // namespace orvella
