#include "empty_product_db.h"

#include "formats/class_registry.h"
#include "formats/collection.h"
#include "formats/component.h"
#include "formats/component_stream.h"
#include "formats/doc_name_list.h"
#include "formats/doc_storage.h"
#include "formats/property_table.h"
#include "formats/string_list.h"

#include <random>

namespace orvella::paperc {

namespace {

// The stored shape of a product record, as the database keeps it: items of
// a field name with lines, and a 16-byte identifier in the entry "GUID".
class TProductItem : public TCollectionItem {
    ORVELLA_PERSISTENT(TProductItem)

public:
    TStringList Info;
    std::string FieldName;
};

class TProductInfo : public TComponent {
    ORVELLA_PERSISTENT(TProductInfo)

public:
    TCollection Items{TProductItem::StaticClassInfo()};
    std::string Guid;

    void DefineProperties(TFiler& filer) override
    {
        TComponent::DefineProperties(filer);
        filer.DefineBinaryProperty(
            "GUID", {}, [this](std::string& out) { out += Guid; }, true);
    }
};

const TClassInfo& TProductItem::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TProductItem, TCollectionItem>("TProductItem", {
        ObjectProperty("Info", &TProductItem::Info),
        StringProperty("FieldName", &TProductItem::FieldName),
    });
    return info;
}

const TClassInfo& TProductInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TProductInfo, TComponent>("TProductInfo", {
        ObjectProperty("Items", &TProductInfo::Items),
    });
    return info;
}

// A version 4 (random) GUID in its stored byte order.
std::string freshGuid()
{
    std::random_device source;
    std::string bytes(16, '\0');
    for (char& byte : bytes)
        byte = char(source() & 0xFF);
    bytes[7] = char((bytes[7] & 0x0F) | 0x40);
    bytes[8] = char((bytes[8] & 0x3F) | 0x80);
    return bytes;
}

std::string record(std::initializer_list<const char*> fieldNames)
{
    TProductInfo info;
    info.Guid = freshGuid();
    for (const char* name : fieldNames)
        info.Items.Add<TProductItem>().FieldName = name;
    return WriteComponentRes("ProductInfo", info);
}

}  // namespace

void WriteEmptyProductDatabase(const std::string& fileName)
{
    const auto creator = {"会社名", "部署名", "TEL", "FAX", "郵便番号", "住所1", "住所2", "ホームページ",
                          "自由項目1", "自由項目2", "自由項目3"};
    const auto product = {"メインタイトル", "サブタイトル", "担当者", "コピーライト", "バージョン", "日付",
                          "自由項目1", "自由項目2", "自由項目3", "自由項目4"};
    TTemporaryStorage root;
    {
        TDocNameList entries(root, "Infos\\NameList");
        for (int i = 0; i < 5; ++i) {
            const int index = entries.AddNew();
            entries.OpenStream(index, dmCreate)->WriteAll(i < 2 ? record(creator) : record(product));
        }
    }
    root.SaveToFile(fileName);
}

}  // namespace orvella::paperc
