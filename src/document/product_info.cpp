#include "document/product_info.h"

#include "formats/byte_reader.h"
#include "formats/class_registry.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"

#include <array>
#include <random>

namespace orvella {

namespace {

constexpr const char* kProductFields[] = {
    "メインタイトル", "サブタイトル", "担当者",   "コピーライト", "バージョン",
    "日付",           "自由項目1",    "自由項目2", "自由項目3",    "自由項目4",
};
constexpr const char* kCreatorFields[] = {
    "会社名", "部署名", "TEL", "FAX", "郵便番号", "住所1", "住所2", "ホームページ", "自由項目1", "自由項目2", "自由項目3",
};

constexpr std::size_t kGuidSize = 16;

std::string GuidBytes(const TGuid& guid)
{
    std::string bytes;
    bytes.reserve(kGuidSize);
    for (int shift = 0; shift < 32; shift += 8)
        bytes += char(uint8_t(guid.D1 >> shift));
    for (int shift = 0; shift < 16; shift += 8)
        bytes += char(uint8_t(guid.D2 >> shift));
    for (int shift = 0; shift < 16; shift += 8)
        bytes += char(uint8_t(guid.D3 >> shift));
    for (uint8_t b : guid.D4)
        bytes += char(b);
    return bytes;
}

TGuid GuidFromBytes(std::string_view bytes)
{
    auto at = [&](std::size_t i) { return uint32_t(uint8_t(bytes[i])); };
    TGuid guid;
    guid.D1 = at(0) | at(1) << 8 | at(2) << 16 | at(3) << 24;
    guid.D2 = uint16_t(at(4) | at(5) << 8);
    guid.D3 = uint16_t(at(6) | at(7) << 8);
    for (std::size_t i = 0; i < 8; ++i)
        guid.D4[i] = uint8_t(bytes[8 + i]);
    return guid;
}

std::unique_ptr<TProductInfo> EmptyRecord(std::span<const char* const> names)
{
    auto record = std::make_unique<TProductInfo>();
    record->CompleteFields(names);
    record->GUID = NewGuid();
    return record;
}

TProductRecordSource& Source()
{
    static TProductRecordSource source;
    return source;
}

}  // namespace

const TClassInfo& TProductItem::StaticClassInfo()
{
    using C = TProductItem;
    static const TClassInfo info = DeclareClass<C, TCollectionItem>(
        "TProductItem", {
                            ObjectProperty("Info", &C::Info),
                            StringProperty("FieldName", &C::FieldName),
                        });
    return info;
}

TProductItems::TProductItems() : TCollection(TProductItem::StaticClassInfo()) {}

const TClassInfo& TProductItems::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TProductItems, TCollection>("TProductItems", {});
    return info;
}

const TClassInfo& TProductInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TProductInfo, TComponent>(
        "TProductInfo", {
                            ObjectProperty("Items", &TProductInfo::Items),
                        });
    return info;
}

void TProductInfo::Assign(const TProductInfo& source)
{
    Items.Clear();
    for (std::size_t i = 0; i < source.Items.Count(); ++i) {
        const TProductItem& from = source.Items.Items(i);
        TProductItem& to = Items.Add();
        to.FieldName = from.FieldName;
        to.Info.Lines = from.Info.Lines;
    }
    GUID = source.GUID;
}

TProductItem* TProductInfo::FindField(std::string_view fieldName) const
{
    for (std::size_t i = 0; i < Items.Count(); ++i)
        if (Items.Items(i).FieldName == fieldName)
            return &Items.Items(i);
    return nullptr;
}

void TProductInfo::CompleteFields(std::span<const char* const> names)
{
    while (Items.Count() < names.size())
        Items.Add();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (Items.Items(i).FieldName.empty())
            Items.Items(i).FieldName = names[i];
}

void TProductInfo::DefineProperties(TFiler& filer)
{
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "GUID",
        [this](TByteReader& in) {
            if (in.Remaining() != kGuidSize)
                TByteReader::Fail(stream_message::kInvalidImage);
            GUID = GuidFromBytes(in.ReadBytes(kGuidSize));
        },
        [this](std::string& out) { out += GuidBytes(GUID); }, true);
}

std::span<const char* const> ProductFieldNames() noexcept { return kProductFields; }
std::span<const char* const> CreatorFieldNames() noexcept { return kCreatorFields; }

TGuid NewGuid()
{
    static thread_local std::mt19937_64 engine{std::random_device{}()};
    std::array<uint8_t, kGuidSize> bytes{};
    for (std::size_t i = 0; i < kGuidSize; i += 8) {
        const uint64_t value = engine();
        for (std::size_t j = 0; j < 8; ++j)
            bytes[i + j] = uint8_t(value >> (8 * j));
    }
    // Version 4 (random) in the high nibble of D3, the RFC 4122 variant in D4[0].
    TGuid guid = GuidFromBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    guid.D3 = uint16_t((guid.D3 & 0x0FFF) | 0x4000);
    guid.D4[0] = uint8_t((guid.D4[0] & 0x3F) | 0x80);
    return guid;
}

std::unique_ptr<TProductInfo> NewProductRecord() { return EmptyRecord(kProductFields); }
std::unique_ptr<TProductInfo> NewCreatorRecord() { return EmptyRecord(kCreatorFields); }

void SetProductRecordSource(TProductRecordSource source)
{
    if (!source.DefaultProduct)
        source.DefaultProduct = NewProductRecord;
    if (!source.CreatorE)
        source.CreatorE = NewCreatorRecord;
    if (!source.CreatorJ)
        source.CreatorJ = NewCreatorRecord;
    Source() = std::move(source);
}

void ResetProductRecordSource() { SetProductRecordSource({}); }

const TProductRecordSource& ProductRecordSource()
{
    TProductRecordSource& source = Source();
    if (!source.DefaultProduct)
        ResetProductRecordSource();
    return source;
}

void RegisterProductInfoClasses()
{
    RegisterClasses({&TProductInfo::StaticClassInfo()});
}

}  // namespace orvella
