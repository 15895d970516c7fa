#pragma once
// A live status record of a unit type, with values on every gauge inside the green bands: the starting point
// of the status window's tests.
#include <cstdint>

#include "record.h"

namespace korval::test {

inline DataBuffRecord LiveRecord(int unitType) {
  DataBuffRecord r;
  r.SetByte(DataBuffRecord::kDataValid, 1);
  r.SetByte(DataBuffRecord::kUnitType, static_cast<std::uint8_t>(unitType));
  r.SetByte(DataBuffRecord::kStatusBlockValid, 1);
  r.SetBE16(DataBuffRecord::kInputVoltage, 230);
  r.SetBE16(DataBuffRecord::kOutputVoltage, 230);
  r.SetByte(DataBuffRecord::kLoadPercent, 40);
  r.SetByte(DataBuffRecord::kInputFrequency, 50);
  r.SetByte(DataBuffRecord::kOutFreqOrTemp, 50);
  r.SetByte(DataBuffRecord::kBatteryPercent, 100);
  r.SetRatedVoltage(230);
  return r;
}

}  // namespace korval::test
