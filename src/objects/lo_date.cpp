#include "objects/lo_date.h"

#include "formats/property_table.h"
#include "objects/date_format.h"

#include <array>
#include <cmath>

namespace orvella {

namespace {

constexpr std::array<const char*, 4> kUpdateFlagNames{"dufNo", "dufOpen", "dufPrint", "dufSave"};

const QDateTime& dayZero()
{
    static const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0));
    return zero;
}

}  // namespace

QDateTime DateTimeFromDays(double days)
{
    if (!std::isfinite(days) || std::abs(days) > 3.0e6)
        days = 0;
    const double whole = std::floor(days);
    const qint64 ms = std::llround((days - whole) * 86400000.0);
    return dayZero().addDays(qint64(whole)).addMSecs(ms);
}

double DaysFromDateTime(const QDateTime& dateTime)
{
    return double(dayZero().msecsTo(dateTime)) / 86400000.0;
}

const TClassInfo& TLODate::StaticClassInfo()
{
    using C = TLODate;
    static const TClassInfo info = DeclareClass<C, TLOText>("TLODate", {
        StringProperty("Format", &C::Format, &C::SetFormat),
        FloatProperty("Date", &C::Date, &C::SetDate),
        EnumProperty("UpdateFlag", kUpdateFlagNames, &C::UpdateFlag, &C::SetUpdateFlag).Default(0),
    });
    return info;
}

const std::vector<std::string>& TLODate::OfferedFormats()
{
    static const std::vector<std::string> formats{
        R"x(m"月"d"日")x",
        R"x(ggge"年"m"月")x",
        R"x(ggge"年"m"月"d"日")x",
        R"x(ggge"年"m"月"d"日("aaa")")x",
        R"x(ggge"年"m"月"d"日("aaaa")")x",
        R"x(ggge"年"m"月"d"日" h"時"n"分")x",
        R"x(ggge"年"m"月"d"日("aaa")" h"時"n"分")x",
        R"x(yyyy"年"m"月")x",
        R"x(yyyy"年"m"月"d"日")x",
        R"x(yyyy"年"m"月"d"日" h"時"n"分")x",
        R"x(yyyy"年"m"月"d"日("aaa")" h"時"n"分")x",
        R"x(yyyy"/"m)x",
        R"x(yyyy"/"m"/"d)x",
        R"x(yyyy"/"m"/"d ddd)x",
        R"x(yyyy"/"m"/"d dddd)x",
        R"x(yyyy"/"m"/"d hh":"nn)x",
        R"x(yyyy"/"m"/"d h":"nn AM/PM)x",
        R"x(yyyy"/"m"/"d ddd hh":"nn)x",
        R"x(yyyy"/"m"/"d ddd h":"nn AM/PM)x",
        R"x(yy"/"m)x",
        R"x(yy"/"m"/"d)x",
        R"x(yy"/"m"/"d ddd)x",
        R"x(yy"/"m"/"d dddd)x",
        R"x(yy"/"m"/"d hh":"nn)x",
        R"x(yy"/"m"/"d h":"nn AM/PM)x",
        R"x(yy"/"m"/"d ddd hh":"nn)x",
        R"x(yy"/"m"/"d ddd h":"nn AM/PM)x",
        R"x(yyyy"-"mm"-"dd)x",
        R"x($(LongMonthA) d','yyyy)x",
        R"x($(ShortMonthA) d","yyyy)x",
        R"x($(ShortMonthC)"."d","yyyy)x",
        R"x($(LongMonthA)"," yyyy)x",
        R"x($(ShortMonthA)"," yyyy)x",
        R"x($(ShortMonthC)"," yyyy)x",
        R"x($(LongMonthA)"," yy)x",
        R"x($(ShortMonthA)"-"yy)x",
        R"x(d $(LongMonthA)"," yy)x",
        R"x(d $(LongMonthA) "'"yy)x",
        R"x(d $(ShortMonthA) "'" yy)x",
        R"x(d $(ShortMonthC)".'"yy)x",
        R"x(d"/"mm"/"yy)x",
    };
    return formats;
}

const std::vector<std::string>& TLODate::UpdateCaptions()
{
    static const std::vector<std::string> captions{"更新しない", "開いたときに更新する", "印刷時に更新する",
                                                   "保存時に更新する"};
    return captions;
}

TLODate::TLODate()
{
    date_ = DaysFromDateTime(QDateTime::currentDateTime());
}

void TLODate::SetFormat(const std::string& format)
{
    if (format == format_)
        return;
    format_ = format;
    reformat();
}

void TLODate::SetDate(double date)
{
    if (date == date_)
        return;
    date_ = date;
    reformat();
}

void TLODate::reformat()
{
    const QString text = FormatDate(QString::fromStdString(format_), DateTimeFromDays(date_));
    SetText({text.toStdString()});
}

void TLODate::Assign(const TDrawObject& source)
{
    TLOText::Assign(source);
    if (const auto* other = dynamic_cast<const TLODate*>(&source); other && other != this) {
        format_ = other->format_;
        date_ = other->date_;
        updateFlag_ = other->updateFlag_;
    }
}

}  // namespace orvella
