#include "language.h"

#include "error.h"
#include "fileio.h"
#include "settings.h"
#include "text.h"

namespace korval {

namespace {

bool InRange(int index) { return index >= 0 && index < kLanguageCount; }

}  // namespace

const char* LanguageFileName(int index) { return kLanguages[InRange(index) ? index : 0].file; }
const char* HelpFilePath(int index) { return kLanguages[InRange(index) ? index : 0].help; }
const char* LanguageFace(int index) { return InRange(index) ? kLanguages[index].face : nullptr; }

int SystemLanguageMap(std::uint16_t languageId) {
  for (int index = 0; index < kLanguageCount; ++index)
    if (kLanguages[index].systemLanguage == languageId) return index;
  return 0;
}

int ChooseLanguageIndex(std::int32_t stored, std::uint16_t systemLanguageId) {
  if (stored < 0) return SystemLanguageMap(systemLanguageId);
  return InRange(stored) ? stored : 0;
}

int ReadLanguageIndex(const SettingsFile& settings, std::uint16_t systemLanguageId) {
  return ChooseLanguageIndex(settings.ReadInteger("Main", "Language", -1), systemLanguageId);
}

LanguageFile LanguageFile::Load(const std::string& path) {
  std::string text;
  if (fileio::ReadWholeDenyWrite(path, text) != fileio::ReadResult::Ok) throw FileOpenError(path);
  return FromText(text);
}

LanguageFile LanguageFile::FromText(std::string_view text) {
  LanguageFile file;
  file.text_.assign(text.data(), text.size());
  for (std::string_view line : SplitLines(file.text_))
    file.lines_.push_back(Line{static_cast<std::size_t>(line.data() - file.text_.data()), line.size()});
  return file;
}

std::string LanguageFile::Text(std::string_view key) const {
  for (const Line& at : lines_) {
    std::string_view line(text_.data() + at.start, at.length);
    std::size_t eq = line.find('=');
    if (eq != std::string_view::npos && SameText(line.substr(0, eq), key)) return std::string(line.substr(eq + 1));
  }
  return std::string();
}

}  // namespace korval
