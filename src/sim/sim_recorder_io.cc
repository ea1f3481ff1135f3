// Writing, reading and closing the disc: the MMC commands and the vendor
// commands of the vendor-command model.
#include "core/big_endian.h"
#include "sim/sim_recorder.h"

SimReply SimRecorder::Record(std::uint32_t lba, std::uint32_t count,
                             const SimBuffer& buffer, bool testWrite) {
  if (const auto refusal = disc_->CheckWrite(lba, count)) {
    return Check(*refusal);
  }
  const auto data = buffer.Take(std::size_t{count} * SectorSize);
  if (!data) return TransferError();
  if (!testWrite) disc_->Append(*data);
  return Good(static_cast<std::uint32_t>(data->size()));
}

SimReply SimRecorder::Write10(const std::uint8_t* cdb,
                              const SimBuffer& buffer) {
  if (!disc_) return Check(kSenseNoMedium);
  if (!writeParams_.TrackAtOnceData() || blockLength_ != SectorSize) {
    return Check(kSenseSequenceError);
  }
  return Record(ReadBE32(cdb + 2), ReadBE16(cdb + 7), buffer,
                writeParams_.TestWrite());
}

SimReply SimRecorder::Read10(const std::uint8_t* cdb,
                             const SimBuffer& buffer) const {
  if (!disc_) return Check(kSenseNoMedium);
  const std::uint32_t lba = ReadBE32(cdb + 2);
  const std::uint16_t count = ReadBE16(cdb + 7);
  const auto room = buffer.Room(std::size_t{count} * SectorSize);
  if (!room) return TransferError();
  if (const auto refusal = disc_->Read(lba, count, *room)) {
    return Check(*refusal);
  }
  return Good(static_cast<std::uint32_t>(room->size()));
}

SimReply SimRecorder::ReadTrackInformation(const std::uint8_t* cdb,
                                           const SimBuffer& buffer) const {
  if (!disc_) return Check(kSenseNoMedium);
  if (const auto refusal = disc_->FindTrack(cdb[1] & 0x03, ReadBE32(cdb + 2))) {
    return Check(*refusal);
  }
  return buffer.Give(disc_->TrackInformation(), ReadBE16(cdb + 7));
}

SimReply SimRecorder::ReadDiscInformation(const std::uint8_t* cdb,
                                          const SimBuffer& buffer) const {
  if (!disc_) return Check(kSenseNoMedium);
  if ((cdb[1] & 0x07) != 0) return Check(kSenseInvalidCdbField);  // data type
  return buffer.Give(disc_->DiscInformation(), ReadBE16(cdb + 7));
}

SimReply SimRecorder::CloseTrackSession(const std::uint8_t* cdb) {
  if (!disc_) return Check(kSenseNoMedium);
  std::optional<SimSense> refusal;
  switch (cdb[2] & 0x07) {
    case 1:
      refusal = disc_->CloseTrack(ReadBE16(cdb + 4));
      break;
    case 2:
      refusal = disc_->CloseSession(writeParams_.FinalizeOnClose());
      break;
    default:
      refusal = kSenseInvalidCdbField;
  }
  if (refusal) return Check(*refusal);
  return Good();
}

SimReply SimRecorder::VendorWriteMode(const std::uint8_t* cdb) {
  if (!vendorPageSet_) return Check(kSenseSequenceError);
  if (cdb[6] != 0x01) return Check(kSenseInvalidCdbField);  // data mode only
  vendorWriteMode_ = true;
  return Good();
}

SimReply SimRecorder::Write6(const std::uint8_t* cdb, const SimBuffer& buffer) {
  if (!disc_) return Check(kSenseNoMedium);
  if (!vendorPageSet_ || !vendorWriteMode_ || blockLength_ != SectorSize) {
    return Check(kSenseSequenceError);
  }
  // In its write mode the model appends at the next writable address and
  // takes only 0 in the address field.
  if ((ReadBE32(cdb) & 0x1FFFFF) != 0) return Check(kSenseInvalidCdbField);
  const std::uint32_t count = cdb[4] == 0 ? 256 : cdb[4];
  const auto next = static_cast<std::uint32_t>(disc_->Sectors().size());
  return Record(next, count, buffer, false);
}

SimReply SimRecorder::VendorFixate() {
  if (!disc_) return Check(kSenseNoMedium);
  // Fixation closes the track and the session in one step.
  if (const auto refusal = disc_->CloseTrack(1)) return Check(*refusal);
  if (const auto refusal = disc_->CloseSession(true)) return Check(*refusal);
  return Good();
}
