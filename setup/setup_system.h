#pragma once
// What the installation launcher asks of the system: program starts, the shell's "open", the foreground
// window, whether a file exists and the change of the current directory. Win32SetupSystem asks Windows;
// tests set FakeSetupSystem, which records every call.
#include <set>
#include <string>
#include <vector>

namespace korval::forms {
class Form;
}

namespace korval::setup {

class SetupSystem {
 public:
  virtual ~SetupSystem() = default;
  // The folder of the running program file, with its trailing backslash.
  virtual std::string ProgramDir() = 0;
  // Starts `commandLine` as it stands, in show state `showCommand`; what comes of it is not reported.
  virtual void StartProgram(const std::string& commandLine, int showCommand) = 0;
  // The shell's "open" of `document` without parameters, `owner`'s window owning what the shell shows.
  virtual void ShellOpen(const forms::Form& owner, const std::string& document, const std::string& directory,
                         int showCommand) = 0;
  // `form`'s window is the system's foreground window.
  virtual bool IsForeground(const forms::Form& form) = 0;
  // A file of that name exists (a drive that is missing or cannot be read: false).
  virtual bool FileExists(const std::string& path) = 0;
  // Makes `folder` the process's current directory; on failure false, with the system's description of the
  // error in `errorText`.
  virtual bool ChangeDirectory(const std::string& folder, std::string& errorText) = 0;
};

class FakeSetupSystem : public SetupSystem {
 public:
  struct Start {
    std::string commandLine;
    int showCommand;
  };
  struct Open {
    const forms::Form* owner;
    std::string document, directory;
    int showCommand;
  };

  std::string programDir = "C:\\Disc\\";
  bool foreground = true;
  std::set<std::string> files;    // the files that exist
  std::set<std::string> folders;  // the folders that can be entered
  std::string currentDir = "C:\\";
  std::string changeError = "The system cannot find the path specified.";

  std::vector<Start> starts;
  std::vector<Open> opens;
  std::vector<std::string> fileChecks, directoryChanges;

  std::string ProgramDir() override { return programDir; }
  void StartProgram(const std::string& commandLine, int showCommand) override {
    starts.push_back(Start{commandLine, showCommand});
  }
  void ShellOpen(const forms::Form& owner, const std::string& document, const std::string& directory,
                 int showCommand) override {
    opens.push_back(Open{&owner, document, directory, showCommand});
  }
  bool IsForeground(const forms::Form&) override { return foreground; }
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
class Win32SetupSystem : public SetupSystem {
 public:
  std::string ProgramDir() override;
  void StartProgram(const std::string& commandLine, int showCommand) override;
  void ShellOpen(const forms::Form& owner, const std::string& document, const std::string& directory,
                 int showCommand) override;
  bool IsForeground(const forms::Form& form) override;
  bool FileExists(const std::string& path) override;
  bool ChangeDirectory(const std::string& folder, std::string& errorText) override;
};
#endif

}  // namespace korval::setup
