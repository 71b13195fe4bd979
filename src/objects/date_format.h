#pragma once
// The text of a date object: a date format with the month-name macros
// ("$(LongMonthA)" and the like) and the date-time specifiers, with Japanese
// weekday and era names.

#include <QDateTime>
#include <QString>

namespace orvella {

// Expands the six month macros (and any macro of the program's table), then
// formats: yyyy yy m mm d dd ddd dddd aaa aaaa ggg e h hh n nn AM/PM, the
// separators "/" and ":", and "..." or '...' literals.
QString FormatDate(const QString& format, const QDateTime& date);

// The Japanese era of a date ("令和", "平成", ...) and its year (1 in the
// era's first year); an empty name and the Gregorian year before Meiji.
struct TJapaneseEra {
    QString name;
    int year = 0;
};
TJapaneseEra JapaneseEraOf(const QDate& date);

}  // namespace orvella
