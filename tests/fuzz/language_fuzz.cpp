// Any bytes as a language file: lookups never fail.
#include <cstdint>
#include <string>

#include "language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  korval::LanguageFile f = korval::LanguageFile::FromText(text);
  for (const char* key : {"Ivol", "Dis29", "Mai1", "", "="}) (void)f.Text(key);
  (void)f.Text(text.substr(0, 6));
  return 0;
}
