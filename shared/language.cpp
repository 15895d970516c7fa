#include "language.h"

#include "error.h"
#include "fileio.h"
#include "settings.h"
#include "text.h"

namespace korval {

namespace {

const char* const kFiles[kLanguageCount] = {
    "English.txt", "Chinese.txt", "Chinese_s.txt", "Japanese.txt", "Thai.txt",    "German.txt",
    "French.txt",  "Spanish.txt", "Korean.txt",    "Polish.txt",   "Turkish.txt", "russian.txt",
};

const char* const kHelp[kLanguageCount] = {
    "Readmee\\Readmee.htm", "Readmec\\ReadmeC.htm", "Readmec_s\\Readmec_s.htm", "ReadmeJ\\ReadmeJ.htm",
    "ReadmeT\\ReadmeT.htm", "ReadmeG\\ReadmeG.htm", "ReadmeF\\ReadmeF.htm",     "ReadmeS\\ReadmeS.htm",
    "Readmek\\Readmek.htm", "ReadmeP\\ReadmeP.htm", "ReadmeTu\\ReadmeTu.htm",   "ReadmeR\\ReadmeR.htm",
};

struct LanguageId {
  std::uint16_t id;
  int index;
};
const LanguageId kSystemLanguages[] = {
    {0x0404, 1}, {0x0804, 2}, {0x0411, 3}, {0x041E, 4},  {0x0407, 5},  {0x040C, 6},
    {0x0C0A, 7}, {0x0412, 8}, {0x0415, 9}, {0x041F, 10}, {0x0419, 11},
};

bool InRange(int index) { return index >= 0 && index < kLanguageCount; }

}  // namespace

const char* LanguageFileName(int index) { return kFiles[InRange(index) ? index : 0]; }
const char* HelpFilePath(int index) { return kHelp[InRange(index) ? index : 0]; }

int SystemLanguageMap(std::uint16_t languageId) {
  for (const LanguageId& row : kSystemLanguages)
    if (row.id == languageId) return row.index;
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
