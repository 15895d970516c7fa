#include "datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korval {
namespace {

TEST(DateTime, KnownDaysRoundTrip) {
  struct Case {
    double value;
    int y, m, d, hh, nn, ss;
  } cases[] = {
      {0.0, 1899, 12, 30, 0, 0, 0},      {1.0, 1899, 12, 31, 0, 0, 0},
      {2.0, 1900, 1, 1, 0, 0, 0},        {60.0, 1900, 2, 28, 0, 0, 0},
      {61.0, 1900, 3, 1, 0, 0, 0},       {36526.0, 2000, 1, 1, 0, 0, 0},
      {36585.0, 2000, 2, 29, 0, 0, 0},   {46365.427083333336, 2026, 12, 9, 10, 15, 0},
      {-1.25, 1899, 12, 29, 6, 0, 0},    {-693593.0, 1, 1, 1, 0, 0, 0},
      {2958465.0, 9999, 12, 31, 0, 0, 0}, {99998.5, 2173, 10, 12, 12, 0, 0},
  };
  for (const Case& c : cases) {
    CalendarTime t;
    ASSERT_TRUE(DecodeDateTime(c.value, t)) << c.value;
    EXPECT_EQ(t.year, c.y) << c.value;
    EXPECT_EQ(t.month, c.m) << c.value;
    EXPECT_EQ(t.day, c.d) << c.value;
    EXPECT_EQ(t.hour, c.hh) << c.value;
    EXPECT_EQ(t.minute, c.nn) << c.value;
    EXPECT_EQ(t.second, c.ss) << c.value;
    double back = 0;
    ASSERT_TRUE(EncodeDateTime(t, back));
    EXPECT_NEAR(back, c.value, 1e-8);
  }
}

TEST(DateTime, OffTheCalendarNeverDecodes) {
  const double bad[] = {-693594.0, 2958466.0, 1e300, -1e300, std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), std::nan("")};
  for (double v : bad) {
    CalendarTime t;
    EXPECT_FALSE(DecodeDateTime(v, t)) << v;
    EXPECT_EQ(FormatDate(v, '/'), "");
    EXPECT_EQ(FormatTimeHMS(v, ':'), "");
    EXPECT_EQ(FormatEventTime(v, '/', ':'), "");
  }
  CalendarTime t;
  t.year = 2026;
  t.month = 2;
  t.day = 29;
  double v;
  EXPECT_FALSE(EncodeDateTime(t, v));
}

TEST(DateTime, TextFormsUseTheSeparatorsGiven) {
  const double v = 46365.427083333336 + 25.0 / 86400.0;  // 2026-12-09 10:15:25
  EXPECT_EQ(FormatDate(v, '/'), "2026/12/09");
  EXPECT_EQ(FormatDate(v, '.'), "2026.12.09");
  EXPECT_EQ(FormatTimeHM(v, ':'), "10 : 15");
  EXPECT_EQ(FormatTimeHMS(v, '.'), "10 . 15 . 25");
  EXPECT_EQ(FormatEventTime(v, '/', ':'), "12/09/2026 10:15:25");
  EXPECT_EQ(FormatEventTime(v, '.', ':'), "12.09.2026 10:15:25");
  CalendarTime early;
  early.year = 987;
  early.month = 3;
  early.day = 4;
  early.hour = 5;
  early.minute = 6;
  early.second = 7;
  double e = 0;
  ASSERT_TRUE(EncodeDateTime(early, e));
  EXPECT_EQ(FormatEventTime(e, '/', ':'), "03/04/0987 05:06:07") << "every field at its full width";
  EXPECT_EQ(FormatMonthDay(v), "12-09");
  // Rounding to the millisecond may carry into the next day.
  EXPECT_EQ(FormatDate(46365.99999999999, '/'), "2026/12/10");
  EXPECT_EQ(FormatTimeHMS(46365.99999999999, ':'), "00 : 00 : 00");
}

}  // namespace
}  // namespace korval
