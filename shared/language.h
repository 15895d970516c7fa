#pragma once
// The language of the programs' texts: which of the language files of the language table (kLanguages, made
// from resources/lang-src/languages.tsv), and reading one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "language_table.h"

namespace korval {

class SettingsFile;

// File name of language `index` in the program folder; English for an index outside the table.
const char* LanguageFileName(int index);
// Help document of language `index`, relative to the program folder's "Help\"; English outside the table.
const char* HelpFilePath(int index);
// The face that the texts of language `index` ask for on the controls that take it ("Dotum" for Russian), or
// nullptr for the layouts' own faces.
const char* LanguageFace(int index);

// The language index of a system default language identifier: only the exact identifiers of the table
// match (German (Austria) is not German (Germany)); any other gives 0.
int SystemLanguageMap(std::uint16_t languageId);

// The language choice from a stored `Language` value: an index of the table as stored, negative by the system
// language. A stored value past the table names no language file and gives English.
int ChooseLanguageIndex(std::int32_t stored, std::uint16_t systemLanguageId);
// The same from the settings (section Main, key Language, default -1).
int ReadLanguageIndex(const SettingsFile& settings, std::uint16_t systemLanguageId);

// A language file: key=value lines taken byte for byte, no sections.
class LanguageFile {
 public:
  // Reads the whole file; a file that is missing or cannot be read throws FileOpenError.
  static LanguageFile Load(const std::string& path);
  static LanguageFile FromText(std::string_view text);

  // The text after the first "=" of the first line whose key (the text before it) equals `key` without regard
  // to case; the empty text when no line has it.
  std::string Text(std::string_view key) const;

 private:
  struct Line {
    std::size_t start, length;
  };
  std::string text_;
  std::vector<Line> lines_;
};

}  // namespace korval
