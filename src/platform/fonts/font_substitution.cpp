#include "platform/fonts/font_substitution.h"

#include "platform/text_case.h"

namespace orvella {

namespace {

struct Substitution {
    const char* faceName;
    std::vector<std::string> families;
};

// Fixed-pitch faces map to the fixed-pitch IPA fonts, proportional ("Ｐ")
// faces to the proportional ones; IPAex and Noto follow as look-alikes.
const std::vector<Substitution>& table()
{
    static const std::vector<Substitution> substitutions = {
        {"ＭＳ ゴシック", {"IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP", "Noto Sans CJK JP"}},
        {"MS Gothic", {"IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP", "Noto Sans CJK JP"}},
        {"ＭＳ Ｐゴシック", {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP"}},
        {"MS PGothic", {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP"}},
        {"ＭＳ 明朝", {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"}},
        {"MS Mincho", {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"}},
        {"ＭＳ Ｐ明朝", {"IPAPMincho", "IPAexMincho", "Noto Serif CJK JP"}},
        {"MS PMincho", {"IPAPMincho", "IPAexMincho", "Noto Serif CJK JP"}},
        {"MS UI Gothic", {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP"}},
    };
    return substitutions;
}

}  // namespace

std::vector<std::string> SubstitutesFor(std::string_view faceName)
{
    for (const Substitution& substitution : table())
        if (SameText(substitution.faceName, faceName))
            return substitution.families;
    return {std::string(faceName)};
}

const std::vector<std::string>& FallbackFamilies()
{
    static const std::vector<std::string> families = {"IPAPGothic", "IPAexGothic", "IPAGothic", "Noto Sans CJK JP",
                                                      "IPAPMincho", "IPAexMincho", "IPAMincho"};
    return families;
}

const std::vector<std::string>& SubstitutedFaceNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Substitution& substitution : table())
            list.emplace_back(substitution.faceName);
        return list;
    }();
    return names;
}

}  // namespace orvella
