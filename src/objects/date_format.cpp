#include "objects/date_format.h"

#include "frame/app_frame.h"
#include "frame/macro_string.h"

#include <array>
#include <cctype>

namespace orvella {

namespace {

struct TEraStart {
    const char16_t* name;
    int year;
    int month;
    int day;
};

// The modern eras from their first day; the platform offers no table that
// can be relied on.
constexpr std::array<TEraStart, 5> kEras = {{
    {u"令和", 2019, 5, 1},
    {u"平成", 1989, 1, 8},
    {u"昭和", 1926, 12, 25},
    {u"大正", 1912, 7, 30},
    {u"明治", 1868, 10, 23},
}};

constexpr std::array<const char*, 12> kMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                                     "July",    "August",   "September", "October", "November", "December"};

constexpr std::array<const char16_t*, 7> kWeekdayShort = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};

QString weekdayShort(const QDate& date)
{
    const int day = date.dayOfWeek();  // 0 for an invalid date
    return day >= 1 && day <= 7 ? QString::fromUtf16(kWeekdayShort[std::size_t(day - 1)]) : QString();
}
QString weekdayLong(const QDate& date)
{
    return date.isValid() ? weekdayShort(date) + QStringLiteral("曜日") : QString();
}

QString padded(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

// The month names as quoted literals, so the formatter leaves their
// letters alone.
void addMonthMacros(TMacroString& table, int month)
{
    const std::string longName = kMonthNames[std::size_t(month - 1)];
    const std::string shortName = longName.substr(0, 3);
    auto lower = [](std::string text) {
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    auto upper = [](std::string text) {
        for (char& c : text)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    auto quoted = [](const std::string& text) { return '"' + text + '"'; };
    table.SetValue("LongMonthA", quoted(longName));
    table.SetValue("LongMonthB", quoted(lower(longName)));
    table.SetValue("LongMonthC", quoted(upper(longName)));
    table.SetValue("ShortMonthA", quoted(shortName));
    table.SetValue("ShortMonthB", quoted(lower(shortName)));
    table.SetValue("ShortMonthC", quoted(upper(shortName)));
}

QString expandMonthMacros(const QString& format, int month)
{
    if (!format.contains(QLatin1String("$(")))
        return format;
    TMacroString table;
    if (const TAppFrame* frame = AppFrame())
        table.Assign(frame->Macro);
    // Quotes stay: they are the formatter's literal marks.
    table.StripQuotes = false;
    addMonthMacros(table, month);
    try {
        return QString::fromStdString(table.Expand(format.toStdString()));
    } catch (const EMacroString&) {
        // A broken reference shows as typed rather than failing the
        // document that holds the date.
        return format;
    }
}

bool startsWithNoCase(const QString& text, qsizetype at, QLatin1String word)
{
    return text.mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// The 12-hour clock applies when a morning/afternoon mark follows the hour.
bool hasHalfDayMark(const QString& format, qsizetype from)
{
    for (qsizetype i = from; i < format.size(); ++i)
        if (startsWithNoCase(format, i, QLatin1String("am/pm")) || startsWithNoCase(format, i, QLatin1String("a/p")) ||
            startsWithNoCase(format, i, QLatin1String("ampm")))
            return true;
    return false;
}

class TDateFormatter {
public:
    TDateFormatter(const QString& format, const QDateTime& moment)
        : format_(format), date_(moment.date()), time_(moment.time()), era_(JapaneseEraOf(moment.date()))
    {
    }

    QString Run()
    {
        while (at_ < format_.size())
            step();
        return out_;
    }

private:
    qsizetype run(QChar c)
    {
        qsizetype n = 0;
        while (at_ + n < format_.size() && format_[at_ + n].toLower() == c)
            ++n;
        return n;
    }

    void step()
    {
        const QChar c = format_[at_].toLower();
        const qsizetype start = at_;
        if (c == u'"' || c == u'\'') {
            const qsizetype close = format_.indexOf(format_[at_], at_ + 1);
            const qsizetype end = close < 0 ? format_.size() : close;
            out_ += format_.mid(at_ + 1, end - at_ - 1);
            at_ = close < 0 ? end : end + 1;
            return;
        }
        if (c == u'a') {
            if (halfDay())
                return;
            const qsizetype n = run(c);
            if (n >= 3) {
                out_ += n == 3 ? weekdayShort(date_) : weekdayLong(date_);
                at_ += n;
                lastWasHour_ = false;
                return;
            }
        }
        const qsizetype n = run(c);
        bool hour = false;
        switch (c.unicode()) {
        case u'y':
            out_ += n <= 2 ? padded(date_.year() % 100, 2) : padded(date_.year(), 4);
            break;
        case u'm':
            if (lastWasHour_)
                out_ += n == 1 ? QString::number(time_.minute()) : padded(time_.minute(), 2);
            else if (n <= 2)
                out_ += n == 1 ? QString::number(date_.month()) : padded(date_.month(), 2);
            else
                out_ += QString::number(date_.month()) + QStringLiteral("月");
            break;
        case u'd':
            if (n <= 2)
                out_ += n == 1 ? QString::number(date_.day()) : padded(date_.day(), 2);
            else if (n == 3)
                out_ += weekdayShort(date_);
            else if (n == 4)
                out_ += weekdayLong(date_);
            else if (n == 5)
                out_ += padded(date_.year(), 4) + u'/' + padded(date_.month(), 2) + u'/' + padded(date_.day(), 2);
            else
                out_ += QStringLiteral("%1年%2月%3日").arg(date_.year()).arg(date_.month()).arg(date_.day());
            break;
        case u'g':
            out_ += n == 1 ? era_.name.left(1) : era_.name;
            break;
        case u'e':
            out_ += n == 1 ? QString::number(era_.year) : padded(era_.year, 2);
            break;
        case u'h': {
            int value = time_.hour();
            if (hasHalfDayMark(format_, at_ + n)) {
                value %= 12;
                if (value == 0)
                    value = 12;
            }
            out_ += n == 1 ? QString::number(value) : padded(value, 2);
            hour = true;
            break;
        }
        case u'n':
            out_ += n == 1 ? QString::number(time_.minute()) : padded(time_.minute(), 2);
            break;
        case u's':
            out_ += n == 1 ? QString::number(time_.second()) : padded(time_.second(), 2);
            break;
        case u'z':
            out_ += n < 3 ? QString::number(time_.msec()) : padded(time_.msec(), 3);
            break;
        case u't':
            out_ += QString::number(time_.hour()) + u':' + padded(time_.minute(), 2);
            if (n >= 2)
                out_ += u':' + padded(time_.second(), 2);
            break;
        default:
            // Separators and every other character stand for themselves.
            out_ += format_.mid(start, n);
            at_ += n;
            return;
        }
        at_ += n;
        lastWasHour_ = hour;
    }

    bool halfDay()
    {
        const bool afternoon = time_.hour() >= 12;
        if (startsWithNoCase(format_, at_, QLatin1String("am/pm"))) {
            // The marks follow the case of the specifier's letters.
            const QChar first = format_[afternoon ? at_ + 3 : at_];
            const QChar second = format_[afternoon ? at_ + 4 : at_ + 1];
            out_ += QString(first) + second;
            at_ += 5;
        } else if (startsWithNoCase(format_, at_, QLatin1String("a/p"))) {
            out_ += format_[afternoon ? at_ + 2 : at_];
            at_ += 3;
        } else if (startsWithNoCase(format_, at_, QLatin1String("ampm"))) {
            out_ += afternoon ? QStringLiteral("午後") : QStringLiteral("午前");
            at_ += 4;
        } else {
            return false;
        }
        lastWasHour_ = false;
        return true;
    }

    const QString& format_;
    QDate date_;
    QTime time_;
    TJapaneseEra era_;
    QString out_;
    qsizetype at_ = 0;
    bool lastWasHour_ = false;
};

}  // namespace

TJapaneseEra JapaneseEraOf(const QDate& date)
{
    if (!date.isValid())
        return {};
    for (const TEraStart& era : kEras) {
        const QDate start(era.year, era.month, era.day);
        if (date >= start)
            return {QString::fromUtf16(era.name), date.year() - era.year + 1};
    }
    return {QString(), date.year()};
}

QString FormatDate(const QString& format, const QDateTime& date)
{
    const int month = date.date().isValid() ? date.date().month() : 1;
    const QString expanded = expandMonthMacros(format, month);
    return TDateFormatter(expanded, date).Run();
}

}  // namespace orvella
