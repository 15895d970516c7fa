#pragma once
// KORVAL.ini: sections of key=value lines, shared with programs outside the suite. Every access is one
// operation on a fresh in-memory copy: open, read or write entries, update when written, discard.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korval {

// The integer reader: leading blanks, an optional sign, then decimal digits or hexadecimal digits after "$",
// "0x" or "0X"; the whole rest must be such digits and the value must fit 32 bits.
std::optional<std::int32_t> ParseSettingsInteger(std::string_view text);

class SettingsFile {
 public:
  // An empty copy that updates to `path`.
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}

  // Reads the whole file, denying other programs write access while it reads. A missing file gives an empty
  // copy; a file that exists but cannot be read throws FileOpenError.
  static SettingsFile Open(const std::string& path);
  // The copy as if read from this text.
  static SettingsFile FromText(std::string path, std::string_view text);

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
  // A write of the value an entry already has leaves the copy as it is (an integer counts as the same when
  // the entry reads as that integer).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  // Whether the writes so far changed a value: an entry added, or an entry's value no longer the one read.
  bool Changed() const;
  // The text an update writes: every section as "[name]", its lines, one empty line; CR LF line ends.
  std::string Text() const;
  // Writes the copy to the file in one step when it has changed, so that a file whose values all stay is
  // left untouched, with the lines the reader skips. Throws FileCreateError when the file cannot be written;
  // the old file then stays as it was.
  void Update() const;

  const std::string& path() const { return path_; }

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;
    friend bool operator==(const Section& a, const Section& b) { return a.name == b.name && a.lines == b.lines; }
  };
  const Section* FindSection(std::string_view name) const;
  const std::string* FindValue(std::string_view section, std::string_view key) const;
  // Puts key=value into the copy unless `same` holds for the value text of the entry already there.
  void Write(std::string_view section, std::string_view key, std::string_view value,
             const std::function<bool(std::string_view)>& same);
  void KeepAsRead();

  std::string path_;
  std::vector<Section> sections_;
  // The sections as read, kept by the first write that changes the copy; Changed() compares with them.
  std::optional<std::vector<Section>> asRead_;
};

// What an operation does when the settings file cannot be opened.
enum class OnOpenFailure {
  EndProgram,  // the program is told to end and the operation reads and writes nothing more
  Report,      // the FileOpenError goes on to the general error report
  PassOver,    // nothing is said; the operation goes on without the settings
};

// Opens the settings file for one operation. EndProgram calls `requestEnd` and gives nothing; Report
// rethrows; PassOver gives nothing.
std::optional<SettingsFile> OpenSettings(const std::string& path, OnOpenFailure onFailure,
                                         const std::function<void()>& requestEnd = {});

}  // namespace korval
