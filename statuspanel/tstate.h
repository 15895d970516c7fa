#pragma once
// The nine status flags of the unit and the two decoders that set them from the status record.
#include <array>
#include <cstdint>

#include "record.h"

namespace korval::statuspanel {

struct Tstate {
  std::uint8_t LineFail = 0;
  std::uint8_t BatteryLow = 0;
  std::uint8_t AvrMode = 0;  // 0 normal, 1 AVR (boost or buck), 2 on-line, 3 bypass
  std::uint8_t UpsFault = 0;
  std::uint8_t UpsTest = 0;
  std::uint8_t UpsOff = 0;
  std::uint8_t Overload = 0;
  std::uint8_t BatteryBad = 0;
  std::uint8_t Boost = 0;  // while AvrMode is 1: 1 boost, 0 buck
};

using StatusBlock = std::array<std::uint8_t, DataBuffRecord::kStatusBlockSize>;
using GaugeArray = std::array<std::int32_t, 7>;  // entries 1..6

// Unit types 1..20: the flags from the 16-byte status block (its bytes 9 and 10 are the two status bytes).
void DecodeStatusBits(const StatusBlock& block, Tstate& state);

// Unit types 21..27: the flags and the six gauge values from the record.
void DecodeSmartStatus(const DataBuffRecord& record, Tstate& state, GaugeArray& gaugeValues);

}  // namespace korval::statuspanel
