#pragma once
// An ordered list of shared items with an optional comparer and a sorted
// flag: the form list of a printer is one. Without a comparer, items
// compare by identity.

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace orvella {

class IArrayItem {
public:
    virtual ~IArrayItem() = default;
};

using TArrayItem = std::shared_ptr<IArrayItem>;
using TComparer = std::function<int(const IArrayItem& a, const IArrayItem& b)>;
// 0 for a match; negative when the item lies before the one wanted.
using TFinder = std::function<int(const IArrayItem& item)>;

class EListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TInterfaceArray {
public:
    const TComparer& GetComparer() const { return comparer_; }
    bool GetSorted() const { return sorted_; }
    int GetCount() const { return int(items_.size()); }
    const TArrayItem& GetItem(int index) const;

    void SetComparer(TComparer comparer) { comparer_ = std::move(comparer); }
    // Sorts first when turned on.
    void SetSorted(bool sorted);
    void SetCount(int count);
    void SetItem(int index, TArrayItem item);
    void Clear() { items_.clear(); }
    void Delete(int index);
    void Move(int from, int to);
    int IndexOf(const TArrayItem& item) const;
    // Appends, or on a sorted array inserts in order (an equal item refused).
    int Add(TArrayItem item);
    void Insert(int index, TArrayItem item);
    // With no comparer given, the array's own.
    void Sort(const TComparer& comparer = {});
    // The leftmost match of a sorted array, or -1.
    int BinarySearch(const TFinder& finder) const;
    // The first match from the start, or -1.
    int Find(const TFinder& finder) const;

private:
    int compare(const IArrayItem& a, const IArrayItem& b) const;
    void checkIndex(int index) const;
    void refuseWhenSorted() const;
    // The position where item belongs in a sorted array, and whether an
    // equal one is there.
    std::pair<int, bool> search(const IArrayItem& item) const;

    std::vector<TArrayItem> items_;
    TComparer comparer_;
    bool sorted_ = false;
};

}  // namespace orvella
