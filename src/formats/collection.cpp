#include "formats/collection.h"

#include "formats/property_table.h"

#include <stdexcept>

namespace orvella {

const TClassInfo& TCollectionItem::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TCollectionItem, TPersistent>("TCollectionItem", {});
    return info;
}

const TClassInfo& TCollection::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TCollection, TPersistent>("TCollection", {});
    return info;
}

TCollection::TCollection(const TClassInfo& itemClass) : itemClass_(itemClass)
{
    if (!itemClass.InheritsFrom(TCollectionItem::StaticClassInfo()) || !itemClass.IsCreatable())
        throw std::logic_error("collection item class is not a creatable TCollectionItem");
}

TCollectionItem& TCollection::Add()
{
    std::unique_ptr<TPersistent> created = itemClass_.Create();
    std::unique_ptr<TCollectionItem> item(static_cast<TCollectionItem*>(created.release()));
    item->collection_ = this;
    items_.push_back(std::move(item));
    return *items_.back();
}

}  // namespace orvella
