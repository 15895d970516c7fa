#include "scenario.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "datetime.h"

namespace korval::monitor {

namespace {

struct Field {
  const char* name;
  Change::Kind kind;
  std::size_t offset;
};

const Field kFields[] = {
    {"DataValid", Change::SetByte, DataBuffRecord::kDataValid},
    {"UnitType", Change::SetByte, DataBuffRecord::kUnitType},
    {"StatusBlockValid", Change::SetByte, DataBuffRecord::kStatusBlockValid},
    {"InputVoltage", Change::SetBE16, DataBuffRecord::kInputVoltage},
    {"OutputVoltage", Change::SetBE16, DataBuffRecord::kOutputVoltage},
    {"LoadPercent", Change::SetByte, DataBuffRecord::kLoadPercent},
    {"InputFrequency", Change::SetByte, DataBuffRecord::kInputFrequency},
    {"OutFreqOrTemp", Change::SetByte, DataBuffRecord::kOutFreqOrTemp},
    {"BatteryPercent", Change::SetByte, DataBuffRecord::kBatteryPercent},
    {"StatusBitsA", Change::SetByte, DataBuffRecord::kStatusBitsA},
    {"StatusBitsB", Change::SetByte, DataBuffRecord::kStatusBitsB},
    {"ModeBits", Change::SetByte, DataBuffRecord::kModeBits},
    {"RatedInputVoltage", Change::SetBE16, DataBuffRecord::kRatedInputVoltage},
    {"RatedOutputVoltage", Change::SetBE16, DataBuffRecord::kRatedOutputVoltage},
    {"PortState", Change::SetByte, DataBuffRecord::kPortState},
    {"TestCommand", Change::SetByte, DataBuffRecord::kTestCommand},
    {"GreenCommand", Change::SetByte, DataBuffRecord::kGreenCommand},
    {"RatedVoltage", Change::SetLE16, DataBuffRecord::kRatedVoltage},
    {"ScheduleIndex", Change::SetByte, DataBuffRecord::kScheduleIndex},
};

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && *end == '\0';
}

// "UpsNextAt[3]" -> offset of that entry's field; "byte[12]" -> 12.
bool IndexedField(const std::string& name, const char* prefix, std::size_t& index) {
  std::size_t n = std::char_traits<char>::length(prefix);
  if (name.compare(0, n, prefix) != 0 || name.size() < n + 3 || name[n] != '[' || name.back() != ']') return false;
  double v;
  if (!ParseNumber(name.substr(n + 1, name.size() - n - 2), v) || v < 0) return false;
  index = static_cast<std::size_t>(v);
  return true;
}

// "<n> months ago <d> hh:nn[:ss]" ("1 month ago" too): day d of the n-th month before `started`'s, cut to
// that month's last day.
bool ParseMonthsAgo(const std::string& text, const CalendarTime& started, double& value) {
  std::istringstream words(text);
  int monthsAgo = -1;
  std::string unit, ago, clock, more;
  CalendarTime t;
  if (!(words >> monthsAgo >> unit >> ago >> t.day >> clock) || (words >> more) || monthsAgo < 0 ||
      (unit != "months" && unit != "month") || ago != "ago" || t.day < 1 || t.day > 31)
    return false;
  int used = 0;
  const int n = std::sscanf(clock.c_str(), "%d:%d%n:%d%n", &t.hour, &t.minute, &used, &t.second, &used);
  if (n < 2 || used != static_cast<int>(clock.size())) return false;
  if (n == 2) t.second = 0;
  const int months = started.year * 12 + (started.month - 1) - monthsAgo;
  t.year = months / 12;
  t.month = months % 12 + 1;
  while (t.day > 28 && !EncodeDateTime(t, value)) --t.day;
  return EncodeDateTime(t, value);
}

}  // namespace

bool ParseDateTimeText(const std::string& text, double& value) {
  CalendarTime t;
  int n = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second);
  if (n >= 5 || n == 3) {
    if (n == 3) t.hour = t.minute = 0;
    if (n < 6) t.second = 0;
    return EncodeDateTime(t, value);
  }
  return ParseNumber(text, value);
}

bool ParseScenario(const std::string& text, const CalendarTime& started, std::vector<Step>& steps,
                   std::string& error) {
  steps.clear();
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string verb;
    if (!(words >> verb) || verb[0] == '#') continue;
    std::string rest;
    std::getline(words, rest);
    rest.erase(0, rest.find_first_not_of(' '));
    if (verb == "at") {
      double ms;
      if (!ParseNumber(rest, ms) || ms < 0) return fail("at needs a time in ms");
      steps.push_back(Step{static_cast<unsigned long>(ms), {}});
      continue;
    }
    if (steps.empty()) return fail("a change before the first 'at'");
    Change c{Change::Clear};
    if (verb == "clear") {
      c.kind = Change::Clear;
    } else if (verb == "remove") {
      c.kind = Change::Remove;
    } else if (verb == "loop") {
      c.kind = Change::Loop;
    } else if (verb == "truncate") {
      c.kind = Change::Truncate;
      if (!ParseNumber(rest, c.number) || c.number < 0 || c.number > DataBuffRecord::kSize)
        return fail("truncate needs 0..296");
    } else if (verb == "event") {
      c.kind = Change::Event;
      std::istringstream parts(rest);
      std::string code;
      parts >> code;
      std::string when;
      std::getline(parts, when);
      when.erase(0, when.find_first_not_of(' '));
      c.now = when == "now";
      if (!ParseNumber(code, c.number) || c.number < 0 || c.number > 255 ||
          !(c.now || ParseMonthsAgo(when, started, c.when) || ParseDateTimeText(when, c.when)))
        return fail("event needs a code and a date-time, months ago or now");
    } else if (verb == "set") {
      std::istringstream parts(rest);
      std::string name, value;
      parts >> name;
      std::getline(parts, value);
      value.erase(0, value.find_first_not_of(' '));
      std::size_t index = 0;
      bool known = false;
      for (const Field& f : kFields) {
        if (name == f.name) {
          c.kind = f.kind;
          c.offset = f.offset;
          known = true;
        }
      }
      if (!known && IndexedField(name, "byte", index) && index < DataBuffRecord::kSize) {
        c.kind = Change::SetByte;
        c.offset = index;
        known = true;
      }
      for (const char* prefix : {"UpsNextAt", "ScheduleAt"}) {
        if (!known && IndexedField(name, prefix, index) && index < DataBuffRecord::kScheduleEntries) {
          c.kind = Change::SetDouble;
          c.offset = DataBuffRecord::kScheduleTable + 16 * index + (prefix[0] == 'S' ? 8 : 0);
          known = true;
        }
      }
      if (!known) return fail("unknown field " + name);
      if (c.kind == Change::SetDouble) {
        if (!ParseDateTimeText(value, c.number)) return fail("bad date-time " + value);
      } else if (!ParseNumber(value, c.number)) {
        return fail("bad number " + value);
      }
    } else {
      return fail("unknown verb " + verb);
    }
    steps.back().changes.push_back(c);
  }
  if (steps.empty()) return fail("no steps");
  return true;
}

}  // namespace korval::monitor
