// Month event log files as the background monitor (or a damaged disk) may leave them: every whole record is
// decoded, its code tested and its time formatted as the grid shows it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "../../eventbook/eventlog.h"
#include "datetime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t records = 0, listed = 0;
  double last = 0;
  korval::eventbook::ForEachEventRecord(bytes, [&](const korval::eventbook::EventRecord& r) {
    ++records;
    if (!korval::eventbook::IsEventCode(r.code)) return;
    ++listed;
    const bool older = listed >= 2 && last > r.time;
    if (!older) last = r.time;
    (void)korval::FormatEventTime(r.time, '/', ':');
  });
  if (records != size / korval::eventbook::kEventRecordSize) __builtin_trap();
  return 0;
}
