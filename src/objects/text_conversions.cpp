#include "objects/text_conversions.h"

#include <array>
#include <string_view>

namespace orvella {

namespace {

// Half-width characters and their full-width forms at the same index. A
// character listed twice maps by its first occurrence.
struct TCharTable {
    std::u16string_view from;
    std::u16string_view to;
};

constexpr std::array<TCharTable, 5> kSingleTables = {{
    {u"!\"#$%&'()*+,-./:;<=>?@_^[\\]`{|}~｡｢｣､･ｰﾞﾟ", u"！”＃＄％＆’（）×＋，－．／：；＜＝＞？＠＿＾［￥］｀｛｜｝″。「」、・ー゛゜"},
    {u"0123456789", u"０１２３４５６７８９"},
    {u"AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz",
     u"ＡａＢｂＣｃＤｄＥｅＦｆＧｇＨｈＩｉＪｊＫｋＬｌＭｍＮｎＯｏＰｐＱｑＲｒＳｓＴｔＵｕＶｖＷｗＸｘＹｙＺｚ"},
    {u"ｱｧｲｨｳｩｴｪｵｫｶｶｷｸｹｹｺｻｼｽｾｿﾀﾁﾂｯﾃﾄﾅﾆﾇﾈﾉ", u"アァイィウゥエェオォカヵキクケヶコサシスセソタチツッテトナニヌネノ"},
    {u"ﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔｬｬﾕｭｭﾖｮﾗﾘﾙﾚﾛﾜﾜｦﾝ", u"ハヒフヘホマミムメモヤャヰユュヱヨョラリルレロワヮヲン"},
}};

// Two half-width characters per entry. "ﾌﾞ" is listed twice: the first
// entry wins, and "ｳﾞ" is handled on its own.
constexpr std::u16string_view kVoicedPairs = u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ";
constexpr std::u16string_view kVoicedFull = u"ガギグゲゴザジズゼゾダヂヅデドバビブヴベボパピプペポ";

static_assert(kSingleTables[0].from.size() == 40 && kSingleTables[0].to.size() == 40);
static_assert(kSingleTables[2].from.size() == kSingleTables[2].to.size());
static_assert(kSingleTables[3].from.size() == kSingleTables[3].to.size());
static_assert(kSingleTables[4].from.size() == kSingleTables[4].to.size());
static_assert(kVoicedPairs.size() == 2 * kVoicedFull.size());

constexpr char16_t kVoicedMark = u'ﾞ';
constexpr char16_t kSemiVoicedMark = u'ﾟ';

bool isHalfWidthKatakana(char16_t c) { return c >= u'ｦ' && c <= u'ﾝ'; }

// The full-width form of a voiced pair, or 0 when the two form none.
char16_t voicedPair(char16_t kana, char16_t mark)
{
    if (kana == u'ｳ' && mark == kVoicedMark)
        return u'ヴ';
    for (std::size_t i = 0; i + 1 < kVoicedPairs.size(); i += 2)
        if (kVoicedPairs[i] == kana && kVoicedPairs[i + 1] == mark)
            return kVoicedFull[i / 2];
    return 0;
}

char16_t singleChar(char16_t c)
{
    for (const TCharTable& table : kSingleTables) {
        const std::size_t at = table.from.find(c);
        if (at != std::u16string_view::npos)
            return table.to[at];
    }
    return c;
}

}  // namespace

QString HanToZenConvert(const QString& text, QChar except)
{
    QString result;
    result.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (!except.isNull() && c == except.unicode()) {
            result += text[i];
            continue;
        }
        // A kana with a mark that forms no pair converts on its own; the
        // mark then follows as a character of its own.
        if (i + 1 < n && isHalfWidthKatakana(c)) {
            const char16_t mark = text[i + 1].unicode();
            if (mark == kVoicedMark || mark == kSemiVoicedMark) {
                if (const char16_t pair = voicedPair(c, mark)) {
                    result += QChar(pair);
                    ++i;
                    continue;
                }
            }
        }
        result += QChar(singleChar(c));
    }
    return result;
}

QString NumToKnjConvert(const QString& text)
{
    static constexpr std::u16string_view kFullDigits = u"０１２３４５６７８９";
    static constexpr std::u16string_view kKanji = u"〇一二三四五六七八九";
    QString result = text;
    for (QChar& c : result) {
        const std::size_t at = kFullDigits.find(c.unicode());
        if (at != std::u16string_view::npos)
            c = QChar(kKanji[at]);
    }
    return result;
}

}  // namespace orvella
