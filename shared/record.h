#pragma once
// DATABuff.REC: the 296-byte status record that the background monitor keeps in the data folder.
#include <array>
#include <cstdint>
#include <string>

namespace korval {

class DataBuffRecord {
 public:
  static constexpr std::size_t kSize = 296;
  static constexpr int kScheduleEntries = 11;

  // Offsets of the fields.
  enum Offset : std::size_t {
    kDataValid = 0,
    kUnitType = 1,
    kStatusBlockValid = 2,
    kStatusBlock = 3,  // 16 bytes, 3..18
    kInputVoltage = 3,
    kOutputVoltage = 5,
    kLoadPercent = 7,
    kInputFrequency = 8,
    kOutFreqOrTemp = 9,
    kBatteryPercent = 10,
    kStatusBitsA = 12,
    kStatusBitsB = 13,
    kModeBits = 14,
    kRatedInputVoltage = 53,
    kRatedOutputVoltage = 55,
    kPortState = 58,
    kTestCommand = 59,
    kGreenCommand = 61,
    kRatedVoltage = 64,
    kScheduleIndex = 85,
    kScheduleTable = 120,
  };
  static constexpr std::size_t kStatusBlockSize = 16;
  static constexpr std::size_t kScheduleEntrySize = 16;

  std::array<std::uint8_t, kSize> bytes{};

  std::uint8_t Byte(std::size_t offset) const { return bytes[offset]; }
  void SetByte(std::size_t offset, std::uint8_t value) { bytes[offset] = value; }
  std::uint16_t BE16(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes[offset] * 256 + bytes[offset + 1]);
  }
  void SetBE16(std::size_t offset, std::uint16_t value);
  // Bit 0 is the least significant bit.
  int Bit(std::size_t offset, int bit) const { return (bytes[offset] >> bit) & 1; }
  void SetBit(std::size_t offset, int bit, bool on);
  double DateTimeAt(std::size_t offset) const;
  void SetDateTimeAt(std::size_t offset, double value);

  std::uint8_t DataValid() const { return Byte(kDataValid); }
  std::uint8_t UnitType() const { return Byte(kUnitType); }
  std::uint8_t StatusBlockValid() const { return Byte(kStatusBlockValid); }
  std::uint16_t InputVoltage() const { return BE16(kInputVoltage); }
  std::uint16_t OutputVoltage() const { return BE16(kOutputVoltage); }
  std::uint8_t LoadPercent() const { return Byte(kLoadPercent); }
  std::uint8_t InputFrequency() const { return Byte(kInputFrequency); }
  std::uint8_t OutFreqOrTemp() const { return Byte(kOutFreqOrTemp); }
  std::uint8_t BatteryPercent() const { return Byte(kBatteryPercent); }
  std::uint8_t StatusBitsA() const { return Byte(kStatusBitsA); }
  std::uint8_t StatusBitsB() const { return Byte(kStatusBitsB); }
  std::uint8_t ModeBits() const { return Byte(kModeBits); }
  std::uint16_t RatedInputVoltage() const { return BE16(kRatedInputVoltage); }
  std::uint16_t RatedOutputVoltage() const { return BE16(kRatedOutputVoltage); }
  // The rated input and output fields count only when both low bytes (offsets 54 and 56) are non-zero.
  bool RatedFieldsUsable() const { return bytes[54] != 0 && bytes[56] != 0; }
  std::uint8_t PortState() const { return Byte(kPortState); }
  std::uint8_t TestCommand() const { return Byte(kTestCommand); }
  std::uint8_t GreenCommand() const { return Byte(kGreenCommand); }
  // Little-endian, unlike every other 16-bit field.
  std::uint16_t RatedVoltage() const { return static_cast<std::uint16_t>(bytes[64] + bytes[65] * 256); }
  void SetRatedVoltage(std::uint16_t value);
  std::uint8_t ScheduleIndex() const { return Byte(kScheduleIndex); }

  // Entry i (0..10) of the schedule table; an index outside the table has no entry.
  static bool ScheduleEntryExists(int i) { return i >= 0 && i < kScheduleEntries; }
  double UpsNextAt(int i) const { return DateTimeAt(kScheduleTable + kScheduleEntrySize * static_cast<std::size_t>(i)); }
  double ScheduleAt(int i) const {
    return DateTimeAt(kScheduleTable + kScheduleEntrySize * static_cast<std::size_t>(i) + 8);
  }
  void SetUpsNextAt(int i, double v) { SetDateTimeAt(kScheduleTable + kScheduleEntrySize * static_cast<std::size_t>(i), v); }
  void SetScheduleAt(int i, double v) {
    SetDateTimeAt(kScheduleTable + kScheduleEntrySize * static_cast<std::size_t>(i) + 8, v);
  }
};

// The record file's name: dataDir followed by "DATABuff.REC".
std::string RecordFileName(const std::string& dataDir);

// Opens the record for reading, reads up to 296 bytes from offset 0 into `image` and closes it. A missing
// file leaves `image` as it was; a short one replaces only the bytes read.
void ReadRecordImage(const std::string& dataDir, DataBuffRecord& image);

// Writes the whole image, as given, at offset 0 of the existing record file. The file is never created or
// truncated.
void WriteRecordImage(const std::string& dataDir, const DataBuffRecord& image);

// Reads the record file into a buffer of its own, sets GreenCommand := 2 and writes the bytes read back through
// the same open file: a short file keeps its length and its bytes, and one that ends before GreenCommand is
// left as it is (the command is lost, as with a missing file). The file is never created.
void PatchRecordByte(const std::string& dataDir);

}  // namespace korval
