#include "record.h"

#include <cstring>

#include "fileio.h"

namespace korval {

void DataBuffRecord::SetBE16(std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void DataBuffRecord::SetBit(std::size_t offset, int bit, bool on) {
  if (on) bytes[offset] = static_cast<std::uint8_t>(bytes[offset] | (1u << bit));
  else bytes[offset] = static_cast<std::uint8_t>(bytes[offset] & ~(1u << bit));
}

double DataBuffRecord::DateTimeAt(std::size_t offset) const {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | bytes[offset + static_cast<std::size_t>(i)];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void DataBuffRecord::SetDateTimeAt(std::size_t offset, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (std::size_t i = 0; i < 8; ++i) bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void DataBuffRecord::SetRatedVoltage(std::uint16_t value) {
  bytes[64] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[65] = static_cast<std::uint8_t>(value >> 8);
}

std::string RecordFileName(const std::string& dataDir) { return dataDir + "DATABuff.REC"; }

void ReadRecordImage(const std::string& dataDir, DataBuffRecord& image) {
  fileio::File file = fileio::File::Open(RecordFileName(dataDir), fileio::File::Access::ReadOnly);
  if (!file.IsOpen()) return;
  file.SeekToStart();
  std::array<std::uint8_t, DataBuffRecord::kSize> buffer;
  std::size_t got = file.Read(buffer.data(), buffer.size());
  std::memcpy(image.bytes.data(), buffer.data(), got);
}

void WriteRecordImage(const std::string& dataDir, const DataBuffRecord& image) {
  fileio::File file = fileio::File::Open(RecordFileName(dataDir), fileio::File::Access::ReadWrite);
  if (!file.IsOpen()) return;
  file.SeekToStart();
  file.Write(image.bytes.data(), image.bytes.size());
}

void PatchRecordByte(const std::string& dataDir) {
  fileio::File file = fileio::File::Open(RecordFileName(dataDir), fileio::File::Access::ReadWrite);
  if (!file.IsOpen()) return;
  DataBuffRecord buffer;
  file.SeekToStart();
  const std::size_t got = file.Read(buffer.bytes.data(), buffer.bytes.size());
  // Only bytes that were read go back: the monitor's file never receives bytes that this program made up.
  if (got <= DataBuffRecord::kGreenCommand) return;
  buffer.SetByte(DataBuffRecord::kGreenCommand, 2);
  file.SeekToStart();
  file.Write(buffer.bytes.data(), got);
}

}  // namespace korval
