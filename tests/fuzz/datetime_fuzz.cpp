// Any eight bytes as a date-time value (the schedule table and event records carry them): decoding and every
// text form stay in bounds, and a decoded value encodes back to the same moment.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "datetime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  double v;
  std::memcpy(&v, data, 8);
  (void)korval::FormatDate(v, '/');
  (void)korval::FormatTimeHMS(v, ':');
  (void)korval::FormatEventTime(v, '.', ':');
  (void)korval::FormatMonthDay(v);
  korval::CalendarTime t;
  if (korval::DecodeDateTime(v, t)) {
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59)
      std::abort();
    double back = 0;
    if (!korval::EncodeDateTime(t, back)) std::abort();
    // Values between -1 and 0 name the same moment as their absolute value, so compare magnitudes.
    if (std::fabs(std::fabs(back) - std::fabs(v)) * 86400000.0 > 1.0 + std::fabs(v) * 1e-6) std::abort();
  }
  return 0;
}
