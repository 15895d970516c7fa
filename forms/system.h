#pragma once
// What the programs ask of the system outside the windows: the clock, the regional separators and the
// program's own folder. Win32System asks Windows; FakeSystem is set by tests.
#include <string>

namespace korval::forms {

class System {
 public:
  virtual ~System() = default;
  // The local date and time as a date-time value (days since 1899-12-30).
  virtual double Now() = 0;
  // The date separator ("/" in the patterns) and time separator (":") of the user's regional settings.
  virtual char DateSeparator() = 0;
  virtual char TimeSeparator() = 0;
  // The folder of the running program file, with its trailing separator.
  virtual std::string ProgramDir() = 0;
};

class FakeSystem : public System {
 public:
  double now = 46366.5;  // 2026-12-10 12:00
  char dateSeparator = '/';
  char timeSeparator = ':';
  std::string programDir;

  double Now() override { return now; }
  char DateSeparator() override { return dateSeparator; }
  char TimeSeparator() override { return timeSeparator; }
  std::string ProgramDir() override { return programDir; }
};

#ifdef _WIN32
class Win32System : public System {
 public:
  double Now() override;
  char DateSeparator() override;
  char TimeSeparator() override;
  std::string ProgramDir() override;
};
#endif

}  // namespace korval::forms
