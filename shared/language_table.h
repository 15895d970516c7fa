#pragma once
// Made by resources/lang-src/generate.py from languages.tsv beside it: edit the table, not this file.
#include <cstdint>

namespace korval {

struct LanguageRow {
  const char* file;              // the language file in the program folder
  const char* help;              // the help document, relative to the program folder's "Help\"
  unsigned codePage;             // the Windows code page of both
  std::uint16_t systemLanguage;  // the system default language identifier that chooses it
  const char* face;              // the face its texts ask for, or nullptr for the layouts' own
};

constexpr int kLanguageCount = 12;

constexpr LanguageRow kLanguages[kLanguageCount] = {
    {"English.txt", "Readmee\\Readmee.htm", 1252, 0x0409, nullptr},       // 0 English
    {"Chinese.txt", "Readmec\\ReadmeC.htm", 950, 0x0404, nullptr},        // 1 Chinese (Traditional)
    {"Chinese_s.txt", "Readmec_s\\Readmec_s.htm", 936, 0x0804, nullptr},  // 2 Chinese (Simplified)
    {"Japanese.txt", "ReadmeJ\\ReadmeJ.htm", 932, 0x0411, nullptr},       // 3 Japanese
    {"Thai.txt", "ReadmeT\\ReadmeT.htm", 874, 0x041E, nullptr},           // 4 Thai
    {"German.txt", "ReadmeG\\ReadmeG.htm", 1252, 0x0407, nullptr},        // 5 German
    {"French.txt", "ReadmeF\\ReadmeF.htm", 1252, 0x040C, nullptr},        // 6 French
    {"Spanish.txt", "ReadmeS\\ReadmeS.htm", 1252, 0x0C0A, nullptr},       // 7 Spanish
    {"Korean.txt", "Readmek\\Readmek.htm", 949, 0x0412, nullptr},         // 8 Korean
    {"Polish.txt", "ReadmeP\\ReadmeP.htm", 1250, 0x0415, nullptr},        // 9 Polish
    {"Turkish.txt", "ReadmeTu\\ReadmeTu.htm", 1254, 0x041F, nullptr},     // 10 Turkish
    {"russian.txt", "ReadmeR\\ReadmeR.htm", 1251, 0x0419, "Dotum"},       // 11 Russian
};

}  // namespace korval
