#pragma once
// Raw-command helpers shared by the simulator's tests: a probe that sends
// CDBs to one address, and the recording sequences of each recorder family
// written out byte for byte.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/sector.h"
#include "sim/sim_bus.h"

// Sends commands to one address of a bus and keeps what came back.
class BusProbe {
 public:
  BusProbe(SimBus& bus, std::uint8_t adapter, std::uint8_t target)
      : bus_(bus), adapter_(adapter), target_(target) {}

  // Sends cdb with `data` as the buffer (bufferLength = data.size()).
  CommandResult Send(std::initializer_list<std::uint8_t> cdb,
                     std::vector<std::uint8_t>& data);
  // Sends cdb without data.
  CommandResult Send(std::initializer_list<std::uint8_t> cdb);
  // Sends cdb with `data` and expects status 1.
  void Expect(std::initializer_list<std::uint8_t> cdb,
              std::vector<std::uint8_t>& data);
  // Sends cdb without data and expects status 1.
  void Expect(std::initializer_list<std::uint8_t> cdb);
  // Sense key, ASC and ASCQ of the last command.
  SimSense LastSense() const;
  // The 14 sense bytes of the last command.
  const std::uint8_t* LastSenseBytes() const { return command_.sense; }

 private:
  SimBus& bus_;
  std::uint8_t adapter_;
  std::uint8_t target_;
  ScsiCommand command_;
};

// The recording steps of one RecorderType (1..9), sent through a probe.
class FamilyDriver {
 public:
  FamilyDriver(BusProbe& probe, int recorderType)
      : probe_(probe), type_(recorderType) {}

  // Set-up: vendor path, or mode pages, disc and track information, speed
  // and calibration as the type needs.
  void Prepare();
  // Writes count (1..8) sectors from data at the type's write address.
  void Write(const std::uint8_t* data, int count);
  // 296 zero sectors, then the type's closing commands.
  void Close();
  // Reads count sectors from lba.
  std::vector<std::uint8_t> Read(std::uint32_t lba, int count);

 private:
  bool SixByteMode() const { return type_ >= 2 && type_ <= 5; }
  bool Tracked() const { return type_ == 3 || type_ == 4 || type_ == 7 || type_ == 9; }
  std::uint8_t ModeLength() const;

  BusProbe& probe_;
  int type_;
  std::uint32_t nextWritable_ = 0;
};

// count sectors whose every byte differs from sector to sector.
std::vector<std::uint8_t> PatternSectors(int count, std::uint8_t seed);
