#include "formats/persistent.h"

#include "formats/property_table.h"

namespace orvella {

const TClassInfo& TPersistent::StaticClassInfo()
{
    static const TClassInfo info("TPersistent", nullptr, {}, nullptr);
    return info;
}

const std::string& TPersistent::ClassName() const
{
    return ClassInfo().ClassName();
}

void TPersistent::DefineProperties(TFiler&) {}

}  // namespace orvella
