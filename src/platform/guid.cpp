#include "platform/guid.h"

#include <cstdio>

namespace orvella {

std::string GuidToString(const TGuid& guid)
{
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.D1, guid.D2, guid.D3,
                  guid.D4[0], guid.D4[1], guid.D4[2], guid.D4[3], guid.D4[4], guid.D4[5], guid.D4[6], guid.D4[7]);
    return text;
}

}  // namespace orvella
