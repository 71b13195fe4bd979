#pragma once
// The information records a document carries: the disc's product fields and
// the creator's fields, each a list of named fields with lines of text and a
// GUID that identifies the record. The product database supplies the
// records a new document starts with; until one is installed, new
// documents get empty records with the standard field names.

#include "formats/collection.h"
#include "formats/component.h"
#include "formats/string_list.h"
#include "platform/guid.h"

#include <functional>
#include <memory>
#include <span>
#include <string>

namespace orvella {

class TProductItem : public TCollectionItem {
    ORVELLA_PERSISTENT(TProductItem)

public:
    TStringList Info;
    std::string FieldName;
};

class TProductItems : public TCollection {
    ORVELLA_PERSISTENT(TProductItems)

public:
    TProductItems();
    TProductItem& Items(std::size_t index) const { return static_cast<TProductItem&>(TCollection::Items(index)); }
    TProductItem& Add() { return TCollection::Add<TProductItem>(); }
};

class TProductInfo : public TComponent {
    ORVELLA_PERSISTENT(TProductInfo)

public:
    TProductItems Items;
    TGuid GUID;

    // Copies the fields and the GUID (not the component name).
    void Assign(const TProductInfo& source);
    // The field of that name (exact), or nullptr.
    TProductItem* FindField(std::string_view fieldName) const;
    // Appends fields until there are as many as names, and gives every field
    // without a name the name of its position.
    void CompleteFields(std::span<const char* const> names);

    // The GUID is stored as its 16 bytes in the platform's layout; any other
    // length is a damaged stream.
    void DefineProperties(TFiler& filer) override;
};

// The field names of a product record (10) and of a creator record (11).
std::span<const char* const> ProductFieldNames() noexcept;
std::span<const char* const> CreatorFieldNames() noexcept;

// A new random (version 4) GUID.
TGuid NewGuid();
// Empty records with the standard field names and a new GUID.
std::unique_ptr<TProductInfo> NewProductRecord();
std::unique_ptr<TProductInfo> NewCreatorRecord();

// Where new documents take their records from. The product database
// installs its own source; the default one answers with empty records.
struct TProductRecordSource {
    // The database's first product record, or an empty record.
    std::function<std::unique_ptr<TProductInfo>()> DefaultProduct;
    // The creator records of the two language variants.
    std::function<std::unique_ptr<TProductInfo>()> CreatorE;
    std::function<std::unique_ptr<TProductInfo>()> CreatorJ;
};
// Installs a source (a member left empty falls back to the default
// answer); ResetProductRecordSource brings the defaults back.
// User-interface thread only.
void SetProductRecordSource(TProductRecordSource source);
void ResetProductRecordSource();
const TProductRecordSource& ProductRecordSource();

void RegisterProductInfoClasses();

}  // namespace orvella
