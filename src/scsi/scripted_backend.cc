#include "scsi/scripted_backend.h"

#include <algorithm>

ScriptedBackend::ScriptedBackend(std::uint8_t adapterCount)
    : adapterCount_(adapterCount) {}

ScriptedBackend& ScriptedBackend::On(CommandMatch match, ScriptedAnswer answer,
                                     int times) {
  rules_.push_back(
      {std::move(match), std::move(answer), times > 0 ? times : -1});
  return *this;
}

ScriptedBackend& ScriptedBackend::FailAt(std::size_t index,
                                         std::uint8_t status) {
  return On({.index = index}, {.status = status}, 1);
}

ScriptedBackend& ScriptedBackend::SetDefault(ScriptedAnswer answer) {
  default_ = std::move(answer);
  return *this;
}

ScriptedBackend& ScriptedBackend::SetClaimAnswer(std::string answer) {
  claimAnswer_ = std::move(answer);
  return *this;
}

ScriptedBackend& ScriptedBackend::SetProblems(
    std::vector<std::string> problems) {
  problems_ = std::move(problems);
  return *this;
}

const ScriptedAnswer& ScriptedBackend::AnswerFor(
    const RecordedCommand& command) {
  const std::size_t index = sent_ - 1;
  for (auto it = rules_.rbegin(); it != rules_.rend(); ++it) {
    Rule& rule = *it;
    const CommandMatch& m = rule.match;
    if (rule.usesLeft == 0 || (m.adapter && *m.adapter != command.adapter) ||
        (m.target && *m.target != command.target) ||
        (m.opcode && *m.opcode != command.cdb[0]) ||
        (m.index && *m.index != index)) {
      continue;
    }
    if (rule.usesLeft > 0) --rule.usesLeft;
    return rule.answer;
  }
  return default_;
}

CommandResult ScriptedBackend::Run(std::uint8_t adapter, std::uint8_t target,
                                   ScsiCommand& command) {
  RecordedCommand record;
  record.adapter = adapter;
  record.target = target;
  record.cdb.assign(command.cdb, command.cdb + command.cdbLength);
  record.cdbLength = command.cdbLength;
  record.bufferLength = command.bufferLength;
  record.timeoutMs = command.timeoutMs;
  if (command.buffer != nullptr) {
    record.buffer.assign(command.buffer, command.buffer + command.bufferLength);
  }
  commands_.push_back(std::move(record));
  ++sent_;

  const ScriptedAnswer& answer = AnswerFor(commands_.back());
  if (command.buffer != nullptr) {
    const std::size_t n =
        std::min<std::size_t>(answer.data.size(), command.bufferLength);
    std::copy_n(answer.data.begin(), n, command.buffer);
  }
  std::fill(std::begin(command.sense), std::end(command.sense), 0);
  const std::size_t senseBytes =
      std::min(answer.sense.size(), sizeof command.sense);
  std::copy_n(answer.sense.begin(), senseBytes, command.sense);
  CommandResult result;
  result.status = answer.status;
  result.resid = answer.resid;
  return result;
}

std::string ScriptedBackend::Claim(std::uint8_t adapter, std::uint8_t target) {
  claims_.emplace_back(adapter, target);
  return claimAnswer_;
}

BackendFactory ScriptedFactory(std::shared_ptr<ScriptedBackend> backend) {
  return [backend]() -> std::shared_ptr<Backend> { return backend; };
}

BackendFactory FailingFactory(FailureCode code) {
  return [code]() -> std::shared_ptr<Backend> { throw code; };
}

Bytes InquiryData(std::string_view vendor, std::string_view product) {
  Bytes data(36, 0);
  data[0] = 0x05;  // CD/DVD device
  data[4] = 31;    // additional length
  std::fill(data.begin() + 8, data.begin() + 32, ' ');
  std::copy_n(vendor.begin(), std::min<std::size_t>(vendor.size(), 8),
              data.begin() + 8);
  std::copy_n(product.begin(), std::min<std::size_t>(product.size(), 16),
              data.begin() + 16);
  return data;
}
