// DATABuff.REC as the background monitor writes it: every field at its byte offset and in its encoding,
// typed out of raw bytes and put back by the setters, and what the status window shows for records that are
// built byte by byte. The offsets here are written out as numbers on purpose: the record's own constants are
// what these tests check.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "panel_fixture.h"
#include "record.h"

namespace korval::statuspanel::test {
namespace {

using Bytes = std::vector<std::pair<std::size_t, std::uint8_t>>;  // offset, value

DataBuffRecord Raw(const Bytes& bytes) {
  DataBuffRecord r;
  for (auto [offset, value] : bytes) r.bytes.at(offset) = value;
  return r;
}

// An IEEE 754 double given by its bit pattern, low byte first from `offset`.
Bytes DateTime(std::size_t offset, std::uint64_t bits) {
  Bytes out;
  for (std::size_t i = 0; i < 8; ++i) out.emplace_back(offset + i, static_cast<std::uint8_t>(bits >> (8 * i)));
  return out;
}

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

constexpr std::uint64_t k2026_12_10_2230 = 0x40E6A3DE00000000;  // 46366.9375
constexpr std::uint64_t k2026_12_11_1200 = 0x40E6A3F000000000;  // 46367.5
constexpr std::uint64_t k2173_10_12_1200 = 0x40F869E800000000;  // 99998.5
constexpr std::uint64_t k2079_05_25_1800 = 0x40EFFF3800000000;  // 65529.75

using D = DataBuffRecord;

TEST(RecordLayout, EveryFieldAtItsOffsetAndInItsEncoding) {
  struct Field {
    const char* name;
    Bytes raw;
    double value;
    std::function<double(const D&)> read;
    std::function<void(D&, double)> write;
  };
  auto u8 = [](double v) { return static_cast<std::uint8_t>(v); };
  auto u16 = [](double v) { return static_cast<std::uint16_t>(v); };
  const Field fields[] = {
      {"DataValid", {{0, 0xC1}}, 0xC1, [](const D& r) { return r.DataValid(); },
       [&](D& r, double v) { r.SetByte(D::kDataValid, u8(v)); }},
      {"UnitType", {{1, 0xFE}}, 0xFE, [](const D& r) { return r.UnitType(); },
       [&](D& r, double v) { r.SetByte(D::kUnitType, u8(v)); }},
      {"StatusBlockValid", {{2, 0xC3}}, 0xC3, [](const D& r) { return r.StatusBlockValid(); },
       [&](D& r, double v) { r.SetByte(D::kStatusBlockValid, u8(v)); }},
      // 16-bit values high byte first.
      {"InputVoltage", {{3, 0x01}, {4, 0x2C}}, 300, [](const D& r) { return r.InputVoltage(); },
       [&](D& r, double v) { r.SetBE16(D::kInputVoltage, u16(v)); }},
      {"OutputVoltage", {{5, 0x01}, {6, 0x04}}, 260, [](const D& r) { return r.OutputVoltage(); },
       [&](D& r, double v) { r.SetBE16(D::kOutputVoltage, u16(v)); }},
      {"LoadPercent", {{7, 0x4B}}, 75, [](const D& r) { return r.LoadPercent(); },
       [&](D& r, double v) { r.SetByte(D::kLoadPercent, u8(v)); }},
      {"InputFrequency", {{8, 0x3C}}, 60, [](const D& r) { return r.InputFrequency(); },
       [&](D& r, double v) { r.SetByte(D::kInputFrequency, u8(v)); }},
      {"OutFreqOrTemp", {{9, 0x2A}}, 42, [](const D& r) { return r.OutFreqOrTemp(); },
       [&](D& r, double v) { r.SetByte(D::kOutFreqOrTemp, u8(v)); }},
      {"BatteryPercent", {{10, 0x63}}, 99, [](const D& r) { return r.BatteryPercent(); },
       [&](D& r, double v) { r.SetByte(D::kBatteryPercent, u8(v)); }},
      {"StatusBitsA", {{12, 0xA5}}, 0xA5, [](const D& r) { return r.StatusBitsA(); },
       [&](D& r, double v) { r.SetByte(D::kStatusBitsA, u8(v)); }},
      {"StatusBitsB", {{13, 0x5A}}, 0x5A, [](const D& r) { return r.StatusBitsB(); },
       [&](D& r, double v) { r.SetByte(D::kStatusBitsB, u8(v)); }},
      {"ModeBits", {{14, 0x28}}, 0x28, [](const D& r) { return r.ModeBits(); },
       [&](D& r, double v) { r.SetByte(D::kModeBits, u8(v)); }},
      {"RatedInputVoltage", {{53, 0x01}, {54, 0x02}}, 258, [](const D& r) { return r.RatedInputVoltage(); },
       [&](D& r, double v) { r.SetBE16(D::kRatedInputVoltage, u16(v)); }},
      {"RatedOutputVoltage", {{55, 0x01}, {56, 0x03}}, 259, [](const D& r) { return r.RatedOutputVoltage(); },
       [&](D& r, double v) { r.SetBE16(D::kRatedOutputVoltage, u16(v)); }},
      {"PortState", {{58, 0x02}}, 2, [](const D& r) { return r.PortState(); },
       [&](D& r, double v) { r.SetByte(D::kPortState, u8(v)); }},
      // The two command bytes that the status window hands to the monitor.
      {"TestCommand", {{59, 0x03}}, 3, [](const D& r) { return r.TestCommand(); },
       [&](D& r, double v) { r.SetByte(D::kTestCommand, u8(v)); }},
      {"GreenCommand", {{61, 0x02}}, 2, [](const D& r) { return r.GreenCommand(); },
       [&](D& r, double v) { r.SetByte(D::kGreenCommand, u8(v)); }},
      // The one 16-bit value stored low byte first.
      {"RatedVoltage", {{64, 0x5B}, {65, 0x01}}, 347, [](const D& r) { return r.RatedVoltage(); },
       [&](D& r, double v) { r.SetRatedVoltage(u16(v)); }},
      {"ScheduleIndex", {{85, 0x07}}, 7, [](const D& r) { return r.ScheduleIndex(); },
       [&](D& r, double v) { r.SetByte(D::kScheduleIndex, u8(v)); }},
      // Schedule entry i at 120 + 16 i: UpsNextAt, then ScheduleAt, each a little-endian double.
      {"UpsNextAt(0)", DateTime(120, k2026_12_10_2230), 46366.9375, [](const D& r) { return r.UpsNextAt(0); },
       [](D& r, double v) { r.SetUpsNextAt(0, v); }},
      {"ScheduleAt(0)", DateTime(128, k2026_12_11_1200), 46367.5, [](const D& r) { return r.ScheduleAt(0); },
       [](D& r, double v) { r.SetScheduleAt(0, v); }},
      {"UpsNextAt(3)", DateTime(168, k2079_05_25_1800), 65529.75, [](const D& r) { return r.UpsNextAt(3); },
       [](D& r, double v) { r.SetUpsNextAt(3, v); }},
      {"ScheduleAt(3)", DateTime(176, k2173_10_12_1200), 99998.5, [](const D& r) { return r.ScheduleAt(3); },
       [](D& r, double v) { r.SetScheduleAt(3, v); }},
      {"UpsNextAt(10)", DateTime(280, k2026_12_11_1200), 46367.5, [](const D& r) { return r.UpsNextAt(10); },
       [](D& r, double v) { r.SetUpsNextAt(10, v); }},
      {"ScheduleAt(10)", DateTime(288, k2173_10_12_1200), 99998.5, [](const D& r) { return r.ScheduleAt(10); },
       [](D& r, double v) { r.SetScheduleAt(10, v); }},
  };
  EXPECT_EQ(sizeof(D{}.bytes), 296u);
  for (const Field& f : fields) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(f.read(Raw(f.raw)), f.value) << "typed out of the raw bytes";
    D written;
    f.write(written, f.value);
    EXPECT_EQ(written.bytes, Raw(f.raw).bytes) << "the setter puts exactly these bytes back";
  }
}

// A live record built byte by byte: every gauge in its green band, nominal 230 V.
Bytes LiveBytes(int unitType) {
  return {{0, 1},  {1, static_cast<std::uint8_t>(unitType)},
          {2, 1},  {3, 0x00}, {4, 0xE6}, {5, 0x00}, {6, 0xE6}, {7, 40}, {8, 50}, {9, 50}, {10, 100},
          {64, 0xE6}, {65, 0x00}};
}

// What the status window shows after one tick of a record given as bytes.
using RecordInWindow = PanelTest;

TEST_F(RecordInWindow, ShowsTheFieldsOfARecordBuiltByteByByte) {
  auto readouts = [](TnKORVALmain& f) {
    std::string s;
    for (int g = 1; g <= 6; ++g) s += (g > 1 ? " " : "") + f.ReadoutPanel(g)->Caption();
    return s;
  };
  auto port = [](TnKORVALmain& f) {
    return f.StaticText11->Visible() ? f.StaticText11->Caption() : std::string("(hidden)");
  };
  auto mode = [](TnKORVALmain& f) {
    return "avr" + std::to_string(f.State->AvrMode) + " boost" + std::to_string(f.State->Boost);
  };
  auto flags = [](TnKORVALmain& f) {
    return "lf" + std::to_string(f.State->LineFail) + " bad" + std::to_string(f.State->BatteryBad);
  };
  auto schedule = [](TnKORVALmain& f) {
    return f.Label13->Caption() + " " + f.Label14->Caption() + " | " + f.Label9->Caption() + " " +
           f.Label10->Caption();
  };
  Bytes counting;  // bytes 0..19 hold 100..119
  for (std::size_t i = 0; i < 20; ++i) counting.emplace_back(i, static_cast<std::uint8_t>(100 + i));
  const Bytes entries = Join(Join(DateTime(128, k2026_12_11_1200), DateTime(120, k2026_12_11_1200)),
                             Join(DateTime(176, k2026_12_10_2230), DateTime(168, k2173_10_12_1200)));

  struct Case {
    const char* what;
    Bytes bytes;
    std::function<std::string(TnKORVALmain&)> shown;
    std::string want;
  };
  const Case cases[] = {
      {"six gauges, types 1..20",
       Join(LiveBytes(5), {{3, 0}, {4, 220}, {5, 0}, {6, 231}, {7, 41}, {8, 51}, {9, 52}, {10, 99}}), readouts,
       "220 231 41 51 52 99"},
      {"six gauges, types 21..27",
       Join(LiveBytes(23), {{3, 0}, {4, 220}, {5, 0}, {6, 231}, {7, 41}, {8, 51}, {9, 33}, {10, 99}}), readouts,
       "220 231 41 51 33 99"},
      {"BatteryPercent", Join(LiveBytes(5), {{10, 45}}), readouts, "230 230 40 50 50 45"},
      {"PortState 1", Join(LiveBytes(5), {{58, 1}}), port, "Cannot open the COM port!"},
      {"PortState 2", Join(LiveBytes(5), {{58, 2}}), port, "No response from the UPS!"},
      {"PortState 3", Join(LiveBytes(5), {{58, 3}}), port, "(hidden)"},
      {"ModeBits bypass", Join(LiveBytes(23), {{14, 0x20}}), mode, "avr3 boost0"},
      {"ModeBits on-line", Join(LiveBytes(23), {{14, 0x00}}), mode, "avr2 boost0"},
      {"ModeBits boost", Join(LiveBytes(23), {{14, 0x28}, {4, 220}}), mode, "avr1 boost1"},
      {"StatusBitsA types 1..20", Join(LiveBytes(5), {{12, 0x18}}), mode, "avr1 boost1"},
      {"StatusBlockValid 1", Join(LiveBytes(5), {{2, 1}, {12, 0x01}, {13, 0x02}}), flags, "lf1 bad1"},
      {"StatusBlockValid 0", Join(LiveBytes(5), {{2, 0}, {12, 0x01}, {13, 0x02}}), flags, "lf0 bad0"},
      {"StatusBlockValid 2", Join(LiveBytes(5), {{2, 2}, {12, 0x01}, {13, 0x02}}), flags, "lf0 bad0"},
      {"StatusBlockValid 255", Join(LiveBytes(5), {{2, 255}, {12, 0x01}, {13, 0x02}}), flags, "lf0 bad0"},
      {"status bytes, types 21..27", Join(LiveBytes(23), {{12, 0x01}, {13, 0x02}}), flags, "lf1 bad1"},
      {"ScheduleIndex 0", entries, schedule, "2026/12/11 12 : 00 | 2026/12/11 12 : 00"},
      {"ScheduleIndex 3", Join(entries, {{85, 3}}), schedule, "2026/12/10 22 : 30 | NULL "},
      {"diagnostic line", counting, [](TnKORVALmain& f) { return f.Label15->Caption(); },
       "102 103 104 105 106 107 108 109 110 111 112 113 114 115 116 117 118 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start();
    Tick(Raw(c.bytes));
    EXPECT_EQ(c.shown(*form), c.want);
  }
}

}  // namespace
}  // namespace korval::statuspanel::test
