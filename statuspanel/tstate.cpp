#include "tstate.h"

namespace korval::statuspanel {

namespace {
std::uint8_t Bit(std::uint8_t byte, int bit) { return static_cast<std::uint8_t>((byte >> bit) & 1); }
}  // namespace

void DecodeStatusBits(const StatusBlock& block, Tstate& s) {
  const std::uint8_t a = block[9], b = block[10];
  s.LineFail = Bit(a, 0);
  s.BatteryLow = Bit(a, 1);
  s.AvrMode = Bit(a, 3);
  s.Boost = Bit(a, 4);
  s.Overload = Bit(a, 5);
  s.UpsOff = Bit(a, 7);
  s.UpsFault = Bit(b, 0);
  s.BatteryBad = Bit(b, 1);
  s.UpsTest = Bit(b, 2);
}

void DecodeSmartStatus(const DataBuffRecord& r, Tstate& s, GaugeArray& g) {
  const std::uint8_t a = r.StatusBitsA(), b = r.StatusBitsB(), m = r.ModeBits();
  s.LineFail = Bit(a, 0);
  s.BatteryLow = Bit(a, 1);
  s.Overload = Bit(a, 5);
  s.UpsOff = Bit(a, 7);
  s.UpsFault = Bit(b, 0);
  s.BatteryBad = Bit(b, 1);
  s.UpsTest = Bit(b, 2);
  if (r.UnitType() == 22) s.UpsOff = r.OutputVoltage() == 0 ? 1 : 0;
  g[1] = r.InputVoltage();
  g[2] = r.OutputVoltage();
  const bool m3 = Bit(m, 3) != 0, m5 = Bit(m, 5) != 0;
  if (m3 && !m5) {
    s.AvrMode = 0;
  } else if (m3 && m5) {
    s.AvrMode = 1;
    s.Boost = r.OutputVoltage() > r.InputVoltage() ? 1 : 0;
  } else if (!m5) {
    s.AvrMode = 2;
  } else {
    s.AvrMode = 3;
  }
  g[3] = r.LoadPercent();
  g[4] = r.InputFrequency();
  g[6] = r.BatteryPercent();
  g[5] = r.OutFreqOrTemp();
}

}  // namespace korval::statuspanel
