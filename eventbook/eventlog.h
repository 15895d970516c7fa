#pragma once
// The monthly event logs that the background monitor writes: DataDir + month number + "\Event.log", 16-byte
// records back to back (code byte, seven reserved bytes, date-time value as a little-endian IEEE double). A
// trailing part shorter than a record is no record. The reader is a pure function over the file's bytes.
// Header-only so that the fuzz target can take it as it is.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace korval::eventbook {

constexpr std::size_t kEventRecordSize = 16;
constexpr int kEventCodeCount = 15;  // codes 1..15; 0 and 16..255 are no event kind
constexpr int kRecentMonthCount = 11;

struct EventRecord {
  std::uint8_t code = 0;
  double time = 0;  // days since 1899-12-30
};

// The record at `offset` of a month file's bytes (offset + 16 must not pass the end).
inline EventRecord DecodeEventRecord(std::string_view bytes, std::size_t offset) {
  EventRecord r;
  r.code = static_cast<std::uint8_t>(bytes[offset]);
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i)
    bits = (bits << 8) | static_cast<std::uint8_t>(bytes[offset + 8 + static_cast<std::size_t>(i)]);
  std::memcpy(&r.time, &bits, sizeof r.time);
  return r;
}

// Calls visit(EventRecord) for every whole record of a month file, in file order.
template <class Visit>
void ForEachEventRecord(std::string_view bytes, Visit&& visit) {
  for (std::size_t at = 0; bytes.size() - at >= kEventRecordSize; at += kEventRecordSize)
    visit(DecodeEventRecord(bytes, at));
}

inline bool IsEventCode(std::uint8_t code) { return code >= 1 && code <= kEventCodeCount; }

// dataDir + "3\Event.log" for March: the month in decimal, no leading zero; the path holds no year.
inline std::string MonthFileName(const std::string& dataDir, int month) {
  return dataDir + std::to_string(month) + "\\Event.log";
}

// The month after `month`, 12 going on to 1.
inline int NextMonth(int month) { return month >= 12 || month < 1 ? 1 : month + 1; }

// The first of the eleven months that end with todayMonth (RecentMonths).
inline int FirstRecentMonth(int todayMonth) { return todayMonth <= 10 ? todayMonth + 2 : todayMonth - 10; }

// The months a fill reads: `count` months from `first` upwards.
struct MonthSpan {
  int first = 1;
  int count = 0;
};

// All mode: the eleven recent months. Range mode: from the start month to the end month, going on from 12 to
// 1 when the end is the smaller number (start 11 and end 2 give 11, 12, 1, 2).
inline MonthSpan ChooseMonths(bool all, int todayMonth, int startMonth, int endMonth) {
  if (all) return MonthSpan{FirstRecentMonth(todayMonth), kRecentMonthCount};
  const int d = endMonth - startMonth;
  return MonthSpan{startMonth, d >= 0 ? d + 1 : d + 13};
}

}  // namespace korval::eventbook
