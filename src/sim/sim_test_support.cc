#include "sim/sim_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/big_endian.h"

namespace {

std::uint8_t Byte(std::uint32_t value, int shift) {
  return static_cast<std::uint8_t>(value >> shift);
}

}  // namespace

CommandResult BusProbe::Send(std::initializer_list<std::uint8_t> cdb,
                             std::vector<std::uint8_t>& data) {
  command_ = ScsiCommand{};
  std::copy(cdb.begin(), cdb.end(), command_.cdb);
  command_.cdbLength = static_cast<std::uint8_t>(cdb.size());
  command_.timeoutMs = 30000;
  command_.buffer = data.empty() ? nullptr : data.data();
  command_.bufferLength = static_cast<std::uint32_t>(data.size());
  return bus_.Run(adapter_, target_, command_);
}

CommandResult BusProbe::Send(std::initializer_list<std::uint8_t> cdb) {
  std::vector<std::uint8_t> none;
  return Send(cdb, none);
}

void BusProbe::Expect(std::initializer_list<std::uint8_t> cdb,
                      std::vector<std::uint8_t>& data) {
  const std::uint8_t opcode = *cdb.begin();
  EXPECT_EQ(Send(cdb, data).status, 1)
      << "opcode " << std::hex << int{opcode} << " sense "
      << int{LastSense().key} << "/" << int{LastSense().asc} << "/"
      << int{LastSense().ascq};
}

void BusProbe::Expect(std::initializer_list<std::uint8_t> cdb) {
  std::vector<std::uint8_t> none;
  Expect(cdb, none);
}

SimSense BusProbe::LastSense() const {
  return {static_cast<std::uint8_t>(command_.sense[2] & 0x0F),
          command_.sense[12], command_.sense[13]};
}

std::uint8_t FamilyDriver::ModeLength() const {
  switch (type_) {
    case 2:
    case 4:
    case 8:
      return 64;
    case 3:
    case 5:
      return 68;
    default:
      return 60;
  }
}

void FamilyDriver::Prepare() {
  if (type_ == 1) {
    std::vector<std::uint8_t> buffer(256, 0);
    const std::uint8_t list[16] = {0, 0, 0, 8, 0, 0, 0, 0,
                                   0, 0, 8, 0, 0x31, 2, 0, 0x10};
    std::copy(std::begin(list), std::end(list), buffer.begin());
    probe_.Expect({0x15, 0x10, 0, 0, 0x10, 0}, buffer);
    probe_.Expect({0xE6, 0, 0, 0, 0, 0, 1, 0, 0, 0}, buffer);
    return;
  }
  std::vector<std::uint8_t> buffer(96, 0);
  const std::uint8_t l = ModeLength();
  if (Tracked()) {
    if (SixByteMode()) {
      probe_.Expect({0x51, 0, 0, 0, 0, 0, 0, 0, 0x60, 0}, buffer);
      probe_.Expect({0x52, 0, 0, 0, 0, 0xFF, 0, 0, 0x60, 0}, buffer);
    } else {
      probe_.Expect({0x51, 0, 0, 0, 0, 0, 0, 0, 0x60, 0, 0, 0}, buffer);
      probe_.Expect({0x52, 0, 0, 0, 0, 0xFF, 0, 0, 0x60, 0, 0, 0}, buffer);
    }
    nextWritable_ = ReadBE32(&buffer[12]);
  }
  std::size_t page = 0;
  if (SixByteMode()) {
    probe_.Expect({0x1A, 0, 0x05, 0, l, 0}, buffer);
    buffer[0] = 0;
    buffer[1] = 0;
    buffer[9] = 0x00;
    buffer[10] = 0x08;
    buffer[11] = 0x00;
    page = 12;
  } else {
    probe_.Expect({0x5A, 0, 0x05, 0, 0, 0, 0, 0, l, 0}, buffer);
    buffer[0] = 0;
    buffer[1] = 0;
    page = 8;
  }
  buffer[page] &= 0x7F;
  buffer[page + 2] = (buffer[page + 2] & 0xE0) | 0x01;
  buffer[page + 3] = (buffer[page + 3] & 0x30) | 0x04;
  buffer[page + 4] = (buffer[page + 4] & 0xF0) | 0x08;
  buffer[page + 8] = 0;
  if (SixByteMode()) {
    probe_.Expect({0x15, 0x10, 0, 0, l, 0}, buffer);
    probe_.Expect({0xBB, 0, 0x01, 0x61, 0x01, 0x61, 0, 0, 0, 0, 0, 0});
  } else {
    probe_.Expect({0x55, 0x10, 0, 0, 0, 0, 0, 0, l, 0}, buffer);
  }
  if (type_ != 4 && type_ != 9) {
    probe_.Expect({0x54, 0x01, 0, 0, 0, 0, 0, 0, 0, 0});
  }
}

void FamilyDriver::Write(const std::uint8_t* data, int count) {
  std::vector<std::uint8_t> sectors(data, data + count * SectorSize);
  const auto n = static_cast<std::uint8_t>(count);
  if (type_ == 1) {
    probe_.Expect({0x0A, 0, 0, 0, n, 0}, sectors);
    return;
  }
  std::uint32_t lba = nextWritable_;
  if (!Tracked()) {
    std::vector<std::uint8_t> info(32, 0);
    probe_.Expect({0x52, 0, 0, 0, 0, 1, 0, 0, 0x1C, 0}, info);
    lba = ReadBE32(&info[12]);
  }
  probe_.Expect({0x2A, 0, Byte(lba, 24), Byte(lba, 16), Byte(lba, 8),
                 Byte(lba, 0), 0, 0, n, 0},
                sectors);
  nextWritable_ = lba + count;
}

void FamilyDriver::Close() {
  const std::vector<std::uint8_t> zeros(8 * SectorSize, 0);
  for (int i = 0; i < 37; ++i) Write(zeros.data(), 8);
  probe_.Expect({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  if (type_ == 1) {
    probe_.Expect({0xE9, 0, 0, 0, 0, 0, 0, 0, 0x09, 0});
  } else {
    probe_.Expect({0x5B, 0, 0x01, 0, 0, 0x01, 0, 0, 0, 0});
    probe_.Expect({0x5B, 0, 0x02, 0, 0, 0x01, 0, 0, 0, 0});
  }
}

std::vector<std::uint8_t> FamilyDriver::Read(std::uint32_t lba, int count) {
  std::vector<std::uint8_t> data(count * SectorSize, 0);
  probe_.Expect({0x28, 0, Byte(lba, 24), Byte(lba, 16), Byte(lba, 8),
                 Byte(lba, 0), 0, 0, static_cast<std::uint8_t>(count), 0},
                data);
  return data;
}

std::vector<std::uint8_t> PatternSectors(int count, std::uint8_t seed) {
  std::vector<std::uint8_t> data(count * SectorSize);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>(seed + i * 7 + i / SectorSize);
  }
  return data;
}
