#pragma once
// A list of items of one class, stored as one collection value. The owner
// of a collection publishes it as an object property.

#include "formats/persistent.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace orvella {

class TCollection;

class TCollectionItem : public TPersistent {
    ORVELLA_PERSISTENT(TCollectionItem)

public:
    TCollection* Collection() const noexcept { return collection_; }

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
    ORVELLA_PERSISTENT(TCollection)

public:
    // itemClass must describe a creatable descendant of TCollectionItem.
    explicit TCollection(const TClassInfo& itemClass);

    const TClassInfo& ItemClass() const noexcept { return itemClass_; }
    TCollectionItem& Add();
    template <class T>
    T& Add() { return static_cast<T&>(Add()); }
    void Clear() noexcept { items_.clear(); }
    std::size_t Count() const noexcept { return items_.size(); }
    TCollectionItem& Items(std::size_t index) const { return *items_.at(index); }

private:
    const TClassInfo& itemClass_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
};

}  // namespace orvella
