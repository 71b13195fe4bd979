#pragma once
// Dates and times as the program stores them (days since 1899-12-30, the
// fraction the time of day) and in the system's text forms: "2026/12/09",
// "9:05:00", and both joined by a space (the time left out at midnight).

#include <string>
#include <string_view>

namespace orvella {

using TDateTime = double;

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

std::string FormatDate(TDateTime value);
std::string FormatTime(TDateTime value);
std::string FormatDateTime(TDateTime value);

// False, leaving value alone, when the text is not of the form.
bool ParseDate(std::string_view text, TDateTime& value);
bool ParseTime(std::string_view text, TDateTime& value);
bool ParseDateTime(std::string_view text, TDateTime& value);

}  // namespace orvella
