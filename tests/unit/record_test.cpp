#include "record.h"

#include <gtest/gtest.h>

#include <cmath>

#include "temp_dir.h"

namespace korval {
namespace {

std::string Bytes(const DataBuffRecord& r) { return std::string(r.bytes.begin(), r.bytes.end()); }

DataBuffRecord Patterned() {
  DataBuffRecord r;
  for (std::size_t i = 0; i < DataBuffRecord::kSize; ++i) r.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return r;
}

TEST(DataBuffRecord, FieldEncodings) {
  DataBuffRecord r;
  r.bytes[3] = 0x01; r.bytes[4] = 0x02;    // InputVoltage BE16 = 258
  r.bytes[5] = 0x00; r.bytes[6] = 0xE6;    // OutputVoltage 230
  r.bytes[53] = 0x00; r.bytes[54] = 0xDC;  // rated input 220
  r.bytes[55] = 0x01; r.bytes[56] = 0x00;  // rated output 256: low byte zero
  r.bytes[64] = 0x2C; r.bytes[65] = 0x01;  // RatedVoltage LE16 = 300
  r.bytes[12] = 0b10100001;
  EXPECT_EQ(r.InputVoltage(), 258);
  EXPECT_EQ(r.OutputVoltage(), 230);
  EXPECT_EQ(r.RatedInputVoltage(), 220);
  EXPECT_EQ(r.RatedOutputVoltage(), 256);
  EXPECT_FALSE(r.RatedFieldsUsable()) << "256 has a zero low byte and counts as absent";
  r.bytes[56] = 0xE6;
  EXPECT_TRUE(r.RatedFieldsUsable());
  EXPECT_EQ(r.RatedVoltage(), 300);
  EXPECT_EQ(r.Bit(12, 0), 1);
  EXPECT_EQ(r.Bit(12, 1), 0);
  EXPECT_EQ(r.Bit(12, 5), 1);
  EXPECT_EQ(r.Bit(12, 7), 1);
  r.bytes[1] = 200;
  EXPECT_EQ(r.UnitType(), 200) << "bytes are unsigned";
}

TEST(DataBuffRecord, ScheduleEntriesAreLittleEndianDoubles) {
  DataBuffRecord r;
  r.SetUpsNextAt(0, 46000.5);
  r.SetScheduleAt(10, 99998.5);
  // 46000.5 = 0x40E6761000000000, low byte first at offset 120.
  const std::uint8_t want[8] = {0, 0, 0, 0, 0x10, 0x76, 0xE6, 0x40};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(r.bytes[120 + i], want[i]) << i;
  EXPECT_EQ(r.UpsNextAt(0), 46000.5);
  EXPECT_EQ(r.ScheduleAt(10), 99998.5);
  EXPECT_EQ(r.DateTimeAt(120 + 16 * 10 + 8), 99998.5);
  EXPECT_EQ(120 + 16 * 10 + 16, 296) << "the last entry ends the record";
  EXPECT_FALSE(DataBuffRecord::ScheduleEntryExists(11));
  EXPECT_TRUE(DataBuffRecord::ScheduleEntryExists(10));
}

TEST(RecordFile, ReadKeepsImageWhenMissingAndReplacesOnlyBytesOfShortFile) {
  test::TempDir dir;
  DataBuffRecord image = Patterned();
  const std::string before = Bytes(image);
  ReadRecordImage(dir.Prefix(), image);
  EXPECT_EQ(Bytes(image), before);

  dir.Write("DATABuff.REC", std::string(10, '\x05'));
  ReadRecordImage(dir.Prefix(), image);
  EXPECT_EQ(Bytes(image), std::string(10, '\x05') + before.substr(10));

  DataBuffRecord full = Patterned();
  full.bytes[0] = 1;
  dir.Write("DATABuff.REC", Bytes(full) + "extra bytes past the record");
  ReadRecordImage(dir.Prefix(), image);
  EXPECT_EQ(Bytes(image), Bytes(full));
}

TEST(RecordFile, WriteRecordImageWritesTheImageAsGivenAndNeverCreates) {
  test::TempDir dir;
  DataBuffRecord image = Patterned();
  const std::string given = Bytes(image);
  WriteRecordImage(dir.Prefix(), image);
  EXPECT_FALSE(dir.Has("DATABuff.REC"));

  // The file is not truncated: bytes past the record stay, and the image goes over what the monitor wrote,
  // every byte as given (the command bytes included: which command to give is the caller's).
  dir.Write("DATABuff.REC", std::string(300, '\x11'));
  WriteRecordImage(dir.Prefix(), image);
  EXPECT_EQ(Bytes(image), given);
  EXPECT_EQ(dir.Read("DATABuff.REC"), given + std::string(4, '\x11'));
}

TEST(RecordFile, PatchRecordByteChangesOnlyGreenCommandOfWhatWasRead) {
  test::TempDir dir;
  PatchRecordByte(dir.Prefix());
  EXPECT_FALSE(dir.Has("DATABuff.REC"));

  DataBuffRecord monitor = Patterned();
  monitor.bytes[59] = 3;  // an earlier self-test request stays beside the green-mode command
  dir.Write("DATABuff.REC", Bytes(monitor) + "tail");
  PatchRecordByte(dir.Prefix());
  std::string want = Bytes(monitor);
  want[61] = 2;
  EXPECT_EQ(dir.Read("DATABuff.REC"), want + "tail");

  // A short file: no byte that was not read reaches it, and it keeps its length.
  struct Case {
    std::size_t length;
    bool commandFits;
  };
  for (const Case& c : {Case{100, true}, Case{62, true}, Case{61, false}, Case{3, false}, Case{0, false}}) {
    const std::string file = Bytes(Patterned()).substr(0, c.length);
    dir.Write("DATABuff.REC", file);
    PatchRecordByte(dir.Prefix());
    std::string expected = file;
    if (c.commandFits) expected[61] = 2;
    EXPECT_EQ(dir.Read("DATABuff.REC"), expected) << c.length << " bytes";
  }
}

}  // namespace
}  // namespace korval
