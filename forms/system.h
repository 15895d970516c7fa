#pragma once
// What the programs ask of the system outside the windows: the clock, the regional settings, the program's
// own folder, the system default language and code page, the shell's "open", other programs' windows,
// program starts, the foreground window, whether a file exists and the current directory. Win32System asks
// Windows; FakeSystem is set by tests and records what it was asked to do.
#include <cstdint>
#include <set>
#include <string>
#include <utility>
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
  // The system's ANSI code page (1252 for Western Europe, 950 for traditional Chinese ...).
  virtual unsigned AnsiCodePage() = 0;
  // Asks the shell to "open" `document` with whatever program the system has for it: `owner`'s window (none
  // when null) owns what the shell shows, `parameters` (none when empty) go to that program, `directory` is
  // its working folder and `showCommand` its show state (9: restored). What comes of it is not reported.
  virtual void ShellOpen(const Form* owner, const std::string& document, const std::string& parameters,
                         const std::string& directory, int showCommand) = 0;

  // Other programs' windows, by handle; 0 is no window.
  using WindowHandle = std::uintptr_t;
  // The first top-level window whose class name is `className`, with any title; 0 when there is none.
  virtual WindowHandle FindWindowByClass(const std::string& className) = 0;
  // Makes `window` the foreground window; nothing else is done to it (a minimised window stays minimised).
  virtual void BringToFront(WindowHandle window) = 0;
  // Posts a message to `window` and returns at once.
  virtual void PostMessageTo(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
  // Starts `commandLine` as it stands, in show state `showCommand`; what comes of it is not reported.
  virtual void StartProgram(const std::string& commandLine, int showCommand) = 0;

  // `form`'s window is the system's foreground window.
  virtual bool IsForeground(const Form& form) = 0;
  // A file of that name exists (a drive that is missing or cannot be read: false, without asking the user).
  virtual bool FileExists(const std::string& path) = 0;
  // Makes `folder` the process's current directory; on failure false, with the system's description of the
  // error in `errorText`.
  virtual bool ChangeDirectory(const std::string& folder, std::string& errorText) = 0;
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
  unsigned codePage = 1252;
  std::vector<ShellOpenCall> shellOpens;

  struct Post {
    WindowHandle window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  struct Start {
    std::string commandLine;
    int showCommand;
  };
  // The windows that exist, in the order a lookup meets them: class name and handle.
  std::vector<std::pair<std::string, WindowHandle>> windows;
  std::vector<WindowHandle> broughtToFront;
  std::vector<Post> posts;
  std::vector<Start> starts;

  bool foreground = true;         // every form's window is the foreground window
  std::set<std::string> files;    // the files that exist
  std::set<std::string> folders;  // the folders that can be entered
  std::string currentDir = "C:\\";
  std::string changeError = "The system cannot find the path specified.";
  std::vector<std::string> fileChecks, directoryChanges;

  double Now() override { return now; }
  char DateSeparator() override { return dateSeparator; }
  char TimeSeparator() override { return timeSeparator; }
  std::string ProgramDir() override { return programDir; }
  std::uint16_t SystemDefaultLanguage() override { return systemLanguage; }
  unsigned AnsiCodePage() override { return codePage; }
  void ShellOpen(const Form* owner, const std::string& document, const std::string& parameters,
                 const std::string& directory, int showCommand) override {
    shellOpens.push_back(ShellOpenCall{owner, document, parameters, directory, showCommand});
  }
  WindowHandle FindWindowByClass(const std::string& className) override {
    for (const auto& w : windows)
      if (w.first == className) return w.second;
    return 0;
  }
  void BringToFront(WindowHandle window) override { broughtToFront.push_back(window); }
  void PostMessageTo(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posts.push_back(Post{window, message, wParam, lParam});
  }
  void StartProgram(const std::string& commandLine, int showCommand) override {
    starts.push_back(Start{commandLine, showCommand});
  }
  bool IsForeground(const Form&) override { return foreground; }
  bool FileExists(const std::string& path) override {
    fileChecks.push_back(path);
    return files.count(path) != 0;
  }
  bool ChangeDirectory(const std::string& folder, std::string& errorText) override {
    directoryChanges.push_back(folder);
    if (!folders.count(folder)) {
      errorText = changeError;
      return false;
    }
    currentDir = folder;
    return true;
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
  unsigned AnsiCodePage() override;
  void ShellOpen(const Form* owner, const std::string& document, const std::string& parameters,
                 const std::string& directory, int showCommand) override;
  WindowHandle FindWindowByClass(const std::string& className) override;
  void BringToFront(WindowHandle window) override;
  void PostMessageTo(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void StartProgram(const std::string& commandLine, int showCommand) override;
  bool IsForeground(const Form& form) override;
  bool FileExists(const std::string& path) override;
  bool ChangeDirectory(const std::string& folder, std::string& errorText) override;
};
#endif

}  // namespace korval::forms
