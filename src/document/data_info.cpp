#include "document/data_info.h"

#include "formats/class_registry.h"
#include "document/product_info.h"
#include "formats/property_table.h"

namespace orvella {

namespace {

constexpr const char* kRecordNames[] = {kProductInfoName, kCreatorInfoEName, kCreatorInfoJName};

}  // namespace

const TClassInfo& TDataInfo::StaticClassInfo()
{
    using C = TDataInfo;
    static const TClassInfo info = DeclareClass<C, TComponent>(
        "TDataInfo",
        {
            IntegerProperty("SheetCount", &C::SheetCount).NotStored(),
            StringProperty("DataName", &C::DataName),
            IntegerProperty("CurrentSheetNo", &C::CurrentSheetNo),
            FloatProperty("LastPrint", &C::LastPrint),
            FloatProperty("LastSave", &C::LastSave),
            BooleanProperty("SheetMode", &C::SheetMode),
        },
        {&TProductInfo::StaticClassInfo()});
    return info;
}

TProductInfo* TDataInfo::Record(std::string_view name) const
{
    return dynamic_cast<TProductInfo*>(FindComponent(name));
}

void TDataInfo::SetRecord(std::string_view name, const TProductInfo& record)
{
    TProductInfo* target = Record(name);
    if (!target) {
        if (TComponent* other = FindComponent(name))
            RemoveComponent(*other);
        target = &InsertComponent(std::make_unique<TProductInfo>());
        target->SetName(std::string(name));
    }
    target->Assign(record);
}

void TDataInfo::GetChildren(const std::function<void(TComponent&)>& proc) const
{
    for (const char* name : kRecordNames)
        if (TProductInfo* record = Record(name))
            proc(*record);
}

void RegisterDataInfoClasses()
{
    RegisterProductInfoClasses();
    RegisterClasses({&TDataInfo::StaticClassInfo()});
}

}  // namespace orvella
