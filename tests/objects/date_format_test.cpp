#include "objects/date_format.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

struct DateCase {
    const char* format;
    const char* want;
};

// Thursday, 10 December 2026 (令和8年), 14:05.
const QDateTime kMoment(QDate(2026, 12, 10), QTime(14, 5, 9));

class DateFormats : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateFormats, ReadAsAJapaneseUserExpects)
{
    EXPECT_EQ(FormatDate(QString::fromUtf8(GetParam().format), kMoment), QString::fromUtf8(GetParam().want));
}

// Every format the date dialog offers, in its order.
INSTANTIATE_TEST_SUITE_P(
    Offered, DateFormats,
    ::testing::Values(
        DateCase{R"f(m"月"d"日")f", "12月10日"}, DateCase{R"f(ggge"年"m"月")f", "令和8年12月"},
        DateCase{R"f(ggge"年"m"月"d"日")f", "令和8年12月10日"},
        DateCase{R"f(ggge"年"m"月"d"日("aaa")")f", "令和8年12月10日(木)"},
        DateCase{R"f(ggge"年"m"月"d"日("aaaa")")f", "令和8年12月10日(木曜日)"},
        DateCase{R"f(ggge"年"m"月"d"日" h"時"n"分")f", "令和8年12月10日 14時5分"},
        DateCase{R"f(ggge"年"m"月"d"日("aaa")" h"時"n"分")f", "令和8年12月10日(木) 14時5分"},
        DateCase{R"f(yyyy"年"m"月")f", "2026年12月"}, DateCase{R"f(yyyy"年"m"月"d"日")f", "2026年12月10日"},
        DateCase{R"f(yyyy"年"m"月"d"日" h"時"n"分")f", "2026年12月10日 14時5分"},
        DateCase{R"f(yyyy"年"m"月"d"日("aaa")" h"時"n"分")f", "2026年12月10日(木) 14時5分"},
        DateCase{R"f(yyyy"/"m)f", "2026/12"}, DateCase{R"f(yyyy"/"m"/"d)f", "2026/12/10"},
        DateCase{R"f(yyyy"/"m"/"d ddd)f", "2026/12/10 木"}, DateCase{R"f(yyyy"/"m"/"d dddd)f", "2026/12/10 木曜日"},
        DateCase{R"f(yyyy"/"m"/"d hh":"nn)f", "2026/12/10 14:05"},
        DateCase{R"f(yyyy"/"m"/"d h":"nn AM/PM)f", "2026/12/10 2:05 PM"},
        DateCase{R"f(yyyy"/"m"/"d ddd hh":"nn)f", "2026/12/10 木 14:05"},
        DateCase{R"f(yyyy"/"m"/"d ddd h":"nn AM/PM)f", "2026/12/10 木 2:05 PM"}, DateCase{R"f(yy"/"m)f", "26/12"},
        DateCase{R"f(yy"/"m"/"d)f", "26/12/10"}, DateCase{R"f(yy"/"m"/"d ddd)f", "26/12/10 木"},
        DateCase{R"f(yy"/"m"/"d dddd)f", "26/12/10 木曜日"}, DateCase{R"f(yy"/"m"/"d hh":"nn)f", "26/12/10 14:05"},
        DateCase{R"f(yy"/"m"/"d h":"nn AM/PM)f", "26/12/10 2:05 PM"},
        DateCase{R"f(yy"/"m"/"d ddd hh":"nn)f", "26/12/10 木 14:05"},
        DateCase{R"f(yy"/"m"/"d ddd h":"nn AM/PM)f", "26/12/10 木 2:05 PM"},
        DateCase{R"f(yyyy"-"mm"-"dd)f", "2026-12-10"}, DateCase{R"f($(LongMonthA) d','yyyy)f", "December 10,2026"},
        DateCase{R"f($(ShortMonthA) d","yyyy)f", "Dec 10,2026"}, DateCase{R"f($(ShortMonthC)"."d","yyyy)f", "DEC.10,2026"},
        DateCase{R"f($(LongMonthA)"," yyyy)f", "December, 2026"}, DateCase{R"f($(ShortMonthA)"," yyyy)f", "Dec, 2026"},
        DateCase{R"f($(ShortMonthC)"," yyyy)f", "DEC, 2026"}, DateCase{R"f($(LongMonthA)"," yy)f", "December, 26"},
        DateCase{R"f($(ShortMonthA)"-"yy)f", "Dec-26"}, DateCase{R"f(d $(LongMonthA)"," yy)f", "10 December, 26"},
        DateCase{R"f(d $(LongMonthA) "'"yy)f", "10 December '26"}, DateCase{R"f(d $(ShortMonthA) "'" yy)f", "10 Dec ' 26"},
        DateCase{R"f(d $(ShortMonthC)".'"yy)f", "10 DEC.'26"}, DateCase{R"f(d"/"mm"/"yy)f", "10/12/26"}));

// Other specifiers, quoting and broken references.
INSTANTIATE_TEST_SUITE_P(
    Other, DateFormats,
    ::testing::Values(
        DateCase{"$(LongMonthB)/$(LongMonthC)/$(ShortMonthB)", "december/DECEMBER/dec"},
        DateCase{"YYYY/MM/DD", "2026/12/10"},           // specifiers ignore case
        DateCase{"h:mm:ss", "14:05:09"},                // m right after the hour is the minute
        DateCase{"hh:nn am/pm a/p ampm", "02:05 pm p 午後"}, DateCase{"ge ee", "令8 08"},
        DateCase{"'yyyy' \"d\"", "yyyy d"},             // literals in either quote
        DateCase{"\"unclosed", "unclosed"}, DateCase{"\"$(NoSuchMacro)\" yyyy", "$(NoSuchMacro) 2026"},
        DateCase{"", ""}));

TEST(FormatDate, ShowsTheDateWithoutLeadingZeros)
{
    EXPECT_EQ(FormatDate(QStringLiteral(R"(yyyy"/"m"/"d)"), QDateTime(QDate(2006, 1, 5), QTime(0, 0))),
              QStringLiteral("2006/1/5"));
}

TEST(FormatDate, TheTwelveHourClockStartsAtTwelve)
{
    const QString format = QStringLiteral("h AM/PM");
    EXPECT_EQ(FormatDate(format, QDateTime(QDate(2026, 1, 1), QTime(0, 30))), QStringLiteral("12 AM"));
    EXPECT_EQ(FormatDate(format, QDateTime(QDate(2026, 1, 1), QTime(12, 0))), QStringLiteral("12 PM"));
    EXPECT_EQ(FormatDate(format, QDateTime(QDate(2026, 1, 1), QTime(23, 59))), QStringLiteral("11 PM"));
}

TEST(FormatDate, ErasChangeOnTheirFirstDay)
{
    const std::pair<QDate, const char*> cases[] = {
        {QDate(2019, 4, 30), "平成31年"}, {QDate(2019, 5, 1), "令和1年"},  {QDate(1989, 1, 7), "昭和64年"},
        {QDate(1989, 1, 8), "平成1年"},   {QDate(1926, 12, 24), "大正15年"}, {QDate(1926, 12, 25), "昭和1年"},
        {QDate(1912, 7, 29), "明治45年"}, {QDate(1912, 7, 30), "大正1年"},  {QDate(1868, 10, 23), "明治1年"},
        {QDate(1868, 10, 22), "1868年"},  // before the first era of the table
    };
    for (const auto& [date, want] : cases)
        EXPECT_EQ(FormatDate(QStringLiteral(R"(ggge"年")"), QDateTime(date, QTime(9, 0))), QString::fromUtf8(want))
            << date.toString(Qt::ISODate).toStdString();
}

TEST(FormatDate, AnInvalidDateGivesNoNamesInsteadOfFailing)
{
    EXPECT_EQ(FormatDate(QStringLiteral("ddd aaaa ggg"), QDateTime()), QStringLiteral("  "));
}

}  // namespace
}  // namespace orvella
