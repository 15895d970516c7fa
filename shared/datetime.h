#pragma once
// Date-time values: days since 1899-12-30 00:00 as a double, the fraction being the time of day.
#include <string>

namespace korval {

struct CalendarTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Days from 0001-01-01 to 9999-12-31 are on the calendar; anything else (infinity and NaN among them) is not,
// and gives false.
bool DecodeDateTime(double value, CalendarTime& out);
// The value of a calendar date and time; false when a field is out of range.
bool EncodeDateTime(const CalendarTime& in, double& value);

// Text forms. dateSep and timeSep stand for the "/" and ":" of the patterns; the blanks stay. A value off the
// calendar gives the empty text.
std::string FormatDate(double value, char dateSep);               // "yyyy/mm/dd"
std::string FormatTimeHM(double value, char timeSep);             // "hh : nn"
std::string FormatTimeHMS(double value, char timeSep);            // "hh : nn : ss"
std::string FormatEventTime(double value, char dateSep, char timeSep);  // "mm/dd/yyyy hh:nn:ss"
std::string FormatMonthDay(double value);                         // "mm-dd"

}  // namespace korval
