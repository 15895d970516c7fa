// Any bytes as KORVAL.ini: reading and writing never fail, and an updated file reads back to itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  korval::SettingsFile f = korval::SettingsFile::FromText("fuzz.ini", text);
  (void)f.ReadInteger("Main", "Language", -1);
  (void)f.ReadString("EventLog", "State", "111101111111110");
  (void)korval::ParseSettingsInteger(text);
  f.WriteInteger("Main", "TestFun", 2);
  f.WriteString("Set", "GreenStatus", text.substr(0, 8));
  const std::string once = f.Text();
  const std::string twice = korval::SettingsFile::FromText("fuzz.ini", once).Text();
  // A value holding a line break becomes two lines on the way out, so only line-free values must round-trip.
  if (text.find_first_of("\r\n") == std::string::npos && once != twice) std::abort();
  if (f.ReadInteger("Main", "TestFun", 0) != 2) std::abort();
  return 0;
}
