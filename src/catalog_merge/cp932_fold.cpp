#include "catalog_merge/cp932_fold.h"

#include <algorithm>

namespace orvella::velmont {

namespace {

bool isLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

}  // namespace

std::string FoldCp932(std::string_view bytes)
{
    std::string folded(bytes);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (isLeadByte(byte) && i + 1 < folded.size())
            ++i;
        else if (byte >= 'a' && byte <= 'z')
            folded[i] = char(byte - 'a' + 'A');
    }
    return folded;
}

int CompareCp932Text(std::string_view a, std::string_view b)
{
    const std::string fa = FoldCp932(a);
    const std::string fb = FoldCp932(b);
    const std::size_t common = std::min(fa.size(), fb.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(fa[i]);
        const auto cb = static_cast<unsigned char>(fb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return fa.size() == fb.size() ? 0 : (fa.size() < fb.size() ? -1 : 1);
}

bool SameCp932Text(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareCp932Text(a, b) == 0;
}

}  // namespace orvella::velmont
