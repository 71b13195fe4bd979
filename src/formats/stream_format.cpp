#include "formats/stream_format.h"

#include <cstring>

namespace orvella {

std::string FormatMessage(const char* pattern, std::initializer_list<std::string> args)
{
    std::string result;
    auto arg = args.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && arg != args.end()) {
            result += *arg++;
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}

}  // namespace orvella
