#include "sim/sim_recorder.h"

#include <algorithm>

#include "core/big_endian.h"

namespace {

// CDB bytes a command of this opcode needs, by its group code.
std::uint8_t CdbLengthOf(std::uint8_t opcode) {
  switch (opcode >> 5) {
    case 0:
      return 6;
    case 4:
      return 16;
    case 5:
      return 12;
    default:  // groups 1 and 2, reserved 3, vendor 6 and 7
      return 10;
  }
}

constexpr std::uint16_t kMinSpeed = 176;   // 1x
constexpr std::uint16_t kMaxSpeed = 7056;  // 40x

std::uint16_t ChosenSpeed(std::uint16_t requested) {
  // 0xFFFF asks for the fastest; like a real drive, round to what it can.
  return std::clamp(requested, kMinSpeed, kMaxSpeed);
}

}  // namespace

SimRecorder::SimRecorder(std::string vendor, std::string product)
    : vendor_(std::move(vendor)),
      product_(std::move(product)),
      model_(FindSimModel(vendor_, product_)),
      writeParams_(model_.writePageLength) {}

SimReply SimRecorder::Execute(const ScsiCommand& command) {
  const std::uint8_t* cdb = command.cdb;
  if (command.cdbLength > sizeof command.cdb ||
      command.cdbLength < CdbLengthOf(cdb[0])) {
    return TransferError();
  }
  const SimBuffer buffer(command.buffer, command.bufferLength);
  switch (cdb[0]) {
    case 0x00:
      return TestUnitReady();
    case 0x12:
      return Inquiry(cdb, buffer);
    case 0x15:
      return ModeSelect(cdb, buffer, false);
    case 0x1A:
      return ModeSense(cdb, buffer, false);
    case 0x1B:
      return StartStopUnit(cdb);
    case 0x28:
      return Read10(cdb, buffer);
    case 0x35:
      return SynchronizeCache();
    case 0x55:
      return ModeSelect(cdb, buffer, true);
    case 0x5A:
      return ModeSense(cdb, buffer, true);
  }
  if (model_.vendorCommands) {
    switch (cdb[0]) {
      case 0x0A:
        return Write6(cdb, buffer);
      case 0xE6:
        return VendorWriteMode(cdb);
      case 0xE9:
        return VendorFixate();
    }
  } else {
    switch (cdb[0]) {
      case 0x2A:
        return Write10(cdb, buffer);
      case 0x51:
        return ReadDiscInformation(cdb, buffer);
      case 0x52:
        return ReadTrackInformation(cdb, buffer);
      case 0x54:
        return SendOpcInformation(cdb, buffer);
      case 0x5B:
        return CloseTrackSession(cdb);
      case 0xBB:
        return SetCdSpeed(cdb);
    }
  }
  return Check(kSenseInvalidOpcode);
}

SimReply SimRecorder::Inquiry(const std::uint8_t* cdb,
                              const SimBuffer& buffer) const {
  if ((cdb[1] & 0x03) != 0 || cdb[2] != 0) {  // no vital product data
    return Check(kSenseInvalidCdbField);
  }
  std::vector<std::uint8_t> data(36, 0);
  data[0] = 0x05;  // CD-ROM device (the peripheral type of a CD recorder)
  data[1] = 0x80;  // removable medium
  data[2] = 0x02;  // SCSI-2
  data[3] = 0x02;  // response data format
  data[4] = static_cast<std::uint8_t>(data.size() - 5);
  std::copy_n(vendor_.begin(), std::min<std::size_t>(8, vendor_.size()),
              data.begin() + 8);
  std::copy_n(product_.begin(), std::min<std::size_t>(16, product_.size()),
              data.begin() + 16);
  const std::string_view revision = "1.00";
  std::copy(revision.begin(), revision.end(), data.begin() + 32);
  return buffer.Give(data, cdb[4]);
}

SimReply SimRecorder::TestUnitReady() const {
  if (!disc_) return Check(kSenseNoMedium);
  return Good();
}

SimReply SimRecorder::StartStopUnit(const std::uint8_t* cdb) {
  const bool loadEject = (cdb[4] & 0x02) != 0;
  const bool start = (cdb[4] & 0x01) != 0;
  if (!loadEject) {
    if (start && !disc_) return Check(kSenseNoMedium);
    return Good();
  }
  if (!start) {
    if (disc_) {
      if (ejectHook_) ejectHook_(disc_->Sectors());
      disc_.reset();
    }
  } else if (!disc_) {
    // Closing the tray brings a fresh blank, so that a demonstration can
    // record one disc after another.
    disc_.emplace();
  }
  return Good();
}

SimReply SimRecorder::SynchronizeCache() const {
  if (!disc_) return Check(kSenseNoMedium);
  return Good();
}

SimReply SimRecorder::SetCdSpeed(const std::uint8_t* cdb) {
  readSpeed_ = ChosenSpeed(ReadBE16(cdb + 2));
  writeSpeed_ = ChosenSpeed(ReadBE16(cdb + 4));
  return Good();
}

SimReply SimRecorder::SendOpcInformation(const std::uint8_t* cdb,
                                         const SimBuffer& buffer) const {
  if (!disc_) return Check(kSenseNoMedium);
  const std::uint16_t length = ReadBE16(cdb + 7);
  if (!buffer.Take(length)) return TransferError();
  return Good(length);
}
