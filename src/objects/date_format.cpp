#include "objects/date_format.h"

namespace orvella {

QString FormatDate(const QString& format, const QDateTime&) { return format; }
TJapaneseEra JapaneseEraOf(const QDate& date) { return {QString(), date.year()}; }

}  // namespace orvella
