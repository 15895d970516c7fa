#pragma once
// What the event viewer asks of the system beyond the form library's System: the system default language
// (for the language choice) and the ANSI code page its texts are held in (named in the export files).
// Win32ViewerSystem asks Windows; tests set FakeViewerSystem.
#include <cstdint>

namespace korval::eventbook {

class ViewerSystem {
 public:
  virtual ~ViewerSystem() = default;
  // The system default language identifier (primary language and sub-language together).
  virtual std::uint16_t SystemLanguageId() = 0;
  // The system's ANSI code page (1252 for Western Europe, 950 for traditional Chinese ...).
  virtual unsigned AnsiCodePage() = 0;
};

class FakeViewerSystem : public ViewerSystem {
 public:
  std::uint16_t languageId = 0x0409;  // English (United States)
  unsigned codePage = 1252;
  std::uint16_t SystemLanguageId() override { return languageId; }
  unsigned AnsiCodePage() override { return codePage; }
};

#ifdef _WIN32
class Win32ViewerSystem : public ViewerSystem {
 public:
  std::uint16_t SystemLanguageId() override;
  unsigned AnsiCodePage() override;
};
#endif

}  // namespace korval::eventbook
