// The Win32 side of the system interface: clock, regional settings, the program folder.
#include <windows.h>

#include "datetime.h"
#include "folders.h"
#include "system.h"

namespace korval::forms {

double Win32System::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  CalendarTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  double v = 0;
  EncodeDateTime(t, v);
  return v;
}

namespace {
char LocaleChar(LCTYPE what, char fallback) {
  char buf[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buf, sizeof buf) > 1) return buf[0];
  return fallback;
}
}  // namespace

char Win32System::DateSeparator() { return LocaleChar(LOCALE_SDATE, '/'); }
char Win32System::TimeSeparator() { return LocaleChar(LOCALE_STIME, ':'); }
std::string Win32System::ProgramDir() { return CurrentProgramDir(); }

}  // namespace korval::forms
