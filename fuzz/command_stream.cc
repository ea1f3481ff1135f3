#include "command_stream.h"

#include <algorithm>

#include "core/big_endian.h"
#include "scsi/scsi_command.h"

namespace {

constexpr std::size_t kMaxListed = 3;  // failures and corrupt LBAs

class Reader {
 public:
  Reader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  bool Has(std::size_t n) const { return size_ - at_ >= n; }
  // The next n bytes; Has(n) first.
  const std::uint8_t* Take(std::size_t n) {
    const std::uint8_t* p = bytes_ + at_;
    at_ += n;
    return p;
  }
  std::uint8_t Byte() { return Has(1) ? *Take(1) : 0; }

 private:
  const std::uint8_t* bytes_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void PutBE16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  std::uint8_t bytes[2];
  WriteBE16(bytes, value);
  out.insert(out.end(), bytes, bytes + 2);
}

void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t bytes[4];
  WriteBE32(bytes, value);
  out.insert(out.end(), bytes, bytes + 4);
}

}  // namespace

CommandStream DecodeCommandStream(const std::uint8_t* bytes, std::size_t size) {
  CommandStream stream;
  Reader in(bytes, size);
  stream.options.noDiscTests = in.Byte() % (kMaxListed + 1);
  for (int n = in.Byte() % (kMaxListed + 1); n > 0 && in.Has(3); --n) {
    SimFailure failure;
    failure.opcode = in.Byte();
    failure.occurrence = in.Byte();
    // Status 1 would be a "failure" that reports success; the options
    // refuse it, so it stands for the default failure status here.
    failure.status = in.Byte();
    if (failure.status == kStatusCompleted) failure.status = kStatusError;
    stream.options.failures.push_back(failure);
  }
  for (int n = in.Byte() % (kMaxListed + 1); n > 0 && in.Has(4); --n) {
    stream.options.corruptLbas.push_back(ReadBE32(in.Take(4)));
  }
  while (in.Has(2)) {
    StreamCommand command;
    const std::uint8_t address = in.Byte();
    command.adapter = (address >> 3) & 7;
    command.target = address & 7;
    command.cdbLength = in.Byte();
    const std::size_t cdbBytes = std::min<std::size_t>(command.cdbLength, sizeof command.cdb);
    if (!in.Has(cdbBytes + 6)) break;
    std::copy_n(in.Take(cdbBytes), cdbBytes, command.cdb);
    command.bufferLength = ReadBE32(in.Take(4)) % (kMaxBufferLength + 1);
    std::size_t given = std::min<std::size_t>(ReadBE16(in.Take(2)), command.bufferLength);
    if (!in.Has(given)) break;
    const std::uint8_t* data = in.Take(given);
    command.data.assign(data, data + given);
    stream.commands.push_back(std::move(command));
  }
  return stream;
}

std::vector<std::uint8_t> EncodeCommandStream(const CommandStream& stream) {
  std::vector<std::uint8_t> out;
  const SimOptions& options = stream.options;
  out.push_back(static_cast<std::uint8_t>(std::min<std::uint32_t>(options.noDiscTests, 3)));
  const std::size_t failures = std::min(options.failures.size(), kMaxListed);
  out.push_back(static_cast<std::uint8_t>(failures));
  for (std::size_t i = 0; i < failures; ++i) {
    const SimFailure& failure = options.failures[i];
    out.push_back(failure.opcode);
    out.push_back(static_cast<std::uint8_t>(failure.occurrence));
    out.push_back(failure.status);
  }
  const std::size_t corrupt = std::min(options.corruptLbas.size(), kMaxListed);
  out.push_back(static_cast<std::uint8_t>(corrupt));
  for (std::size_t i = 0; i < corrupt; ++i) PutBE32(out, options.corruptLbas[i]);
  for (const StreamCommand& command : stream.commands) {
    out.push_back(static_cast<std::uint8_t>((command.adapter & 7) << 3 | (command.target & 7)));
    out.push_back(command.cdbLength);
    out.insert(out.end(), command.cdb,
               command.cdb + std::min<std::size_t>(command.cdbLength, sizeof command.cdb));
    PutBE32(out, std::min(command.bufferLength, kMaxBufferLength));
    const std::size_t given = std::min<std::size_t>(
        {command.data.size(), command.bufferLength, kMaxBufferLength, 0xFFFF});
    PutBE16(out, static_cast<std::uint16_t>(given));
    out.insert(out.end(), command.data.begin(), command.data.begin() + given);
  }
  return out;
}
