#pragma once
// What the programs ask of the system outside the windows: the clock, the regional separators, the program's
// own folder, the system default language and the shell's "open". Win32System asks Windows; FakeSystem is
// set by tests and records what it was asked to do.
#include <cstdint>
#include <string>
#include <vector>

namespace korval::forms {

class Form;

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
  // The system default language identifier: primary language and sub-language together (0x0407 is German
  // (Germany), 0x0C07 German (Austria)).
  virtual std::uint16_t SystemDefaultLanguage() = 0;
  // Asks the shell to "open" `document` with whatever program the system has for it: `owner`'s window (none
  // when null) owns what the shell shows, `parameters` (none when empty) go to that program, `directory` is
  // its working folder and `showCommand` its show state (9: restored). What comes of it is not reported.
  virtual void ShellOpen(const Form* owner, const std::string& document, const std::string& parameters,
                         const std::string& directory, int showCommand) = 0;
};

class FakeSystem : public System {
 public:
  struct ShellOpenCall {
    const Form* owner;
    std::string document, parameters, directory;
    int showCommand;
  };

  double now = 46366.5;  // 2026-12-10 12:00
  char dateSeparator = '/';
  char timeSeparator = ':';
  std::string programDir;
  std::uint16_t systemLanguage = 0x0409;  // English (United States)
  std::vector<ShellOpenCall> shellOpens;

  double Now() override { return now; }
  char DateSeparator() override { return dateSeparator; }
  char TimeSeparator() override { return timeSeparator; }
  std::string ProgramDir() override { return programDir; }
  std::uint16_t SystemDefaultLanguage() override { return systemLanguage; }
  void ShellOpen(const Form* owner, const std::string& document, const std::string& parameters,
                 const std::string& directory, int showCommand) override {
    shellOpens.push_back(ShellOpenCall{owner, document, parameters, directory, showCommand});
  }
};

#ifdef _WIN32
class Win32System : public System {
 public:
  double Now() override;
  char DateSeparator() override;
  char TimeSeparator() override;
  std::string ProgramDir() override;
  std::uint16_t SystemDefaultLanguage() override;
  void ShellOpen(const Form* owner, const std::string& document, const std::string& parameters,
                 const std::string& directory, int showCommand) override;
};
#endif

}  // namespace korval::forms
