// Any bytes as UserPath.dat: the data folder is its first line exactly as stored, never more.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "folders.h"
#include "temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static korval::test::TempDir program;
  const std::string text(reinterpret_cast<const char*>(data), size);
  program.Write("UserPath.dat", text);
  const std::string dataDir = korval::ReadDataDir(program.Prefix());
  if (dataDir != text.substr(0, text.find_first_of("\r\n"))) std::abort();
  return 0;
}
