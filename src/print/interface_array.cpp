#include "print/interface_array.h"

#include "frame/message_box.h"

#include <algorithm>
#include <functional>

namespace orvella {

void TInterfaceArray::checkIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        throw EListError(FormatMessage("リストのインデックスが範囲を超えています (%s)", std::to_string(index)));
}

void TInterfaceArray::refuseWhenSorted() const
{
    if (sorted_)
        throw EListError("ソートされる文字列リストに対しては許されない動作です");
}

int TInterfaceArray::compare(const IArrayItem& a, const IArrayItem& b) const
{
    if (comparer_)
        return comparer_(a, b);
    return std::less<const IArrayItem*>()(&a, &b) ? -1 : (&a == &b ? 0 : 1);
}

const TArrayItem& TInterfaceArray::GetItem(int index) const
{
    checkIndex(index);
    return items_[std::size_t(index)];
}

void TInterfaceArray::SetSorted(bool sorted)
{
    if (sorted && !sorted_)
        Sort();
    sorted_ = sorted;
}

void TInterfaceArray::SetCount(int count)
{
    refuseWhenSorted();
    items_.resize(std::size_t(std::max(count, 0)));
}

void TInterfaceArray::SetItem(int index, TArrayItem item)
{
    refuseWhenSorted();
    checkIndex(index);
    items_[std::size_t(index)] = std::move(item);
}

void TInterfaceArray::Delete(int index)
{
    checkIndex(index);
    items_.erase(items_.begin() + index);
}

void TInterfaceArray::Move(int from, int to)
{
    if (from == to)
        return;
    checkIndex(from);
    checkIndex(to);
    TArrayItem item = std::move(items_[std::size_t(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

std::pair<int, bool> TInterfaceArray::search(const IArrayItem& item) const
{
    int low = 0;
    int high = GetCount() - 1;
    bool found = false;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const IArrayItem* candidate = items_[std::size_t(middle)].get();
        const int c = candidate ? compare(*candidate, item) : -1;
        if (c < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            found = found || c == 0;
        }
    }
    return {low, found};
}

int TInterfaceArray::IndexOf(const TArrayItem& item) const
{
    if (!item)
        return -1;
    if (sorted_) {
        const auto [index, found] = search(*item);
        return found ? index : -1;
    }
    for (int i = 0; i < GetCount(); ++i)
        if (items_[std::size_t(i)] && compare(*items_[std::size_t(i)], *item) == 0)
            return i;
    return -1;
}

int TInterfaceArray::Add(TArrayItem item)
{
    if (!sorted_ || !item) {
        items_.push_back(std::move(item));
        return GetCount() - 1;
    }
    const auto [index, found] = search(*item);
    if (found)
        throw EListError("文字列リストは重複を許しません");
    items_.insert(items_.begin() + index, std::move(item));
    return index;
}

void TInterfaceArray::Insert(int index, TArrayItem item)
{
    refuseWhenSorted();
    if (index < 0 || index > GetCount())
        throw EListError(FormatMessage("リストのインデックスが範囲を超えています (%s)", std::to_string(index)));
    items_.insert(items_.begin() + index, std::move(item));
}

void TInterfaceArray::Sort(const TComparer& comparer)
{
    if (GetCount() < 2 || sorted_)
        return;
    const TComparer& use = comparer ? comparer : comparer_;
    // Empty entries sort first; a stable sort keeps equal items in order.
    std::stable_sort(items_.begin(), items_.end(), [&](const TArrayItem& a, const TArrayItem& b) {
        if (!a || !b)
            return !a && b;
        return (use ? use(*a, *b) : compare(*a, *b)) < 0;
    });
}

int TInterfaceArray::BinarySearch(const TFinder& finder) const
{
    int low = 0;
    int high = GetCount() - 1;
    int match = -1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const IArrayItem* candidate = items_[std::size_t(middle)].get();
        const int c = candidate ? finder(*candidate) : -1;
        if (c < 0) {
            low = middle + 1;
        } else {
            if (c == 0)
                match = middle;
            high = middle - 1;
        }
    }
    return match;
}

int TInterfaceArray::Find(const TFinder& finder) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (items_[std::size_t(i)] && finder(*items_[std::size_t(i)]) == 0)
            return i;
    return -1;
}

}  // namespace orvella
