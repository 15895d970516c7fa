// Prints the time of one status record read and of one settings open and read on a 1 MiB settings file.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "record.h"
#include "settings.h"

namespace {

template <typename F>
double MicrosecondsPerCall(int rounds, F&& f) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) f();
  std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / rounds;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "korval-shared-bench";
  fs::create_directories(dir);
  const std::string prefix = (dir / "").string();

  {
    std::ofstream rec(prefix + "DATABuff.REC", std::ios::binary);
    rec << std::string(296, '\x01');
  }
  korval::DataBuffRecord image;
  double readUs = MicrosecondsPerCall(2000, [&] { korval::ReadRecordImage(prefix, image); });

  {
    // About 1 MiB: many sibling sections before the ones the programs read, as a worst case for lookup.
    std::ofstream ini(prefix + "KORVAL.ini", std::ios::binary);
    std::size_t size = 0;
    for (int s = 0; size < (1u << 20); ++s) {
      std::string section = "[Sibling" + std::to_string(s) + "]\r\n";
      for (int k = 0; k < 20; ++k) section += "Key" + std::to_string(k) + "=Value of some length " + std::to_string(k) + "\r\n";
      ini << section;
      size += section.size();
    }
    ini << "[Main]\r\nLanguage=3\r\nShowDisp=secret\r\n";
  }
  int language = 0;
  double iniUs = MicrosecondsPerCall(20, [&] {
    korval::SettingsFile f = korval::SettingsFile::Open(prefix + "KORVAL.ini");
    language = f.ReadInteger("Main", "Language", -1);
  });

  std::printf("status record read (296 bytes):          %10.1f us\n", readUs);
  std::printf("settings open and read (1 MiB, Language=%d): %7.1f us\n", language, iniUs);
  fs::remove_all(dir);
  return 0;
}
