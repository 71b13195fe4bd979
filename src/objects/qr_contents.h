#pragma once
// The contents of the QR code objects users create: a phone-book entry, a
// web page or free text, in the two carrier formats, as the CP932 bytes the
// symbol carries; and the full-width to half-width conversion they use.

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace orvella {

enum class TStdQRType { sqtDoCoMo, sqtVodafone, sqtAU };
enum class TStdQRKind { sqkTel, sqkURL, sqkTEXT };

// Everything but the types in UTF-8, as typed.
struct TStdQRContents {
    TStdQRType Type = TStdQRType::sqtDoCoMo;
    TStdQRKind Kind = TStdQRKind::sqkTel;
    bool NameCommaDevide = false;
    bool FuriganaHankaku = true;
    std::string Name, Furigana, Tel1, Tel2, Email1, Email2;
    std::string UrlTitle, Url;
    std::vector<std::string> Text;
};

// The bytes to encode; nothing for sqtAU, which has no format of its own
// (the object then keeps the bytes it has). Characters CP932 cannot hold
// become '?'.
std::optional<std::string> BuildStdQRData(const TStdQRContents& contents);

// The reverse of the text objects' half-width to full-width conversion:
// full-width symbols, digits, letters and katakana become half-width, a
// voiced kana two characters (ヴ becomes ｳﾞ); a character without a
// half-width form stays. With hiraganaToo, hiragana become half-width
// katakana as well (a reading is typed in either).
QString ZenToHanConvert(const QString& text, bool hiraganaToo = false);

}  // namespace orvella
