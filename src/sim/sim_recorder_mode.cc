// MODE SENSE and MODE SELECT of the one page each model keeps: Write
// Parameters (05h) on MMC recorders, the vendor page 31h on the
// vendor-command model.
#include <algorithm>

#include "core/big_endian.h"
#include "sim/sim_recorder.h"

namespace {

constexpr std::uint8_t kVendorPage = 0x31;

bool ValidBlockLength(std::uint32_t length) {
  switch (length) {
    case 2048:
    case 2056:
    case 2324:
    case 2332:
    case 2336:
    case 2340:
    case 2352:
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::uint8_t> SimRecorder::CurrentPage(std::uint8_t pc) const {
  if (model_.vendorCommands) {
    return {vendorPage_.begin(), vendorPage_.end()};
  }
  return writeParams_.Page(pc);
}

SimReply SimRecorder::ModeSense(const std::uint8_t* cdb,
                                const SimBuffer& buffer, bool tenByte) const {
  const std::uint8_t pc = cdb[2] >> 6;
  const std::uint8_t code = cdb[2] & 0x3F;
  const std::uint8_t kept =
      model_.vendorCommands ? kVendorPage : SimWriteParams::kPageCode;
  if (code != kept || cdb[3] != 0) return Check(kSenseInvalidCdbField);

  // Block descriptors only in the 6-byte form, as MMC recorders answer.
  const bool descriptor = !tenByte && (cdb[1] & 0x08) == 0;
  const std::size_t header = tenByte ? 8 : 4;
  std::vector<std::uint8_t> data(header + (descriptor ? 8 : 0), 0);
  if (descriptor) {
    data[3] = 8;
    // Block length is the low three bytes; the byte above it is reserved.
    WriteBE32(&data[header + 4], blockLength_);
  }
  const std::vector<std::uint8_t> page = CurrentPage(pc);
  data.insert(data.end(), page.begin(), page.end());
  if (tenByte) {
    WriteBE16(&data[0], static_cast<std::uint16_t>(data.size() - 2));
    return buffer.Give(data, ReadBE16(cdb + 7));
  }
  data[0] = static_cast<std::uint8_t>(data.size() - 1);
  return buffer.Give(data, cdb[4]);
}

SimReply SimRecorder::ModeSelect(const std::uint8_t* cdb,
                                 const SimBuffer& buffer, bool tenByte) {
  if ((cdb[1] & 0x10) == 0) return Check(kSenseInvalidCdbField);  // PF
  const std::uint16_t length = tenByte ? ReadBE16(cdb + 7) : cdb[4];
  if (length == 0) return Good();
  const auto sent = buffer.Take(length);
  if (!sent) return TransferError();
  const std::span<const std::uint8_t> list = *sent;

  const std::size_t header = tenByte ? 8 : 4;
  if (length < header) return Check(kSenseParameterListLength);
  const std::uint16_t dataLength = tenByte ? ReadBE16(&list[0]) : list[0];
  const std::size_t descriptors = tenByte ? ReadBE16(&list[6]) : list[3];
  if (header + descriptors > length) return Check(kSenseParameterListLength);
  // The mode data length is reserved when sent.
  if (dataLength != 0 || (descriptors != 0 && descriptors != 8)) {
    return Check(kSenseInvalidParameterField);
  }
  std::optional<std::uint32_t> blockLength;
  if (descriptors == 8) {
    blockLength = ReadBE32(&list[header + 4]) & 0xFFFFFF;
    if (!ValidBlockLength(*blockLength)) {
      return Check(kSenseInvalidParameterField);
    }
  }

  const std::span<const std::uint8_t> page = list.subspan(header + descriptors);
  if (!page.empty()) {
    const std::uint8_t code = page[0] & 0x3F;
    std::size_t expected = 0;
    if (model_.vendorCommands && code == kVendorPage) {
      expected = vendorPage_.size();
    } else if (!model_.vendorCommands && code == SimWriteParams::kPageCode) {
      expected = writeParams_.Size();
    } else {
      return Check(kSenseInvalidParameterField);
    }
    if (page.size() != expected) return Check(kSenseParameterListLength);
    if (model_.vendorCommands) {
      if (page[0] != kVendorPage || page[1] != vendorPage_[1]) {
        return Check(kSenseInvalidParameterField);
      }
      std::copy(page.begin() + 2, page.end(), vendorPage_.begin() + 2);
      vendorPageSet_ = true;
    } else {
      if (const auto refusal = writeParams_.Check(page)) return Check(*refusal);
      writeParams_.Set(page);
    }
  }
  if (blockLength) blockLength_ = *blockLength;
  return Good(length);
}
