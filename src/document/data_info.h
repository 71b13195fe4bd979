#pragma once
// The document-wide record stored as "DataInfo": the document's name, the
// sheet that was current, the last print and save times, the view it was
// last shown in, and the three information records as children named
// "ProductInfo", "CreatorInfoE" and "CreatorInfoJ".

#include "formats/component.h"

#include <cstdint>
#include <string>

namespace orvella {

class TProductInfo;

inline constexpr char kProductInfoName[] = "ProductInfo";
inline constexpr char kCreatorInfoEName[] = "CreatorInfoE";
inline constexpr char kCreatorInfoJName[] = "CreatorInfoJ";

class TDataInfo : public TComponent {
    ORVELLA_PERSISTENT(TDataInfo)

public:
    int32_t SheetCount = 0;  // for readers of the record; never stored
    std::string DataName;
    int32_t CurrentSheetNo = 0;
    double LastPrint = 0;  // date-times: days since 1899-12-30
    double LastSave = 0;
    bool SheetMode = false;

    // The record of that name among the children, or nullptr.
    TProductInfo* Record(std::string_view name) const;
    // Stores a copy of the record as the child of that name.
    void SetRecord(std::string_view name, const TProductInfo& record);

    // The three records, in their stored order, when present.
    void GetChildren(const std::function<void(TComponent&)>& proc) const override;
};

void RegisterDataInfoClasses();

}  // namespace orvella
