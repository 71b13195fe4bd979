#include "formats/date_time_text.h"

#include <cmath>
#include <cstdio>

namespace orvella {

namespace {

// Days from 1899-12-30 to the civil date (proleptic Gregorian calendar).
long daysFromCivil(int year, int month, int day)
{
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + 25569;  // 25569: 1899-12-30 to 1970-01-01
}

void civilFromDays(long days, int& year, int& month, int& day)
{
    const long z = days - 25569 + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long dayOfEra = z - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long mp = (5 * dayOfYear + 2) / 153;
    day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yearOfEra + era * 400 + (month <= 2));
}

bool validDate(int year, int month, int day)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= lengths[month - 1] + (month == 2 && leap ? 1 : 0);
}

// Whole seconds of the day, rounded, from the fraction.
long secondsOfDay(TDateTime value)
{
    const double fraction = std::fabs(value - std::trunc(value));
    return std::lround(fraction * 86400.0) % 86400;
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    return double(daysFromCivil(year, month, day)) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::string FormatDate(TDateTime value)
{
    int year, month, day;
    civilFromDays(long(std::floor(value)), year, month, day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, day);
    return text;
}

std::string FormatTime(TDateTime value)
{
    const long seconds = secondsOfDay(value);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string FormatDateTime(TDateTime value)
{
    const std::string date = FormatDate(value);
    return secondsOfDay(value) == 0 ? date : date + " " + FormatTime(value);
}

bool ParseDate(std::string_view text, TDateTime& value)
{
    const std::string s(trim(text));
    int year, month, day, used = 0;
    if (std::sscanf(s.c_str(), "%d/%d/%d%n", &year, &month, &day, &used) != 3 || std::size_t(used) != s.size() ||
        !validDate(year, month, day))
        return false;
    value = EncodeDateTime(year, month, day);
    return true;
}

bool ParseTime(std::string_view text, TDateTime& value)
{
    const std::string s(trim(text));
    int hour, minute, second = 0, used = 0;
    const int fields = std::sscanf(s.c_str(), "%d:%d%n:%d%n", &hour, &minute, &used, &second, &used);
    if (fields < 2 || std::size_t(used) != s.size() || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return false;
    value = (hour * 3600 + minute * 60 + second) / 86400.0;
    return true;
}

bool ParseDateTime(std::string_view text, TDateTime& value)
{
    text = trim(text);
    const std::size_t space = text.find(' ');
    TDateTime date = 0;
    TDateTime time = 0;
    if (space == std::string_view::npos)
        return ParseDate(text, value);
    if (!ParseDate(text.substr(0, space), date) || !ParseTime(text.substr(space + 1), time))
        return false;
    value = date + (date < 0 ? -time : time);
    return true;
}

}  // namespace orvella
