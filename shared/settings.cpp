#include "settings.h"

#include "codepage.h"
#include "error.h"
#include "fileio.h"
#include "text.h"

namespace korval {

namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (base == 16 && c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (base == 16 && c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v;
}

// Lines are taken apart by characters of the code page: the second byte of a double-byte character is
// never the "=" of an entry nor the "]" of a section line.
bool IsEntry(std::string_view line) { return FindCharacter(line, '=') != std::string_view::npos; }

std::string_view KeyOf(std::string_view line) {
  std::size_t eq = FindCharacter(line, '=');
  return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

// The text after the first "=" of an entry line.
std::string_view ValueOf(std::string_view line) { return line.substr(FindCharacter(line, '=') + 1); }

bool IsSectionLine(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && EndsWithCharacter(line, ']');
}

}  // namespace

std::optional<std::int32_t> ParseSettingsInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  // Decimal must fit a signed 32-bit value; hexadecimal may use all 32 bits ($FFFFFFFF is -1).
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i], base);
    if (d < 0) return std::nullopt;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

SettingsFile SettingsFile::FromText(std::string path, std::string_view text) {
  SettingsFile file(std::move(path));
  for (std::string_view line : SplitLines(text)) {
    if (line.empty() || line.front() == ';') continue;
    if (IsSectionLine(line)) {
      file.sections_.push_back(Section{std::string(line.substr(1, line.size() - 2)), {}});
    } else if (!file.sections_.empty()) {
      file.sections_.back().lines.emplace_back(line);
    }
  }
  return file;
}

SettingsFile SettingsFile::Open(const std::string& path) {
  std::string text;
  switch (fileio::ReadWholeDenyWrite(path, text)) {
    case fileio::ReadResult::Missing:
      return SettingsFile(path);
    case fileio::ReadResult::Failed:
      throw FileOpenError(path);
    case fileio::ReadResult::Ok:
      break;
  }
  return FromText(path, text);
}

const SettingsFile::Section* SettingsFile::FindSection(std::string_view name) const {
  for (const Section& s : sections_)
    if (SameText(s.name, name)) return &s;
  return nullptr;
}

const std::string* SettingsFile::FindValue(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  for (const std::string& line : s->lines) {
    std::string_view k = KeyOf(line);
    if (IsEntry(line) && SameText(k, key)) return &line;
  }
  return nullptr;
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
  const std::string* line = FindValue(section, key);
  if (!line) return std::string(fallback);
  return std::string(ValueOf(*line));
}

std::int32_t SettingsFile::ReadInteger(std::string_view section, std::string_view key,
                                       std::int32_t fallback) const {
  const std::string* line = FindValue(section, key);
  if (!line) return fallback;
  return ParseSettingsInteger(ValueOf(*line)).value_or(fallback);
}

void SettingsFile::Write(std::string_view section, std::string_view key, std::string_view value,
                         const std::function<bool(std::string_view)>& same) {
  std::string entry = std::string(key) + "=" + std::string(value);
  for (Section& s : sections_) {
    if (!SameText(s.name, section)) continue;
    for (std::string& line : s.lines) {
      if (!IsEntry(line) || !SameText(KeyOf(line), key)) continue;
      if (same(ValueOf(line))) return;
      KeepAsRead();
      line = std::move(entry);
      return;
    }
    KeepAsRead();
    s.lines.push_back(std::move(entry));
    return;
  }
  KeepAsRead();
  sections_.push_back(Section{std::string(section), {std::move(entry)}});
}

void SettingsFile::KeepAsRead() {
  if (!asRead_) asRead_ = sections_;
}

void SettingsFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Write(section, key, value, [value](std::string_view old) { return old == value; });
}

void SettingsFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  Write(section, key, std::to_string(value),
        [value](std::string_view old) { return ParseSettingsInteger(old) == value; });
}

bool SettingsFile::Changed() const { return asRead_ && !(*asRead_ == sections_); }

std::string SettingsFile::Text() const {
  std::string out;
  for (const Section& s : sections_) {
    out += "[" + s.name + "]\r\n";
    for (const std::string& line : s.lines) out += line + "\r\n";
    out += "\r\n";
  }
  return out;
}

void SettingsFile::Update() const {
  if (!Changed()) return;
  if (!fileio::ReplaceWhole(path_, Text())) throw FileCreateError(path_);
}

std::optional<SettingsFile> OpenSettings(const std::string& path, OnOpenFailure onFailure,
                                         const std::function<void()>& requestEnd) {
  try {
    return SettingsFile::Open(path);
  } catch (const FileOpenError&) {
    switch (onFailure) {
      case OnOpenFailure::Report:
        throw;
      case OnOpenFailure::EndProgram:
        if (requestEnd) requestEnd();
        return std::nullopt;
      case OnOpenFailure::PassOver:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace korval
