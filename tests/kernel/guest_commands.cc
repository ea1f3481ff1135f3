#include "guest_commands.h"

#include <algorithm>
#include <cstdio>

#include "core/big_endian.h"

Reply Send(SCSI& scsi, std::uint8_t target,
           const std::vector<std::uint8_t>& cdb, std::uint32_t length,
           const std::vector<std::uint8_t>& out, std::uint32_t timeoutMs) {
  ScsiCommand command;
  std::copy(cdb.begin(), cdb.end(), command.cdb);
  command.cdbLength = static_cast<std::uint8_t>(cdb.size());
  command.timeoutMs = timeoutMs;
  Reply reply;
  reply.data = out;
  reply.data.resize(length);
  command.buffer = length == 0 ? nullptr : reply.data.data();
  command.bufferLength = length;
  scsi.adapterId = 0;
  scsi.targetId = target;
  reply.status = scsi.Execute(command);
  const CommandResult& result = scsi.LastResult();
  reply.sense = {result.senseKey, result.asc, result.ascq};
  return reply;
}

namespace {

std::vector<std::uint8_t> Transfer10(std::uint8_t opcode, std::uint32_t lba,
                                     std::uint16_t count) {
  std::vector<std::uint8_t> cdb(10);
  cdb[0] = opcode;
  WriteBE32(&cdb[2], lba);
  WriteBE16(&cdb[7], count);
  return cdb;
}

}  // namespace

std::vector<std::uint8_t> Read10(std::uint32_t lba, std::uint16_t count) {
  return Transfer10(0x28, lba, count);
}

std::vector<std::uint8_t> Write10(std::uint32_t lba, std::uint16_t count) {
  return Transfer10(0x2A, lba, count);
}

std::string SenseText(const SenseCodes& sense) {
  char text[16];
  std::snprintf(text, sizeof text, "%X/%02X/%02X", sense.key, sense.asc,
                sense.ascq);
  return text;
}

std::string Describe(const Reply& reply) {
  return "status " + std::to_string(reply.status) + ", sense " +
         SenseText(reply.sense);
}
