#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/failure_code.h"
#include "scsi/backend.h"

// A fake Backend for tests: records every command and answers from a script.
//
//   auto bus = std::make_shared<ScriptedBackend>(2);  // two adapters
//   bus->On({.adapter = 1, .target = 4, .opcode = 0x12},
//           {.data = InquiryData("TEAC", "CD-W540E")});
//   bus->FailAt(3);                 // the fourth command fails with status 4
//   Drive drive(ScriptedFactory(bus));
//   ...
//   EXPECT_EQ(bus->Commands()[0].cdb, (Bytes{0x12, 0, 0, 0, 0x2C, 0}));

using Bytes = std::vector<std::uint8_t>;

// One command as the backend received it.
struct RecordedCommand {
  std::uint8_t adapter = 0;
  std::uint8_t target = 0;
  Bytes cdb;  // the cdbLength bytes sent
  std::uint8_t cdbLength = 0;
  std::uint32_t bufferLength = 0;
  std::uint32_t timeoutMs = 0;
  Bytes buffer;  // the buffer's bytes when handed over: what data-out sends
};

// How one command is answered.
struct ScriptedAnswer {
  std::uint8_t status = kStatusCompleted;
  Bytes data{};   // copied into the buffer, at most bufferLength bytes
  Bytes sense{};  // copied into command.sense, at most 14 bytes
  std::uint32_t resid = 0;
};

// Which commands a rule answers; a field left unset matches any value.
struct CommandMatch {
  std::optional<std::uint8_t> adapter{};
  std::optional<std::uint8_t> target{};
  std::optional<std::uint8_t> opcode{};
  std::optional<std::size_t> index{};  // position among all commands, from 0
};

class ScriptedBackend : public Backend {
 public:
  explicit ScriptedBackend(std::uint8_t adapterCount = 1);

  // Adds a rule; the newest rule that matches and has uses left answers, so
  // a later, narrower rule (FailAt, say) overrides an earlier general one.
  // times: how many commands it answers, 0 for every one.
  ScriptedBackend& On(CommandMatch match, ScriptedAnswer answer, int times = 0);
  // Makes the command at position index (from 0) fail with status.
  ScriptedBackend& FailAt(std::size_t index,
                          std::uint8_t status = kStatusError);
  // The answer to every command no rule takes (at first: completed, no data).
  ScriptedBackend& SetDefault(ScriptedAnswer answer);
  // What Claim returns ("" at first).
  ScriptedBackend& SetClaimAnswer(std::string answer);
  // What Problems returns (empty at first).
  ScriptedBackend& SetProblems(std::vector<std::string> problems);

  // Every command run so far, in order.
  const std::vector<RecordedCommand>& Commands() const { return commands_; }
  // Every Claim so far, as (adapter, target).
  const std::vector<std::pair<std::uint8_t, std::uint8_t>>& Claims() const {
    return claims_;
  }
  // Forgets the commands recorded so far; positions count on from there.
  void ClearCommands() { commands_.clear(); }

  std::uint8_t AdapterCount() override { return adapterCount_; }
  CommandResult Run(std::uint8_t adapter, std::uint8_t target,
                    ScsiCommand& command) override;
  std::string Claim(std::uint8_t adapter, std::uint8_t target) override;
  std::vector<std::string> Problems() const override { return problems_; }

 private:
  struct Rule {
    CommandMatch match;
    ScriptedAnswer answer;
    int usesLeft;  // < 0: unlimited
  };
  const ScriptedAnswer& AnswerFor(const RecordedCommand& command);

  std::uint8_t adapterCount_;
  std::vector<Rule> rules_;
  ScriptedAnswer default_;
  std::string claimAnswer_;
  std::vector<std::string> problems_;
  std::vector<RecordedCommand> commands_;
  std::size_t sent_ = 0;  // commands run, ClearCommands notwithstanding
  std::vector<std::pair<std::uint8_t, std::uint8_t>> claims_;
};

// A factory that hands out `backend` (which the test keeps to inspect).
BackendFactory ScriptedFactory(std::shared_ptr<ScriptedBackend> backend);
// A factory that throws `code`, as a missing or broken platform layer does.
BackendFactory FailingFactory(FailureCode code);
// 36 bytes of INQUIRY data of a CD device: vendor at bytes 8..15 and product
// at 16..31, each cut or blank-padded to its width (embedded zeros kept).
Bytes InquiryData(std::string_view vendor, std::string_view product);
