#include "objects/qr_contents.h"

#include "frame/split_tokens.h"
#include "objects/text_conversions.h"
#include "platform/cp932.h"

#include <QHash>

#include <cctype>

namespace orvella {

namespace {

// Full-width character to its half-width form (one or two characters),
// built by running the half-width to full-width conversion over every
// half-width character and voiced pair, so the two stay each other's
// reverse.
const QHash<char16_t, QString>& HalfWidthForms()
{
    static const QHash<char16_t, QString> forms = [] {
        QHash<char16_t, QString> table;
        auto add = [&table](const QString& half) {
            const QString full = HanToZenConvert(half);
            if (full.size() == 1 && full != half && !table.contains(full[0].unicode()))
                table.insert(full[0].unicode(), half);
        };
        for (char16_t c = 0x20; c < 0x7F; ++c)
            add(QString(QChar(c)));
        for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
            add(QString(QChar(c)));
        // Voiced pairs after the single kana, so a pair never hides a kana.
        for (char16_t c = 0xFF66; c <= 0xFF9D; ++c)
            for (char16_t mark : {u'\uFF9E', u'\uFF9F'})
                add(QString(QChar(c)) + QChar(mark));
        return table;
    }();
    return forms;
}

QString ToUtf16(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

std::string ToUtf8(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), std::size_t(bytes.size())};
}

std::string Escape(const std::string& value)
{
    std::string escaped;
    for (char c : value) {
        if (c == ',' || c == ':' || c == ';' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string Trimmed(const std::string& value)
{
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

// "value" escaped, or "family,given" when splitting is asked for and the
// value has two words or more.
std::string NameField(const std::string& value, bool split)
{
    if (split) {
        const std::vector<std::string> words = SplitTokens(Trimmed(value), " ");
        if (words.size() >= 2) {
            std::string given = words[1];
            for (std::size_t i = 2; i < words.size(); ++i)
                given += " " + words[i];
            return Escape(words[0]) + "," + Escape(given);
        }
    }
    return Escape(value);
}

std::string Reading(const TStdQRContents& c)
{
    return c.FuriganaHankaku ? ToUtf8(ZenToHanConvert(ToUtf16(c.Furigana), true)) : c.Furigana;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(prefix[i]))
            return false;
    return true;
}

std::string TextLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string MeCard(const TStdQRContents& c)
{
    std::string fields;
    if (!c.Name.empty())
        fields += "N:" + NameField(c.Name, c.NameCommaDevide) + ";";
    if (!c.Furigana.empty())
        fields += "SOUND:" + NameField(Reading(c), c.NameCommaDevide) + ";";
    for (const std::string* tel : {&c.Tel1, &c.Tel2})
        if (!tel->empty())
            fields += "TEL:" + Escape(*tel) + ";";
    for (const std::string* mail : {&c.Email1, &c.Email2})
        if (!mail->empty())
            fields += "EMAIL:" + Escape(*mail) + ";";
    return fields.empty() ? std::string() : "MECARD:" + fields + ";";
}

std::string Bookmark(const TStdQRContents& c)
{
    if (c.UrlTitle.empty() && c.Url.empty())
        return {};
    std::string text = "MEBKM:";
    if (!c.UrlTitle.empty())
        text += "TITLE:" + Escape(c.UrlTitle) + ";";
    if (!c.Url.empty())
        text += "URL:" + Escape(c.Url) + ";";
    return text + ";";
}

std::string Memory(const TStdQRContents& c)
{
    std::string lines;
    auto line = [&lines](const char* tag, const std::string& value) {
        if (!value.empty())
            lines += tag + value + "\r\n";
    };
    line("NAME1:", c.Name);
    line("NAME2:", c.Furigana.empty() ? std::string() : Reading(c));
    line("TEL1:", c.Tel1);
    line("TEL2:", c.Tel2);
    line("MAIL1:", c.Email1);
    line("MAIL2:", c.Email2);
    return lines.empty() ? std::string() : "MEMORY:\r\n" + lines;
}

std::string PlainUrl(const TStdQRContents& c)
{
    if (c.Url.empty())
        return {};
    const std::string url = ToUtf8(ZenToHanConvert(ToUtf16(c.Url)));
    if (StartsWithNoCase(url, "HTTP://") || StartsWithNoCase(url, "HTTPS://"))
        return url;
    return "http://" + url;
}

}  // namespace

QString ZenToHanConvert(const QString& text, bool hiraganaToo)
{
    const QHash<char16_t, QString>& forms = HalfWidthForms();
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        char16_t code = c.unicode();
        // ぁ..ゖ sit 0x60 below their katakana.
        if (hiraganaToo && code >= 0x3041 && code <= 0x3096)
            code = char16_t(code + 0x60);
        const auto form = forms.constFind(code);
        if (form != forms.constEnd())
            result += *form;
        else
            result += c;
    }
    return result;
}

std::optional<std::string> BuildStdQRData(const TStdQRContents& contents)
{
    std::string text;
    switch (contents.Type) {
    case TStdQRType::sqtAU:
        return std::nullopt;
    case TStdQRType::sqtDoCoMo:
        text = contents.Kind == TStdQRKind::sqkTel   ? MeCard(contents)
               : contents.Kind == TStdQRKind::sqkURL ? Bookmark(contents)
                                                     : TextLines(contents.Text);
        break;
    case TStdQRType::sqtVodafone:
        text = contents.Kind == TStdQRKind::sqkTel   ? Memory(contents)
               : contents.Kind == TStdQRKind::sqkURL ? PlainUrl(contents)
                                                     : TextLines(contents.Text);
        break;
    }
    return EncodeCp932(text, Cp932Mode::Replace);
}

}  // namespace orvella
