#include "datetime.h"

#include <cmath>
#include <cstdio>

namespace korval {

namespace {

constexpr double kMinDay = -693593.0;  // 0001-01-01
constexpr double kMaxDay = 2958466.0;  // the day after 9999-12-31
constexpr long long kMsPerDay = 86400000LL;

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

const long long kEpochOffset = DaysFromCivil(1899, 12, 30);  // 1899-12-30 relative to 1970-01-01

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

std::string Two(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

bool DecodeDateTime(double value, CalendarTime& out) {
  if (!std::isfinite(value) || value < kMinDay || value >= kMaxDay) return false;
  // The whole part counts days, the fraction (taken without sign) the time of day: -1.25 is 1899-12-29 06:00.
  double whole = std::trunc(value);
  long long ms = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
  long long day = static_cast<long long>(whole);
  if (ms >= kMsPerDay) {  // rounded up to midnight: the next day
    ms -= kMsPerDay;
    day += value < 0 ? -1 : 1;
  }
  int y, m, d;
  CivilFromDays(day + kEpochOffset, y, m, d);
  if (y < 1 || y > 9999) return false;
  out.year = y;
  out.month = m;
  out.day = d;
  out.hour = static_cast<int>(ms / 3600000);
  out.minute = static_cast<int>(ms / 60000 % 60);
  out.second = static_cast<int>(ms / 1000 % 60);
  out.millisecond = static_cast<int>(ms % 1000);
  return true;
}

bool EncodeDateTime(const CalendarTime& in, double& value) {
  if (in.year < 1 || in.year > 9999 || in.month < 1 || in.month > 12 || in.day < 1 ||
      in.day > DaysInMonth(in.year, in.month) || in.hour < 0 || in.hour > 23 || in.minute < 0 || in.minute > 59 ||
      in.second < 0 || in.second > 59 || in.millisecond < 0 || in.millisecond > 999)
    return false;
  long long day = DaysFromCivil(in.year, static_cast<unsigned>(in.month), static_cast<unsigned>(in.day)) - kEpochOffset;
  double fraction = ((in.hour * 60.0 + in.minute) * 60.0 + in.second + in.millisecond / 1000.0) / 86400.0;
  // Before the epoch the fraction still counts forward from the day's midnight.
  value = day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
  return true;
}

std::string FormatDate(double value, char dateSep) {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return std::string();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%c%02d%c%02d", t.year, dateSep, t.month, dateSep, t.day);
  return buf;
}

std::string FormatTimeHM(double value, char timeSep) {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return std::string();
  return Two(t.hour) + " " + timeSep + " " + Two(t.minute);
}

std::string FormatTimeHMS(double value, char timeSep) {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return std::string();
  return Two(t.hour) + " " + timeSep + " " + Two(t.minute) + " " + timeSep + " " + Two(t.second);
}

std::string FormatEventTime(double value, char dateSep, char timeSep) {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return std::string();
  // Digit by digit: the event viewer formats one for every record it lists, a few hundred thousand a fill,
  // and a formatted print costs many times more. Every field is in range once decoded.
  char buf[19];
  const auto two = [](char* at, int v) {
    at[0] = static_cast<char>('0' + v / 10);
    at[1] = static_cast<char>('0' + v % 10);
  };
  two(buf, t.month);
  buf[2] = dateSep;
  two(buf + 3, t.day);
  buf[5] = dateSep;
  two(buf + 6, t.year / 100);
  two(buf + 8, t.year % 100);
  buf[10] = ' ';
  two(buf + 11, t.hour);
  buf[13] = timeSep;
  two(buf + 14, t.minute);
  buf[16] = timeSep;
  two(buf + 17, t.second);
  return std::string(buf, sizeof buf);
}

std::string FormatMonthDay(double value) {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return std::string();
  return Two(t.month) + "-" + Two(t.day);
}

}  // namespace korval
